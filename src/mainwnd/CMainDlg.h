#pragma once
// The program's one top-level window: a skinned dialog around the note list
// and its find box. It receives every command (one table), decides what the
// user's commands and clicks do to the notes and their windows, and keeps the
// housekeeping timer that merges, saves and runs the scheduler.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "notes/CNoteList.h"
#include "notes/NotesSync.h"
#include "notes/NoteStyle.h"
#include "mainwnd/DeletedNotes.h"
#include "mainwnd/FindBar.h"
#include "mainwnd/MainDlgReminders.h"
#include "mainwnd/MainDlgSyncView.h"
#include "mainwnd/MainWindowNoteHost.h"
#include "mainwnd/MainWndModel.h"
#include "mainwnd/NewNoteStyleSetting.h"
#include "mainwnd/NoteListView.h"
#include "mainwnd/SaveFailureMessages.h"
#include "mainwnd/SyncNotices.h"
#include "notes/ConflictCopies.h"
#include "schedule/CScheduler.h"
#include "settings/CGlobalHotkeys.h"
#include "skin/CSkinDialog.h"
#include "tray/CSystemTray.h"

class CMainDlg : public CSkinDialog {
public:
    // The first housekeeping pass waits for the start-up to settle.
    static constexpr UINT_PTR kFirstTickDelayTimer = 1;
    static constexpr UINT_PTR kTickTimer = 2;
    // Once the main window is on screen: the skin buttons' other faces, the
    // window's icons, the global shortcuts, the tray icon, and the windows of
    // the notes stored as visible.
    static constexpr UINT_PTR kMainWindowShownTimer = 3;
    // An exit waiting for the dialogs still open to end.
    static constexpr UINT_PTR kExitTimer = 4;

    // screenColorCount: what the screen reports as NUMCOLORS (see
    // ScreenColorCount); the paper colour of new notes depends on it.
    explicit CMainDlg(CNoteList& notes, int screenColorCount = ScreenColorCount());
    ~CMainDlg() override;

    static int ScreenColorCount();

    // Rows for every note (while finding, every note found), anew.
    void FillNoteList() { m_view.Fill(); }
    LRESULT OnNoteChanged(WPARAM wParam, LPARAM lParam);

    // Commands
    void AddNote() { AddNoteAt(nullptr); }
    // place: where the note goes; null for a place of its own.
    void AddNoteAt(const NoteRect* place);
    void DeleteSelectedNotes();
    // Ctrl+Z: the notes of the last delete come back, with their text,
    // look, place, schedule and list position, on the desktop if they were.
    void UndoDelete();
    bool CanUndoDelete() const { return m_deleted.CanUndo(); }
    // "Deleted notes...": brings back the notes chosen from the bin.
    void ShowDeletedNotes();
    // "Restore from a backup...": the notes of a chosen daily backup.
    void RestoreBackup();
    void ScheduleSelectedNote();
    // Enter in the list: the selected note comes onto the desktop (shown if
    // it was hidden), in front, with the caret in its text.
    void OpenSelectedNote();
    // The note comes onto the desktop (shown if it was hidden), in front,
    // with the caret in its text.
    void BringNoteUp(CNote& note);
    // "Coming up...": the reminders of the next seven days.
    void ShowComingUp() { m_reminders.ShowComingUp(m_hWnd, CurrentNoteTime()); }
    MainDlgReminders& Reminders() { return m_reminders; }
    void ShowHelpMenu();
    // Ctrl+F: the find box over the list. While it has text the list shows
    // only the notes whose text holds it; closing it gives the whole list
    // back with the user's selection.
    void OpenFind() { m_find.Open(m_hWnd); }
    void CloseFind() { m_find.Close(); }
    bool IsFinding() const { return m_find.IsOpen(); }
    // What new notes look like; "Use as default for new notes" in a note's
    // menu sets it, and the settings file keeps it.
    NoteStyle NewNoteStyle() const { return m_newNoteStyle.Style(); }
    void UseAsNewNoteStyle(const CNote& note) { m_newNoteStyle.UseFrom(note); }
    void OnSkinButton(const std::string& name) override;
    // The logo does nothing, so Tab passes it by.
    bool SkinButtonTakesFocus(const std::string& name) const override;
    void OnViewNoteList();
    void OnBringNotesToTop();
    void OnShowAllNotes();
    void OnHideAllNotes();
    void OnOptions();
    void OnHelp();
    void OnAbout();
    void OnWebSite();
    void OnExit();

    // List notifications
    // A click on a row's Vis box shows or hides the note.
    void ToggleVisibleAtClick();
    void OnListDblClick(int row, int column);
    void OnListItemChanged(const NMLISTVIEW& change);

