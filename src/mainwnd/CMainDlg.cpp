#include "mainwnd/CMainDlg.h"

#include <shellapi.h>
#include <windowsx.h>

#include <vector>

#include "app/AppPaths.h"
#include "app/CNotesApp.h"
#include "app/RunningCopy.h"
#include "mainwnd/AboutText.h"
#include "framework/MonitorWorkArea.h"
#include "framework/OleUse.h"
#include "framework/OpenDialogs.h"
#include "framework/ScopedHandles.h"
#include "framework/WindowDpi.h"
#include "mainwnd/CAboutDlg.h"
#include "mainwnd/CBackupsDlg.h"
#include "mainwnd/CTextDlg.h"
#include "mainwnd/MainWindowPlace.h"
#include "mainwnd/MainWndModel.h"
#include "mainwnd/NewNotePlace.h"
#include "mainwnd/NotePlacement.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"
#include "schedule/CNWSchedDlg.h"
#include "settings/COptionsDlg.h"
#include "skin/CSplashWindow.h"
#include "tray/CBmpMenu.h"

// Menus, accelerators and skin buttons reach their handlers through here.
const CMainDlg::Command CMainDlg::kCommands[] = {
    {ID_ADD_NOTE, "BUTTON_ADDNOTE", &CMainDlg::AddNote},
    {kNoCommandId, "BUTTON_MINMIZE", &CMainDlg::HideMainWindow},
    {kNoCommandId, "BUTTON_DELNOTE", &CMainDlg::DeleteSelectedNotes},
    {kNoCommandId, "BUTTON_CALENDAR", &CMainDlg::ScheduleSelectedNote},
    {kNoCommandId, "BUTTON_HELP", &CMainDlg::ShowHelpMenu},
    {ID_VIEW_NOTE_LIST, nullptr, &CMainDlg::OnViewNoteList},
    {ID_BRING_TO_TOP, nullptr, &CMainDlg::OnBringNotesToTop},
    {ID_SHOW_ALL, nullptr, &CMainDlg::OnShowAllNotes},
    {ID_HIDE_ALL, nullptr, &CMainDlg::OnHideAllNotes},
    {ID_OPTIONS, nullptr, &CMainDlg::OnOptions},
    {ID_HELP_CMD, nullptr, &CMainDlg::OnHelp},
    {ID_HELP_TOPICS, nullptr, &CMainDlg::OnHelp},
    {ID_HELP, nullptr, &CMainDlg::OnHelp},
    {IDM_ABOUTBOX, nullptr, &CMainDlg::OnAbout},
    {ID_HELP_ABOUT, nullptr, &CMainDlg::OnAbout},
    {ID_WEB_SITE, nullptr, &CMainDlg::OnWebSite},
    {ID_APP_EXIT_CMD, nullptr, &CMainDlg::OnExit},
    {ID_UNDO_DELETE, nullptr, &CMainDlg::UndoDelete},
    {ID_DELETED_NOTES, nullptr, &CMainDlg::ShowDeletedNotes},
    {ID_LIST_RESTORE_BACKUP, nullptr, &CMainDlg::RestoreBackup},
    {ID_LIST_FIND, nullptr, &CMainDlg::OpenFind},
    {ID_COMING_UP, nullptr, &CMainDlg::ShowComingUp},
    {IDC_FIND_CLOSE, nullptr, &CMainDlg::CloseFind},
};

CMainDlg::CMainDlg(CNoteList& notes, int screenColorCount)
    : CSkinDialog(IDD_MAIN),
      m_notes(notes),
      m_view(notes),
      m_find(notes, m_view, [this] { OpenSelectedNote(); }),
      m_scheduler(notes, m_noteHost),
      m_newNoteStyle(screenColorCount),
      m_strSkinFile(SkinFilePath(CWinAppBase::ModulePath())),
      m_saveMessages(notes),
      m_reminders(notes, m_tray, [this](CNote& note) { BringNoteUp(note); })
{
    m_hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    m_scheduler.SetRemindersHandler([this](const std::vector<CNote*>& up) { m_reminders.Tell(up); });
    m_view.SetRowFilter(&m_find);
}

