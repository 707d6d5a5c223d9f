#include "schedule/CComingUpDlg.h"

#include "core/LocalTime.h"
#include "framework/UserDateTime.h"
#include "res/resource.h"
#include "schedule/ComingUp.h"
#include "schedule/ReminderText.h"

namespace {

// Wide enough for the first line of a note to tell it from the others.
constexpr size_t kLineChars = 80;

std::wstring Wide(const std::u16string& text)
{
    return std::wstring(text.begin(), text.end());
}

// "Wed 12 Jun" and the user's short time, from the user's own settings.
std::wstring DayOrTimeText(NoteTime at, bool day)
{
    LocalDateTime local;
    if (!ToLocal(at, local))
        return {};
    const SYSTEMTIME st = SystemTimeOf(local);
    wchar_t text[64] = {};
    if (day)
        GetDateFormatW(LOCALE_USER_DEFAULT, 0, &st, L"ddd d MMM", text, 64);
    else
        GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, text, 64);
    return text;
}

}  // namespace

CComingUpDlg::CComingUpDlg(const CNoteList& notes, NoteTime now)
    : CDialogBase(IDD_COMING_UP), m_notes(notes), m_now(now)
{
}

std::wstring CComingUpDlg::CellText(size_t row, Column column) const
{
    if (row >= m_rows.size())
        return {};
    const Row& r = m_rows[row];
    switch (column) {
    case kDayColumn: return DayOrTimeText(r.at, true);
    case kTimeColumn: return DayOrTimeText(r.at, false);
    case kNoteColumn: return Wide(r.line);
    case kRepeatColumn: return Wide(r.repeat);
    }
    return {};
}

BOOL CComingUpDlg::OnInitDialog()
{
    // The texts are taken now: the note list may change under the open
    // dialog (the housekeeping pass goes on), the rows may not.
    const std::vector<ComingUpRow> rows = ComingUpRows(m_notes, m_now);
    m_rows.reserve(rows.size());
    for (const ComingUpRow& row : rows) {
        const CNote& note = *m_notes.GetAt(row.pos);
        m_rows.push_back({row.at, note.m_identity.id, FirstLineOf(note, kLineChars),
                          row.snoozed ? u"Snoozed" : RepeatTextOf(note)});
    }
    HWND list = GetItem(IDC_COMING_UP_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    static const wchar_t* const kHeads[] = {L"Day", L"Time", L"Note", L"Repeats"};
    static const int kWidths[] = {55, 40, 160, 55};  // dialog units, as the list's own width
    RECT unit{0, 0, 4, 8};
    MapDialogRect(m_hWnd, &unit);  // unit.right: the pixels of 4 dialog units
    for (int i = 0; i < 4; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(kHeads[i]);
        column.cx = MulDiv(kWidths[i], unit.right, 4);
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    ListView_SetItemCountEx(list, m_rows.size(), LVSICF_NOINVALIDATEALL);
    const bool any = !m_rows.empty();
    if (any)
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ShowWindow(GetItem(IDC_COMING_UP_EMPTY), any ? SW_HIDE : SW_SHOW);
    EnableWindow(GetItem(IDOK), any);
    SetFocus(list);
    return FALSE;  // the focus is set
}

void CComingUpDlg::OnGetDispInfo(NMLVDISPINFOW& info)
{
    if (!(info.item.mask & LVIF_TEXT) || info.item.iItem < 0)
        return;
    m_cell = CellText(static_cast<size_t>(info.item.iItem), static_cast<Column>(info.item.iSubItem));
    // The list copies the text before it asks again.
    lstrcpynW(info.item.pszText, m_cell.c_str(), info.item.cchTextMax);
}

void CComingUpDlg::OnOK()
{
    const int row = ListView_GetNextItem(GetItem(IDC_COMING_UP_LIST), -1, LVNI_SELECTED);
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return;
    m_chosen = m_rows[static_cast<size_t>(row)].id;
    CDialogBase::OnOK();
}

INT_PTR CComingUpDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY && wParam == IDC_COMING_UP_LIST) {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.code == LVN_GETDISPINFOW) {
            OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
            return TRUE;
        }
        if (header.code == NM_DBLCLK && reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem >= 0) {
            OnOK();
            return TRUE;
        }
    }
    return CDialogBase::HandleMessage(msg, wParam, lParam);
}

NoteId ChooseComingUpNote(HWND owner, const CNoteList& notes, NoteTime now)
{
    CComingUpDlg dlg(notes, now);
    return dlg.DoModal(owner) == IDOK ? dlg.m_chosen : NoteId{};
}
