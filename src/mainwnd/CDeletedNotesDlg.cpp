#include "mainwnd/CDeletedNotesDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "framework/UserDateTime.h"
#include "res/resource.h"

namespace {

// The note's text on one line, as the note list shows it.
std::wstring OneLine(const std::u16string& text)
{
    std::wstring line(text.begin(), text.end());
    std::replace_if(line.begin(), line.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
    return line;
}

}  // namespace

CDeletedNotesDlg::CDeletedNotesDlg(const CDeletedNotesBin& bin) : CDialogBase(IDD_DELETED_NOTES), m_bin(bin) {}

BOOL CDeletedNotesDlg::OnInitDialog()
{
    HWND list = GetItem(IDC_DELETED_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(L"Deleted");
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    column.pszText = const_cast<wchar_t*>(L"Text");
    SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));

    // Newest first; a row's item data is its index in the bin.
    const auto& entries = m_bin.Entries();
    for (size_t i = entries.size(); i-- > 0;) {
        std::wstring when = UserDateTimeText(entries[i].deletedAt);
        std::wstring text = OneLine(entries[i].note->m_strText);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(entries.size() - 1 - i);
        item.pszText = when.data();
        item.lParam = static_cast<LPARAM>(i);
        const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        item.iItem = row;
        item.mask = LVIF_TEXT;
        item.iSubItem = 1;
        item.pszText = text.data();
        SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    }
    // The dates are as wide as the user's format and the display's scale
    // make them; the last column, the text, takes the rest of the list.
    ListView_SetColumnWidth(list, 0, LVSCW_AUTOSIZE_USEHEADER);
    ListView_SetColumnWidth(list, 1, LVSCW_AUTOSIZE_USEHEADER);
    if (!entries.empty())
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnableWindow(GetItem(IDOK), !entries.empty());
    SetFocus(list);
    return FALSE;  // the focus is set
}

void CDeletedNotesDlg::OnOK()
{
    HWND list = GetItem(IDC_DELETED_LIST);
    m_chosen.clear();
    for (int row = -1; (row = ListView_GetNextItem(list, row, LVNI_SELECTED)) >= 0;) {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        m_chosen.push_back(static_cast<size_t>(item.lParam));
    }
    std::sort(m_chosen.rbegin(), m_chosen.rend());
    CDialogBase::OnOK();
}