CMainDlg::~CMainDlg()
{
    // Destroyed here, while the object is still a main window, so that its
    // own WM_DESTROY handling (the column widths) runs.
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
}

int CMainDlg::ScreenColorCount()
{
    ScopedGetDC screen(nullptr);
    return GetDeviceCaps(screen, NUMCOLORS);
}

BOOL CMainDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    CNotesApp::GetApp().m_hMainWnd = m_hWnd;
    m_noteHost.SetMainWindow(m_hWnd);
    MarkMainWindow(m_hWnd);

    HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
    char about[128] = {};
    if (systemMenu && LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof about) > 0) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
    }
    m_view.Attach(GetItem(IDC_NOTE_LIST), WindowScale(m_hWnd));
    m_newNoteStyle.Load();
    FillNoteList();
    // What was read is the base that later changes on disk are told from.
    if (!m_notes.m_strPath.empty())
        m_sync.RememberFileAsBase(m_notes.StoreToBytes());
    SetWindowTextA(m_hWnd, "Velumo");
    // Only what the first painting shows comes before it (the rest waits for
    // OnMainWindowShown): the skin's other faces, the window's icons and the
    // global shortcuts took a good part of the start-up.
    OpenSkin(m_strSkinFile, SkinFaces::kNormalFirst);
    PlaceMainWindowAsKept(m_hWnd, SkinScale());
    SetTimer(m_hWnd, kFirstTickDelayTimer, 500, nullptr);
    // A timer comes after the main window's first painting.
    SetTimer(m_hWnd, kMainWindowShownTimer, 0, nullptr);
    return TRUE;
}

LRESULT CMainDlg::OnNoteChanged(WPARAM wParam, LPARAM lParam)
{
    const auto pos = reinterpret_cast<NotePos>(lParam);
    const int row = m_view.RowOfNote(pos);
    if (row < 0)
        return 0;  // no such note (any more): nothing to do
    if (wParam == NOTE_DELETED) {
        m_view.DeleteRow(row);
        m_deleted.Delete({pos});
    } else {
        m_view.PutRow(m_notes.GetAt(pos), pos, row);
        m_view.RedrawRow(row);
    }
    return 0;
}

void CMainDlg::CreateNoteWindow(CNote* note, bool focus)
{
    note->m_pWnd = CNoteWnd::Create(note, focus, m_noteHost);
}

void CMainDlg::RaiseNoteWindow(CNote* note)
{
    // The keyboard stays with the program the user is in.
    if (note->m_pWnd)
        note->m_pWnd->RaiseWithoutActivating();
}

void CMainDlg::CloseNoteWindow(CNote* note)
{
    // Posted: the window clears the note's reference when it closes.
    if (note->m_pWnd)
        PostMessageA(note->m_pWnd->GetHwnd(), WM_CLOSE, 0, 0);
}

void CMainDlg::PostNoteChanged(NotePos pos)
{
    PostMessageA(m_hWnd, WM_NOTE_CHANGED, NOTE_REFRESHED, reinterpret_cast<LPARAM>(pos));
}

void CMainDlg::AddNoteAt(const NoteRect* place)
{
    // A full list takes no more notes: nothing is made at all.
    if (m_notes.m_nCount >= CNoteList::kMaxNotes) {
        TellUser(("Velumo holds at most " + std::to_string(CNoteList::kMaxNotes) +
                  " notes. Delete notes you no longer need to make room for a new one.").c_str());
        return;
    }
    auto note = std::make_unique<CNote>();
    m_newNoteStyle.ApplyTo(*note);
    // Wherever it was meant to go, it does not hide a note the user has out.
    note->m_rcWindow = NewNotePlace(m_notes, place ? *place : note->m_rcWindow);
    CNote* raw = note.get();
    CreateNoteWindow(raw, true);
    NotePos pos = m_notes.Add(note, -1);
    m_view.PutRow(raw, pos, -1);
    if (raw->m_pWnd)
        SetActiveWindow(raw->m_pWnd->GetHwnd());
}

