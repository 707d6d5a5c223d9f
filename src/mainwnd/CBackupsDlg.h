#pragma once
// "Restore from a backup": lists the backups of the notes file (the daily
// ones and the copies kept before a restore) with when each was kept and its
// note count, and brings back the one the user chooses.
#include <vector>

#include "framework/CDialogBase.h"
#include "notes/NotesBackups.h"

class CNoteList;

class CBackupsDlg : public CDialogBase {
public:
    CBackupsDlg();
    // Newest first; filled by the caller before the run.
    std::vector<BackupEntry> m_entries;
    // The chosen row of m_entries after IDOK.
    int m_nChosen = -1;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int SelectedRow() const;
    // Restore works only on a backup that could be read.
    void EnableRestore();

    HWND m_list = nullptr;
};

// The list's "Restore from a backup..." command: shows the backups, asks,
// keeps the notes as they are now as one more backup and loads the chosen
// one into notes, which then saves it to the notes file. True when notes now
// holds the backup's notes: the caller refills its list and makes the note
// windows again (the old notes and their windows are gone). False when
// nothing changed in notes (no backups, cancelled, or refused with a
// message saying why).
bool RestoreFromBackup(HWND owner, CNoteList& notes);
// The same with a dialog of the caller's (tests drive it).
bool RestoreFromBackup(HWND owner, CNoteList& notes, CBackupsDlg& dialog);
