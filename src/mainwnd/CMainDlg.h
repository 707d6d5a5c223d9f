#pragma once
// The program's one top-level window: a skinned dialog that lists every note,
// receives every command, and keeps the housekeeping timer that saves the
// notes and runs the scheduler.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <set>
#include <unordered_set>
#include <string>

#include "notes/CNoteList.h"
#include "notes/DeletedNotesBin.h"
#include "notes/NotesMerge.h"
#include "notes/NoteStyle.h"
#include "notes/TextFind.h"
#include "mainwnd/MainWndModel.h"
#include "mainwnd/UndoDeletes.h"
#include "notes/LogFont.h"
#include "schedule/CScheduler.h"
#include "settings/CGlobalHotkeys.h"
#include "skin/CSkinDialog.h"
#include "tray/CSystemTray.h"

class CMainDlg : public CSkinDialog {
public:
    // Column widths and the settings-file keys that keep them.
    static constexpr int kColumnCount = 4;
    static constexpr int kDefaultColumnWidths[kColumnCount] = {36, 35, 40, 360};
    static constexpr const char* kColumnTitles[kColumnCount] = {"Top", "Vis", "Schd", "Text"};
    static constexpr const char* kWidthSection = "List";
    static constexpr UINT_PTR kStartTimer = 1;
    static constexpr UINT_PTR kTickTimer = 2;
    // Once the main window is on screen: the tray icon, and the windows of
    // the notes stored as visible.
    static constexpr UINT_PTR kMainWindowShownTimer = 3;
    // An exit waiting for the dialogs still open to end.
    static constexpr UINT_PTR kExitTimer = 4;

    // screenColorCount: what the screen reports as NUMCOLORS (see
    // ScreenColorCount); the paper colour of new notes depends on it.
    explicit CMainDlg(CNoteList& notes, int screenColorCount = ScreenColorCount());
    ~CMainDlg() override;

    static int ScreenColorCount();

    // Rows
    void FillNoteList();
    void PutNoteRow(CNote* note, NotePos pos, int row);
    int GetSingleSelection() const;
    LRESULT OnNoteChanged(WPARAM wParam, LPARAM lParam);

    // Commands
    // place: where the note goes; null for a place of its own.
    void AddNote(const NoteRect* place = nullptr);
    void DeleteSelectedNotes();
    // Ctrl+Z: the notes of the last delete come back, with their text,
    // look, place, schedule and list position, on the desktop if they were.
    void UndoDelete();
    bool CanUndoDelete() const { return m_undo.CanUndo(); }
    // "Deleted notes...": brings back the notes chosen from the bin.
    void ShowDeletedNotes();
    // "Restore from a backup...": the notes of a chosen daily backup.
    void RestoreBackup();
    void ScheduleSelectedNote();
    // Enter in the list: the selected note comes onto the desktop (shown if
    // it was hidden), in front, with the caret in its text.
    void OpenSelectedNote();
    void ShowHelpMenu();
    // Ctrl+F: the find box over the list. While it has text the list shows
    // only the notes whose text holds it; closing it gives the whole list
    // back with the user's selection.
    void OpenFind();
    void CloseFind();
    bool IsFinding() const { return m_findEdit != nullptr; }
    // What new notes look like; "Use as default for new notes" in a note's
    // menu sets it, and the settings file keeps it.
    NoteStyle NewNoteStyle() const;
    void UseAsNewNoteStyle(const CNote& note);
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
    void OnListClick();
    void OnListDblClick(int row, int column);
    void OnListItemChanged(const NMLISTVIEW& change);