void CMainDlg::DeleteSelectedNotes()
{
    // The bin keeps the notes as they were typed.
    CNoteWnd::TakeTypedTexts();
    int highestRow = 0;
    // Rows are in list order: from the last row up is from the last note up.
    m_deleted.Delete(m_view.DeleteSelectedRows(highestRow));
    const int select = RowToSelectAfterDelete(highestRow, m_view.RowCount());
    if (select >= 0)
        m_view.SelectRow(select);
}

void CMainDlg::UndoDelete()
{
    const std::vector<CNote*> restored = m_deleted.Undo();
    if (!restored.empty())
        BringBackNotes(restored);
}

void CMainDlg::BringBackNotes(const std::vector<CNote*>& notes)
{
    // The notes may sit between others: the rows are laid out again, and
    // the notes that came back are selected, so the next key acts on them.
    FillNoteList();
    bool lead = true;
    for (CNote* note : notes) {
        if (note->m_bVisible && !note->m_pWnd)
            CreateNoteWindow(note, false);
        if (const int row = m_view.RowOfNote(note->m_pos); row >= 0) {
            m_view.SelectRow(row, lead);
            lead = false;
        }
        PostNoteChanged(note->m_pos);
    }
}

void CMainDlg::ShowDeletedNotes()
{
    if (const auto restored = m_deleted.RestoreChosen(m_hWnd))
        BringBackNotes(*restored);
}

void CMainDlg::RestoreBackup()
{
    if (!RestoreFromBackup(m_hWnd, m_notes))
        return;
    // The notes of before and their windows are gone; the restored file,
    // saved at once, is what later changes on disk are told from.
    if (!m_notes.m_bModified)
        m_sync.RememberFileAsBase(m_notes.LastWritten());
    FillNoteList();
    OpenWindowsOfVisibleNotes();
}

void CMainDlg::OpenWindowsOfVisibleNotes()
{
    for (NotePos pos = m_notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos)) {
        CNote* note = m_notes.GetAt(pos);
        if (note->m_bVisible && !note->m_pWnd)
            CreateNoteWindow(note, false);
    }
}

void CMainDlg::ShowListMenu()
{
    UniqueMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LIST_MENU)));
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    EnableMenuItem(popup, ID_UNDO_DELETE, MF_BYCOMMAND | (m_deleted.CanUndo() ? MF_ENABLED : MF_GRAYED));
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
}

INT_PTR CMainDlg::RunScheduleDialog(CNote* note)
{
    return OpenScheduleDialog(m_hWnd, *note, m_noteHost);
}

void CMainDlg::ScheduleSelectedNote()
{
    const int row = m_view.GetSingleSelection();
    if (row < 0) {
        // One schedule belongs to one note: with several rows selected the
        // user is told why nothing opens.
        if (m_view.SelectedCount() > 1)
            TellUser("Select one note to schedule.");
        return;
    }
    if (CNote* note = m_view.NoteOfRow(row))
        RunScheduleDialog(note);
}

void CMainDlg::TellUser(const char* text)
{
    MessageBoxA(m_hWnd, text, kMessageCaption, MB_OK | MB_ICONINFORMATION);
}

void CMainDlg::OpenSelectedNote()
{
    const int row = m_view.ChosenRow();
    if (CNote* note = row >= 0 ? m_view.NoteOfRow(row) : nullptr)
        BringNoteUp(*note);
}

