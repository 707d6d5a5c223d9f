#include "mainwnd/CDeletedNotesDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "framework/WideText.h"
#include "res/resource.h"
#include "schedule/PickerTime.h"

namespace {

// The note's text on one line, as the note list shows it.
std::wstring OneLine(const std::u16string& text)
{
    std::wstring line(text.begin(), text.end());
    std::replace_if(line.begin(), line.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
    return line;
}

// The date and time of a delete in the user's own format.
std::wstring DeletedWhen(NoteTime when)
{
    SYSTEMTIME st{};
    if (!LocalReadingOf(when, st))
        return L"";
    wchar_t date[64] = {}, time[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 64);
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, time, 64);
    return std::wstring(date) + L" " + time;
}

}  // namespace

CDeletedNotesDlg::CDeletedNotesDlg(const CDeletedNotesBin& bin) : CDialogBase(IDD_DELETED_NOTES), m_bin(bin) {}

BOOL CDeletedNotesDlg::OnInitDialog()
{
    HWND list = GetItem(IDC_DELETED_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    RECT client{};
    GetClientRect(list, &client);
    const int dateWidth = 120;
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(L"Deleted");
    column.cx = dateWidth;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    column.pszText = const_cast<wchar_t*>(L"Text");
    column.cx = client.right - dateWidth - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));

    // Newest first; a row's item data is its index in the bin.
    const auto& entries = m_bin.Entries();
    for (size_t i = entries.size(); i-- > 0;) {
        std::wstring when = DeletedWhen(entries[i].deletedAt);
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