    HWND ListView() const { return m_view.Hwnd(); }
    // The rows, their selection and what a row shows.
    NoteListView& NoteList() { return m_view; }
    CSystemTray& Tray() { return m_tray; }
    // The skin to load at initialisation; beside the executable unless a
    // caller (a test) chooses another.
    void SetSkinFile(std::string path) { m_strSkinFile = std::move(path); }
    // One housekeeping pass: merges what another copy wrote to the notes
    // file, saves the notes when they changed, then runs the scheduler. A
    // failed save that starts a streak of failures is told to the user by
    // the tick timer once the pass is over.
    void RunHousekeepingPass();
    // Caption of the program's own messages about its notes file.
    static constexpr const char* kMessageCaption = ::kMessageCaption;

    bool PreTranslateMessage(MSG& msg) override;

protected:
    BOOL OnInitDialog() override;
    // Closing the window (Alt+F4, the taskbar's Close) ends the program.
    void OnCancel() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The scheduling dialog for a note; IDOK when it changed the schedule.
    virtual INT_PTR RunScheduleDialog(CNote* note);
    // Shows the start-up picture while the window is being made.
    virtual void OpenStartupSplash();
    // A plain message to the user about a command, caption "Velumo".
    virtual void TellUser(const char* text);

private:
    // A command of the main window, from a menu, an accelerator or a skin
    // button; ids that share a handler have a row each.
    struct Command {
        UINT id;             // kNoCommandId: only a skin button gives it
        const char* button;  // the skin button's name; nullptr for none
        void (CMainDlg::*handler)();
    };
    static constexpr UINT kNoCommandId = 0;
    static const Command kCommands[];

    void HideMainWindow() { ShowWindow(m_hWnd, SW_HIDE); }
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnTimer(UINT_PTR id);
    void OnMainWindowShown();
    // Saves when modified; a failure keeps the system's reason for the message.
    // The periodic pass waits a few passes for a notes file gone away.
    SaveOutcome SaveNotes(bool waitForMissingFile = false);
    // Merges what other computers left: the notes file changed on disk and
    // the sync clients' conflict copies beside it; what to tell waits in
    // m_syncNotices.
    void MergeOtherVersions();
    // A version of the notes file a merge kept aside waits in m_syncNotices.
    void NoteVersionKept(const NotesSync::Result& merged);
    // At an exit the user chose: a failing save is offered again (Retry)
    // until it works or the user gives the changes up (Cancel).
    void SaveBeforeExit();
    // Exit and Close, from wherever they come (the tray menu while a dialog
    // runs, the installer ending the program): the open dialogs end as
    // Cancel, then the last save, then the main window's run ends with result.
    void BeginExit(INT_PTR result);
    void ContinueExit();
    bool OnCommand(UINT id);
    // WM_COMMAND: the find box's notices and the commands.
    bool OnCommandMessage(WPARAM wParam);
    INT_PTR OnSysCommand(WPARAM wParam);
    void OnLButtonDown(LPARAM lParam);
    void OnDestroy();
    // The steps after the modal run may never come: the notes are saved
    // now, and Windows may end.
    void OnQueryEndSession();
    void OnEndSession(bool ending);
    // New rows and windows for notes put back into the list.
    void BringBackNotes(const std::vector<CNote*>& notes);
    // Windows for the notes stored as on the desktop that have none.
    void OpenWindowsOfVisibleNotes();
    void ShowListMenu();
    // The main window's own keys; true when the key was used up.
    bool OnKeyDown(HWND target, WPARAM key);
    LRESULT OnNotify(NMHDR& header);
    // WM_NOTIFY, and WM_NOTIFYFORMAT, by which the list asks which kind it sends.
    INT_PTR OnNotifyMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void PaintMinimized();
    // WM_HOTKEY: a new note at the mouse, or the notes brought to the top.
    void OnGlobalHotkey(WPARAM id);
    void BringBackIntoView();
    void CreateNoteWindow(CNote* note, bool focus);
    void RaiseNoteWindow(CNote* note);
    void CloseNoteWindow(CNote* note);
    void PostNoteChanged(NotePos pos);

    CNoteList& m_notes;
    NoteListView m_view;
    FindBar m_find;
    HICON m_hIcon = nullptr;
    MainWindowNoteHost m_noteHost{m_notes};  // before the scheduler, which keeps it
    CScheduler m_scheduler;
    CSystemTray m_tray;
    CGlobalHotkeys m_hotkeys;
    NewNoteStyleSetting m_newNoteStyle;
    std::string m_strSkinFile;
    DWORD m_nSaveError = 0;          // the system's reason for the last failed save
    SaveFailureMessages m_saveMessages;
    MainDlgReminders m_reminders;  // after the tray, whose balloons it shows
    // Another copy of the program (another computer, through a synced
    // folder) or the user changed the notes file: its notes and ours are
    // merged before each save, never written over.
    friend class MainDlgSyncView;
    MainDlgSyncView m_syncView{*this, m_notes};
    NotesSync m_sync{m_notes, PlatformNoteFileStore(), m_syncView};
    DeletedNotes m_deleted{m_notes, m_sync};
    ConflictCopies m_conflictCopies{PlatformNoteFileStore()};
    SyncNotices m_syncNotices;
    bool m_bSessionEnding = false;  // within WM_QUERYENDSESSION
    bool m_bExiting = false;
    INT_PTR m_nExitResult = 0;
};