void CMainDlg::BringNoteUp(CNote& noteRef)
{
    CNote* note = &noteRef;
    if (!note->m_bVisible) {
        note->m_bVisible = 1;
        m_notes.m_bModified = 1;
        if (const int row = m_view.RowOfNote(note->m_pos); row >= 0)
            m_view.PutRow(note, note->m_pos, row);
    }
    if (!note->m_pWnd)
        CreateNoteWindow(note, false);
    if (!note->m_pWnd)
        return;
    note->m_pWnd->BringIntoWorkArea();
    HWND hwnd = note->m_pWnd->GetHwnd();
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
    HWND edit = note->m_pWnd->GetEdit();
    SetFocus(edit);
    const int end = GetWindowTextLengthW(edit);
    SendMessageA(edit, EM_SETSEL, end, end);  // the caret after the text
}

void CMainDlg::ShowHelpMenu()
{
    CBmpMenu::ShowResourceMenu(m_hWnd, IDR_HELP_MENU, IDB_HELP_BANNER, 0, IDB_HELP_TOPICS_ITEM);
}

bool CMainDlg::OnCommand(UINT id)
{
    for (const Command& command : kCommands) {
        if (command.id != kNoCommandId && command.id == id) {
            (this->*command.handler)();
            return true;
        }
    }
    return false;
}

void CMainDlg::OnSkinButton(const std::string& name)
{
    for (const Command& command : kCommands) {
        if (command.button && name == command.button) {
            (this->*command.handler)();
            return;
        }
    }
}

bool CMainDlg::SkinButtonTakesFocus(const std::string& name) const
{
    return name != "BUTTON_LOGO";
}

void CMainDlg::OnViewNoteList()
{
    FillNoteList();
    ShowWindow(m_hWnd, SW_SHOW);
}

void CMainDlg::BringBackIntoView()
{
    // Another copy was started: the user is looking for this one.
    OnViewNoteList();
    if (IsIconic(m_hWnd))
        ShowWindow(m_hWnd, SW_RESTORE);
    // A dialog open over the main window comes to the front with it.
    SetForegroundWindow(GetLastActivePopup(m_hWnd));
}

void CMainDlg::OnBringNotesToTop()
{
    for (NotePos pos = m_notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos)) {
        CNote* note = m_notes.GetAt(pos);
        if (note->m_bVisible)
            RaiseNoteWindow(note);
    }
}

void CMainDlg::OnShowAllNotes()
{
    for (NotePos pos = m_notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos)) {
        CNote* note = m_notes.GetAt(pos);
        if (note->m_bVisible) {
            RaiseNoteWindow(note);
            continue;
        }
        if (!note->m_pWnd)
            CreateNoteWindow(note, false);
        note->m_bVisible = 1;
        m_notes.m_bModified = 1;
        PostNoteChanged(pos);
    }
}

void CMainDlg::OnHideAllNotes()
{
    for (NotePos pos = m_notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos)) {
        CNote* note = m_notes.GetAt(pos);
        if (!note->m_bVisible)
            continue;
        note->m_bVisible = 0;
        CloseNoteWindow(note);
        m_notes.m_bModified = 1;
        PostNoteChanged(pos);
    }
}

void CMainDlg::OpenStartupSplash()
{
    SetSplashEnabled(true);
    OpenSplash(m_hWnd);
}

void CMainDlg::OnOptions()
{
    COptionsDlg dlg(&m_hotkeys);
    dlg.DoModal(m_hWnd);
}

void CMainDlg::OnHelp()
{
    CNotesApp::GetApp().ShowHelp();
}

void CMainDlg::OnAbout()
{
    CAboutDlg dlg;
    dlg.DoModal(m_hWnd);
}

