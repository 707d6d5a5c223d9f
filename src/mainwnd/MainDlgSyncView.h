#pragma once
// How the main window's rows and note windows follow a merge with the notes
// file another computer changed.
#include <windows.h>

#include <vector>

#include "notes/NotesSync.h"

class CMainDlg;
class SyncNotices;

class MainDlgSyncView final : public INotesSyncView {
public:
    MainDlgSyncView(CMainDlg& dlg, CNoteList& notes) : m_dlg(dlg), m_notes(notes) {}

    // The note's text box has the keyboard focus.
    bool IsBeingTypedIn(const CNote& note) override;
    // Closed when the note is no longer visible; otherwise redrawn, and put
    // where the note now is, on top or not. The focus stays where it is, and
    // in the note being typed in the caret keeps its place in the text.
    void NoteTookNewForm(CNote& note) override;
    void NotesRearranged() override;
    // The work area of the monitor nearest to the rectangle.
    NoteRect WorkAreaAt(const NoteRect& rect) override;
    // The versions come to the front, not activated; the user is told at
    // the end of the pass (TellDue).
    void BothVersionsKept(const std::vector<CNote*>& versions) override;

    // At the end of a housekeeping pass, once the passes run on: says once
    // that notes were changed on two computers and both versions are shown,
    // in a balloon over the tray icon (a click brings the versions to the
    // front), or, where there is no icon to show one, in the message the
    // notices show next. True when a balloon was shown: another would
    // replace it (and its click).
    bool TellDue(SyncNotices& notices);

private:
    // The versions kept since the last notice come to the front, the first
    // with the caret; those deleted since are passed by.
    void BringVersionsUp(const std::vector<NoteId>& versions);

    CMainDlg& m_dlg;
    CNoteList& m_notes;
    std::vector<NoteId> m_versionsToTell;  // by id: a note may go before the notice is clicked
};
