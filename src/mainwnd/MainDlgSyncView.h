#pragma once
// How the main window's rows and note windows follow a merge with the notes
// file another computer changed.
#include "notes/NotesSync.h"

class CMainDlg;

class MainDlgSyncView final : public INotesSyncView {
public:
    explicit MainDlgSyncView(CMainDlg& dlg) : m_dlg(dlg) {}

    // The note's text box has the keyboard focus.
    bool IsBeingTypedIn(const CNote& note) override;
    // Closed when the note is no longer visible; otherwise redrawn, and put
    // where the note now is, on top or not.
    void NoteTookNewForm(CNote& note) override;
    void NotesRearranged() override;

private:
    CMainDlg& m_dlg;
};