void CMainDlg::OnWebSite()
{
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(m_hWnd, "open", kHomePageUrl, nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        MessageBoxA(m_hWnd, "Can not open the URL, please try it later!", "Message", MB_OK | MB_ICONQUESTION);
}

void CMainDlg::OnExit()
{
    BeginExit(0);
}

void CMainDlg::OnCancel()
{
    BeginExit(IDCANCEL);
}

void CMainDlg::BeginExit(INT_PTR result)
{
    // Once: a second Exit, or the installer's close while the save question
    // is open, changes nothing.
    if (m_bExiting)
        return;
    m_bExiting = true;
    m_nExitResult = result;
    // No reminder or message of the housekeeping opens while dialogs end.
    KillTimer(m_hWnd, kFirstTickDelayTimer);
    KillTimer(m_hWnd, kTickTimer);
    ContinueExit();
}

void CMainDlg::ContinueExit()
{
    // The last save waits until a look finds no dialog open: by then every
    // modal run has returned, and whatever its caller did on Cancel is in
    // the notes. Each look ends the innermost dialogs.
    EndMenu();
    if (CancelOpenDialogs(m_hWnd) > 0) {
        SetTimer(m_hWnd, kExitTimer, 20, nullptr);
        return;
    }
    SaveBeforeExit();
    EndDialog(m_nExitResult);
}

SaveOutcome CMainDlg::SaveNotes(bool waitForMissingFile)
{
    // The merge and the file get what was typed up to now.
    CNoteWnd::TakeTypedTexts();
    MergeOtherVersions();
    NotesSync::Result merged;
    const NotesSync::SaveResult saved = m_sync.MergeAndSave(merged, waitForMissingFile);
    const DWORD saveError = GetLastError();  // before anything else asks the system
    // The file may have changed again since MergeOtherVersions looked.
    NoteVersionKept(merged);
    switch (saved) {
    // The conflict copies go once the notes file holds what they brought.
    case NotesSync::SaveResult::kNothingToSave: m_conflictCopies.RemoveMerged(); return SaveOutcome::kNothingToSave;
    case NotesSync::SaveResult::kSaved: m_conflictCopies.RemoveMerged(); return SaveOutcome::kSaved;
    case NotesSync::SaveResult::kFailed: m_nSaveError = saveError; break;
    // Another program kept writing the file under every try: not saved.
    case NotesSync::SaveResult::kPostponed: m_nSaveError = ERROR_SHARING_VIOLATION; break;
    // Not a failure: the next passes look for the file again.
    case NotesSync::SaveResult::kWaitingForFile: return SaveOutcome::kNothingToSave;
    }
    return SaveOutcome::kFailed;
}

void CMainDlg::MergeOtherVersions()
{
    // Told after the pass, never here: an unreadable file is replaced by
    // ours at once, not after the user has read about it.
    NoteVersionKept(m_sync.MergeOutsideChanges());
    m_syncNotices.CopiesMerged(m_conflictCopies.MergeInto(m_sync, m_notes, CurrentNoteTime()));
    m_sync.Bin();  // a damaged bin is found before deletes are lost in it
    if (const std::string bin = m_sync.TakeDamagedBinCopy(); !bin.empty())
        m_syncNotices.DamagedBinKept(bin);
}

void CMainDlg::NoteVersionKept(const NotesSync::Result& merged)
{
    if (merged.outcome == NotesSync::Outcome::kKeptUnreadable)
        m_syncNotices.UnreadableFileKept(merged.copyPath);
    else if (merged.outcome == NotesSync::Outcome::kMergedListFull)
        m_syncNotices.ListFullKept(merged.copyPath);
}

void CMainDlg::SaveBeforeExit()
{
    // No housekeeping pass runs into the last save or its question.
    KillTimer(m_hWnd, kFirstTickDelayTimer);
    KillTimer(m_hWnd, kTickTimer);
    KillTimer(m_hWnd, kMainWindowShownTimer);
    m_saveMessages.SaveBeforeExit(m_hWnd, [this]() -> std::optional<DWORD> {
        if (SaveNotes() == SaveOutcome::kFailed)
            return m_nSaveError;
        return std::nullopt;
    });
}

void CMainDlg::ToggleVisibleAtClick()
{
    const int row = m_view.VisBoxRowAtCursor();
    CNote* note = row >= 0 ? m_view.NoteOfRow(row) : nullptr;
    if (!note)
        return;
    note->m_bVisible = note->m_bVisible ? 0 : 1;
    m_notes.m_bModified = 1;
    m_view.PutRow(note, note->m_pos, row);
    if (note->m_bVisible) {
        if (!note->m_pWnd)
            CreateNoteWindow(note, false);
    } else {
        CloseNoteWindow(note);
    }
}

void CMainDlg::OnListDblClick(int row, int column)
{
    if (row < 0) {
        AddNote();
        return;
    }
    if (IsFinding()) {
        // The user looked for a note: a double click brings it up.
        m_view.SelectOnly(row);
        OpenSelectedNote();
        return;
    }
    CNote* note = m_view.NoteOfRow(row);
    if (!note)
        return;
    if (column == NoteListView::kSchdColumn) {
        if (RunScheduleDialog(note) == IDOK)
            m_view.PutRow(note, note->m_pos, row);
    } else if (column == NoteListView::kTextColumn) {
        CNoteWnd::TakeTypedTexts();
        CTextDlg dlg;
        dlg.m_strText = note->m_strText;
        if (dlg.DoModal(m_hWnd) != IDOK)
            return;
        note->m_strText = dlg.m_strText;
        m_notes.m_bModified = 1;
        m_view.PutRow(note, note->m_pos, row);
        if (note->m_pWnd)
            PostMessageA(note->m_pWnd->GetHwnd(), WM_NOTE_CHANGED, NOTE_REFRESHED, 0);
    }
}

void CMainDlg::OnListItemChanged(const NMLISTVIEW& change)
{
    bool tick = false;
    CNote* note = m_view.NoteOfTickChange(change, tick);
    const uint16_t ticked = tick ? 1 : 0;
    if (!note || ticked == note->m_bOnTop)
        return;
    note->m_bOnTop = ticked;
    m_notes.m_bModified = 1;
    // Not activated: the list keeps the focus, so Space and the arrows go
    // on working there.
    if (note->m_pWnd)
        SetWindowPos(note->m_pWnd->GetHwnd(), ticked ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMainDlg::RunHousekeepingPass()
{
    m_saveMessages.Feed(SaveNotes(true));
    m_scheduler.ScheduleTick();
}

void CMainDlg::OnTimer(UINT_PTR id)
{
    KillTimer(m_hWnd, id);
    if (id == kMainWindowShownTimer) {
        OnMainWindowShown();
    } else if (id == kExitTimer) {
        ContinueExit();
    } else if (id == kFirstTickDelayTimer) {
        SetTimer(m_hWnd, kTickTimer, 1000, nullptr);
    } else if (id == kTickTimer) {
        // Re-armed only after the pass: passes never overlap.
        RunHousekeepingPass();
        SetTimer(m_hWnd, kTickTimer, static_cast<UINT>(m_sync.NextPassDelayMs()), nullptr);
        // Told after re-arming: the passes go on while a message is open.
        m_saveMessages.TellDue(m_hWnd, m_nSaveError);
        const bool versionsBalloon = m_syncView.TellDue(m_syncNotices);
        m_syncNotices.TellDue(m_hWnd, m_tray, versionsBalloon);
    }
}

void CMainDlg::OnMainWindowShown()
{
    // The splash comes just after the main window's first painting: made
    // before it, its picture and window held the main window back by a
    // twentieth of the start-up.
    OpenStartupSplash();
    LoadButtonFaces();
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    m_hotkeys.Start(m_hWnd);
    // The shell takes its time over a new icon (a good part of the start-up
    // under Wine): the user sees the main window first.
    HICON trayIcon = CNotesApp::GetApp().m_hTrayIcon;
    if (!trayIcon)
        trayIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TRAY));
    m_tray.Create(m_hWnd, WM_TRAYNOTIFY, "Velumo", trayIcon, IDR_TRAY_MENU);
    // Before any note's box: its clipboard goes through OLE.
    OleUse::Begin();
    // The notes left on screen come back at once rather than with the first
    // housekeeping pass.
    m_scheduler.ShowVisibleNotes();
}

LRESULT CMainDlg::OnNotify(NMHDR& header)
{
    if (header.hwndFrom != m_view.Hwnd())
        return 0;
    switch (header.code) {
    case NM_CUSTOMDRAW:
        return m_view.OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
    case NM_CLICK:
        ToggleVisibleAtClick();
        return 0;
    case NM_DBLCLK: {
        const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
        OnListDblClick(activate.iItem, activate.iSubItem);
        return 0;
    }
    case LVN_ITEMCHANGED:
        OnListItemChanged(reinterpret_cast<const NMLISTVIEW&>(header));
        return 0;
    case LVN_GETDISPINFOW:
        m_view.OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header).item);
        return 0;
    case NM_RCLICK:
        ShowListMenu();
        return 0;
    case NM_SETFOCUS:
        m_view.FocusSomeRow();
        return 0;
    case LVN_DELETEALLITEMS:
        return TRUE;  // no notice per row: nothing here needs one
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE)
            DeleteSelectedNotes();
        return 0;
    default:
        return 0;
    }
}

