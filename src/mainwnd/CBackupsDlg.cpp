#include "mainwnd/CBackupsDlg.h"

#include <commctrl.h>

#include <string>

#include "core/LocalTime.h"
#include "core/UnicodeText.h"
#include "framework/UserDateTime.h"
#include "notes/CNoteList.h"
#include "res/resource.h"

namespace {

constexpr const char* kCaption = "Velumo";

int Ask(HWND owner, const std::string& text, UINT flags)
{
    // Paths and dates are UTF-8: the wide call shows any folder name.
    return MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(kCaption).c_str(), flags);
}

std::string NotesCountText(int count)
{
    if (count < 0)
        return "cannot be read";
    return std::to_string(count) + (count == 1 ? " note" : " notes");
}

// When the backup was kept. The day is the name's, which only the program
// writes; the file's time adds the time of day unless it names another day
// (a copy that did not keep the files' times).
std::string KeptOnText(const BackupEntry& entry)
{
    const BackupName& name = entry.name;
    LocalDateTime local;
    if (entry.keptAt && ToLocal(*entry.keptAt, local) && local.year == name.year && local.month == name.month &&
        local.day == name.day)
        return Utf8FromWide(UserDateTimeText(*entry.keptAt));
    return Utf8FromWide(UserDateText(name.year, name.month, name.day));
}

const char* KindText(const BackupName& name)
{
    return name.IsDaily() ? "Daily" : "Before a restore";
}

void SetCell(HWND list, int row, int column, const std::string& text)
{
    std::wstring wide = WideFromUtf8(text);
    LVITEMW cell{};
    cell.mask = LVIF_TEXT;
    cell.iItem = row;
    cell.iSubItem = column;
    cell.pszText = wide.data();
    if (column == 0)
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&cell));
    else
        SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&cell));
}

}  // namespace

CBackupsDlg::CBackupsDlg() : CDialogBase(IDD_BACKUPS) {}

BOOL CBackupsDlg::OnInitDialog()
{
    m_list = GetItem(IDC_BACKUP_LIST);
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const wchar_t* titles[] = {L"Kept on", L"Backup", L"Notes"};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<wchar_t*>(titles[i]);
        SendMessageW(m_list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    for (size_t row = 0; row < m_entries.size(); ++row) {
        SetCell(m_list, static_cast<int>(row), 0, KeptOnText(m_entries[row]));
        SetCell(m_list, static_cast<int>(row), 1, KindText(m_entries[row].name));
        SetCell(m_list, static_cast<int>(row), 2, NotesCountText(m_entries[row].noteCount));
    }
    // As wide as the user's date format and the display's scale make the
    // texts; the last column takes the rest of the list.
    for (int i = 0; i < 3; ++i)
        ListView_SetColumnWidth(m_list, i, LVSCW_AUTOSIZE_USEHEADER);
    // The newest backup: the one most often wanted after a slip today.
    if (!m_entries.empty()) {
        ListView_SetItemState(m_list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    EnableRestore();
    SetFocus(m_list);
    return FALSE;  // the focus is set
}

int CBackupsDlg::SelectedRow() const
{
    return static_cast<int>(SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CBackupsDlg::EnableRestore()
{
    const int row = SelectedRow();
    const bool readable = row >= 0 && row < static_cast<int>(m_entries.size()) && m_entries[row].noteCount >= 0;
    EnableWindow(GetItem(IDOK), readable);
}

void CBackupsDlg::OnOK()
{
    const int row = SelectedRow();
    // Enter reaches here even while Restore is greyed.
    if (row < 0 || row >= static_cast<int>(m_entries.size()) || m_entries[row].noteCount < 0)
        return;
    m_nChosen = row;
    CDialogBase::OnOK();
}

INT_PTR CBackupsDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom == IDC_BACKUP_LIST && header.code == LVN_ITEMCHANGED) {
            EnableRestore();
            return TRUE;
        }
        if (header.idFrom == IDC_BACKUP_LIST && header.code == NM_DBLCLK) {
            OnOK();
            return TRUE;
        }
    }
    return CDialogBase::HandleMessage(msg, wParam, lParam);
}

bool RestoreFromBackup(HWND owner, CNoteList& notes)
{
    CBackupsDlg dialog;
    return RestoreFromBackup(owner, notes, dialog);
}

bool RestoreFromBackup(HWND owner, CNoteList& notes, CBackupsDlg& dialog)
{
    // Every backup is read through to count its notes: a moment with large files.
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    dialog.m_entries = ListBackups(notes.FileStore(), notes.m_strPath);
    SetCursor(previous);
    if (dialog.m_entries.empty()) {
        Ask(owner,
            "There are no backups yet. Velumo keeps one with the first save of each day, in\r\n" +
                BackupFolderOf(notes.m_strPath),
            MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (dialog.DoModal(owner) != IDOK || dialog.m_nChosen < 0)
        return false;
    const BackupEntry& chosen = dialog.m_entries[dialog.m_nChosen];
    if (Ask(owner,
            "Bring back the notes of " + KeptOnText(chosen) + " (" + NotesCountText(chosen.noteCount) +
                ")?\r\n\r\nYour notes as they are now are kept as a backup first.",
            MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    switch (RestoreBackup(notes, chosen.path, notes.Now())) {
    case RestoreResult::kRestored:
        return true;
    case RestoreResult::kCurrentNotKept:
        Ask(owner,
            "Your notes as they are now could not be kept as a backup in\r\n" + BackupFolderOf(notes.m_strPath) +
                "\r\n\r\nso nothing was brought back. The folder may be read-only or the disk full.",
            MB_OK | MB_ICONEXCLAMATION);
        return false;
    case RestoreResult::kBackupUnreadable:
        Ask(owner,
            "The backup of " + KeptOnText(chosen) +
                " could not be read, so nothing was brought back. Your notes are as they were.",
            MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return false;
}