    HWND ListView() const { return m_list; }
    CSystemTray& Tray() { return m_tray; }
    ColorRef DefaultBackColor() const { return m_crDefaultBack; }
    // The skin to load at initialisation; beside the executable unless a
    // caller (a test) chooses another.
    void SetSkinFile(std::string path) { m_strSkinFile = std::move(path); }
    // One housekeeping pass: saves the notes when they changed, then runs the
    // scheduler. A failed save that starts a streak of failures is told to
    // the user by the tick timer once the pass is over.
    void RunSchedulerPass();
    // Caption of the program's own messages about its notes file.
    static constexpr const char* kMessageCaption = "Velumo";

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
    void SetupColumns();
    void LayOutNoteList(const DisplayScale& scale);
    void SetListImages(const DisplayScale& scale);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void SaveColumnWidths();
    void OnTimer(UINT_PTR id);
    void OnMainWindowShown();
    // Saves when modified; a failure keeps the system's reason for the message.
    SaveOutcome SaveNotes();
    // The message about a failing save, once per streak of failures.
    void TellSaveFailure();
    // At an exit the user chose: a failing save is offered again (Retry)
    // until it works or the user gives the changes up (Cancel).
    void SaveBeforeExit();
    // Exit and Close, from wherever they come (the tray menu while a dialog
    // runs, the installer ending the program): the open dialogs end as
    // Cancel, then the last save, then the main window's run ends with result.
    void BeginExit(INT_PTR result);
    void ContinueExit();
    // The file, the system's reason and what the user can do.
    std::string SaveFailureText(const char* advice) const;
    int ShowSaveMessage(const std::string& text, UINT flags);
    bool OnCommand(UINT id);
    // Every delete ends here: the notes, already out of the list, go to the
    // bin and to the undo steps.
    void KeepDeleted(std::vector<UndoDeletes::Deleted> step);
    // The bin beside the notes file, or null when there is no notes file.
    CDeletedNotesBin* Bin();
    // New rows and windows for notes put back into the list.
    void BringBackNotes(const std::vector<CNote*>& notes);
    void ShowListMenu();
    void LoadNewNoteStyle();
    // Find: the typed text changed; Enter in the box.
    void OnFindChanged();
    void OpenFoundNote();
    // The rows that are selected, and those selected before the find hid
    // them, by note.
    std::set<NotePos> KeptSelection() const;
    void SelectRowsOf(const std::set<NotePos>& notes);
    bool MatchesFind(CNote* note, size_t index);
    // Rows for the notes the find lets through, and no others.
    void RefilterRows();
    void PlaceFindBox();
    void DrawTextCell(HDC dc, int row);
    // Another copy of the program (another computer, through a synced
    // folder) or the user changed the notes file: its notes and ours are
    // merged, never written over. Cheap when nothing changed.
    void MergeOutsideChanges();
    void ApplyMerge(const NotesMergePlan& plan);
    // The file as this copy last read or wrote it.
    void RememberFileAsBase(std::vector<uint8_t> bytes);
    // The main window's own keys; true when the key was used up.
    bool OnKeyDown(HWND target, WPARAM key);
    LRESULT OnNotify(NMHDR& header);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
    void RedrawRowImage(HDC dc, int row, int column);
    void PaintMinimized();
    // WM_HOTKEY: a new note at the mouse, or the notes brought to the top.
    void OnGlobalHotkey(WPARAM id);
    void BringBackIntoView();
    void CreateNoteWindow(CNote* note, bool focus);
    void RaiseNoteWindow(CNote* note);
    void CloseNoteWindow(CNote* note);
    void PostNoteChanged(NotePos pos);
    CNote* NoteOfRow(int row) const;
    int ColumnWidth(int column) const;
    int HeaderColumnCount() const;
    // The settings-file key of a column's width: "Col<n>Width".
    static std::string ColumnWidthKey(int column);

    CNoteList& m_notes;
    HWND m_list = nullptr;
    HICON m_hIcon = nullptr;
    HFONT m_hListFont = nullptr;  // the dialog's font; the list view owns it
    // The dialog's font is made for the DPI the window started at; on a
    // monitor of another scale the list gets this copy at that scale.
    int m_nListFontDpi = DisplayScale::kBaseDpi;
    UniqueFont m_listFontAtScale;
    HFONT ListFont() const { return m_listFontAtScale ? m_listFontAtScale.Get() : m_hListFont; }
    HIMAGELIST m_imageList = nullptr;
    CScheduler m_scheduler;
    CSystemTray m_tray;
    CGlobalHotkeys m_hotkeys;
    ColorRef m_crDefaultBack;
    ColorRef m_crDefaultText = 0;
    LogFont m_lfDefault;
    std::string m_strSkinFile;
    SaveFailureNotice m_saveNotice;
    DWORD m_nSaveError = 0;          // the system's reason for the last failed save
    bool m_bSaveFailureDue = false;  // a new streak of failures waits to be told
    bool m_bShowingSaveMessage = false;
    UndoDeletes m_undo;
    CDeletedNotesBin m_bin;
    std::string m_strBinPath;  // the file m_bin was read from
    // The notes file as this copy last read or wrote it, and the file's size
    // and time then: a different size or time means someone else wrote it.
    std::vector<uint8_t> m_baseBytes;
    WIN32_FILE_ATTRIBUTE_DATA m_baseStamp{};
    bool m_bToldOtherCopy = false;
    bool m_bSessionEnding = false;  // within WM_QUERYENDSESSION
    bool m_bExiting = false;
    INT_PTR m_nExitResult = 0;
    // Find
    HWND m_findEdit = nullptr;
    HWND m_findClose = nullptr;
    RECT m_rcListWhole{};              // the list's place without the box
    std::u16string m_strFindQuery;     // folded; empty shows every note
    std::u16string m_strFindTyped;     // as typed
    std::unique_ptr<FoldedTextCache> m_findCache;
    std::set<NotePos> m_hiddenSelection;  // selected rows the find hides
};