INT_PTR CMainDlg::OnNotifyMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY) {
        SetMsgResult(OnNotify(*reinterpret_cast<NMHDR*>(lParam)));
        return TRUE;
    }
    // The note list asks for its rows in UTF-16.
    if (reinterpret_cast<HWND>(wParam) != m_view.Hwnd())
        return CSkinDialog::HandleMessage(msg, wParam, lParam);
    SetMsgResult(NFR_UNICODE);
    return TRUE;
}

void CMainDlg::PaintMinimized()
{
    ScopedPaint paint(m_hWnd);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(static_cast<HDC>(paint)), 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(paint, x, y, m_hIcon);
}

bool CMainDlg::PreTranslateMessage(MSG& msg)
{
    if (msg.message == WM_KEYDOWN && (msg.hwnd == m_hWnd || IsChild(m_hWnd, msg.hwnd)) &&
        OnKeyDown(msg.hwnd, msg.wParam))
        return true;
    return CSkinDialog::PreTranslateMessage(msg);
}

bool CMainDlg::OnKeyDown(HWND target, WPARAM key)
{
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    if (key == 'N' && ctrl && !alt) {
        AddNote();
        return true;
    }
    if (key == 'Z' && ctrl && !alt && target != m_find.Box()) {
        UndoDelete();
        return true;
    }
    if (key == 'F' && ctrl && !alt) {
        OpenFind();
        return true;
    }
    if (target == m_find.Box() && m_find.Box())
        return m_find.OnBoxKey(key);
    // The list's own Ctrl+Space would tick the row's Top box as well.
    if (key == VK_SPACE && ctrl && target == m_view.Hwnd()) {
        m_view.ToggleFocusedRowSelection();
        return true;
    }
    if (key == VK_ESCAPE && IsFinding()) {
        CloseFind();
        return true;
    }
    // Enter and Escape never end the main window: Enter opens the selected
    // note from the list and presses a skin button that has the focus.
    if (key == VK_RETURN) {
        if (target == m_view.Hwnd())
            OpenSelectedNote();
        else if (CSkinButton* button = SkinButtonOf(target))
            button->Click();
        return true;
    }
    return key == VK_ESCAPE;
}

INT_PTR CMainDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == RunningCopyMessage()) {
        BringBackIntoView();
        SetMsgResult(kRunningCopyAnswer);
        return TRUE;
    }
    switch (msg) {
    case WM_PAINT:
        if (IsIconic(m_hWnd)) {
            PaintMinimized();
            return TRUE;
        }
        break;
    case WM_QUERYDRAGICON:
        // One of the messages whose answer a dialog returns directly.
        return reinterpret_cast<INT_PTR>(m_hIcon);
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam);
    case WM_LBUTTONDOWN:
        OnLButtonDown(lParam);
        break;
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_QUERYENDSESSION:
        OnQueryEndSession();
        return TRUE;
    case WM_ENDSESSION:
        OnEndSession(wParam != 0);
        return TRUE;
    case WM_NOTE_CHANGED:
        SetMsgResult(OnNoteChanged(wParam, lParam));
        return TRUE;
    case WM_TRAYNOTIFY:
        SetMsgResult(m_tray.OnTrayNotification(wParam, lParam));
        return TRUE;
    case WM_HOTKEY:
        OnGlobalHotkey(wParam);
        return TRUE;
    case WM_NOTIFY:
    case WM_NOTIFYFORMAT:
        return OnNotifyMessage(msg, wParam, lParam);
    case WM_COMMAND:
        if (OnCommandMessage(wParam))
            return TRUE;
        break;
    case WM_NOTE_STYLE_DEFAULT:
        if (CNote* note = m_notes.GetAt(reinterpret_cast<NotePos>(lParam)))
            UseAsNewNoteStyle(*note);
        return TRUE;
    }
    return CSkinDialog::HandleMessage(msg, wParam, lParam);
}

bool CMainDlg::OnCommandMessage(WPARAM wParam)
{
    if (LOWORD(wParam) == IDC_FIND_EDIT) {
        if (HIWORD(wParam) == EN_CHANGE)
            m_find.OnTextChanged();
        return true;
    }
    return HIWORD(wParam) <= 1 && OnCommand(LOWORD(wParam));
}

INT_PTR CMainDlg::OnSysCommand(WPARAM wParam)
{
    if ((wParam & 0xFFF0) != IDM_ABOUTBOX)
        return FALSE;
    OnAbout();
    return TRUE;
}

void CMainDlg::OnLButtonDown(LPARAM lParam)
{
    if (IsInDragBand(SkinScale().ToBase(GET_X_LPARAM(lParam)), SkinScale().ToBase(GET_Y_LPARAM(lParam))))
        PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
}

void CMainDlg::OnDestroy()
{
    m_view.SaveColumnWidths(SkinScale());
    KeepMainWindowPlace(m_hWnd, SkinScale());
    m_hotkeys.Stop();
    m_tray.RemoveIcon();
    UnmarkMainWindow(m_hWnd);
}

void CMainDlg::OnQueryEndSession()
{
    // Windows is ending, so a failure is not told now; should the session
    // go on after all, the next pass tells it.
    m_bSessionEnding = true;
    m_saveMessages.Feed(SaveNotes());
    m_bSessionEnding = false;
    SetMsgResult(TRUE);  // Windows may end
}

void CMainDlg::OnEndSession(bool ending)
{
    // A tray program is mostly ended by logging off, not by Exit: the
    // auto-start choice is written now, as the exit step would.
    if (ending)
        CNotesApp::GetApp().SaveAutoRunSetting();
}

void CMainDlg::OnDpiChanged(int dpi, const RECT& suggested)
{
    // The find box is laid out over the list's old place: it goes first.
    CloseFind();
    // Column widths are kept across the change in 96-DPI units, as the
    // settings file keeps them.
    const std::vector<int> widths = m_view.BaseColumnWidths(SkinScale());
    RescaleSkin(dpi, suggested);
    m_view.Rescale(SkinScale(), widths);
}

void CMainDlg::OnGlobalHotkey(WPARAM id)
{
    HotkeyAction action;
    if (!CGlobalHotkeys::ActionOfId(id, action))
        return;
    if (action == HotkeyAction::BringToTop) {
        OnBringNotesToTop();
        return;
    }
    // The user is looking where the mouse is: on that screen, around it.
    POINT mouse{};
    GetCursorPos(&mouse);
    const HMONITOR screen = MonitorFromPoint(mouse, MONITOR_DEFAULTTONEAREST);
    const RECT work = WorkAreaOf(screen);
    // Placed in that screen's pixels, stored in 96-DPI units as every note.
    const NoteRect shown{work.left, work.top, work.right, work.bottom};
    const DisplayScale scale(MonitorDpi(screen));
    const NoteRect place = scale.ToBase(NoteRectAround(scale.ToPixels(kDefaultNoteWidth),
                                                       scale.ToPixels(kDefaultNoteHeight), mouse.x, mouse.y, shown));
    AddNoteAt(&place);
}
