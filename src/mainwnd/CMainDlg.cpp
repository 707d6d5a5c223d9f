#include "mainwnd/CMainDlg.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/AppPaths.h"
#include "app/CNotesApp.h"
#include "app/RunningCopy.h"
#include "mainwnd/AboutText.h"
#include "framework/LogFontA.h"
#include "framework/ScopedHandles.h"
#include "framework/WideText.h"
#include "framework/WindowDpi.h"
#include "mainwnd/CAboutDlg.h"
#include "mainwnd/CBackupsDlg.h"
#include "mainwnd/CDeletedNotesDlg.h"
#include "mainwnd/CTextDlg.h"
#include "mainwnd/MainWndModel.h"
#include "mainwnd/NotePlacement.h"
#include "mainwnd/SystemTextFold.h"
#include "notes/Archive.h"
#include "notes/NoteFileStore.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"
#include "schedule/CNWSchedDlg.h"
#include "settings/COptionsDlg.h"
#include "skin/CSplashWindow.h"
#include "framework/ScaledPicture.h"
#include "tray/CBmpMenu.h"

namespace {

constexpr COLORREF kFindMarkColor = RGB(255, 214, 92);  // a text marker's yellow
constexpr int kImageWidth = 45;
constexpr int kImageHeight = 15;
constexpr COLORREF kImageMask = RGB(255, 0, 255);
constexpr int kListX = 149, kListY = 32, kListWidth = 358, kListHeight = 213;
constexpr DWORD kListExStyles = LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_CHECKBOXES |
                                LVS_EX_FULLROWSELECT;
static_assert(kListExStyles == 0x27);

// The LOGFONT of a 12-point Arial font as the screen realises the request.
// Its height is for 96 DPI, as every note stores it; a note window scales it
// to its display.
LogFont PointFontLogFont()
{
    LOGFONTA request{};
    request.lfHeight = -MulDiv(120, DisplayScale::kBaseDpi, 720);
    request.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(request.lfFaceName, "Arial");
    UniqueFont font(CreateFontIndirectA(&request));
    LOGFONTA readBack = request;
    if (font)
        GetObjectA(font, sizeof readBack, &readBack);
    return FromLogFontA(readBack);
}

}  // namespace

CMainDlg::CMainDlg(CNoteList& notes, int screenColorCount)
    : CSkinDialog(IDD_MAIN),
      m_notes(notes),
      m_scheduler(notes, m_noteHost),
      m_crDefaultBack(DefaultNoteBackColor(screenColorCount)),
      m_lfDefault(PointFontLogFont()),
      m_strSkinFile(SkinFilePath(CWinAppBase::ModulePath()))
{
    m_hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CMainDlg::~CMainDlg()
{
    // Destroyed here, while the object is still a main window, so that its
    // own WM_DESTROY handling (the column widths) runs.
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
    if (m_imageList)
        ImageList_Destroy(m_imageList);
}

int CMainDlg::ScreenColorCount()
{
    ScopedGetDC screen(nullptr);
    return GetDeviceCaps(screen, NUMCOLORS);
}

BOOL CMainDlg::OnInitDialog()
{
    // The splash window is made here, before anything else of the window.
    OpenStartupSplash();
    CSkinDialog::OnInitDialog();
    CNotesApp::GetApp().m_hMainWnd = m_hWnd;
    m_noteHost.SetMainWindow(m_hWnd);
    MarkMainWindow(m_hWnd);
    m_list = GetItem(IDC_NOTE_LIST);
    m_hListFont = reinterpret_cast<HFONT>(SendMessageA(m_list, WM_GETFONT, 0, 0));
    m_nListFontDpi = WindowDpi(m_hWnd);

    HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
    char about[128] = {};
    if (systemMenu && LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof about) > 0) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
    }
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    LayOutNoteList(WindowScale(m_hWnd));

    SetupColumns();
    LoadNewNoteStyle();
    FillNoteList();
    // What was read is the base that later changes on disk are told from.
    if (!m_notes.m_strPath.empty())
        m_sync.RememberFileAsBase(m_notes.StoreToBytes());
    SetWindowTextA(m_hWnd, "Velumo");
    OpenSkin(m_strSkinFile);
    m_hotkeys.Start(m_hWnd);
    SetTimer(m_hWnd, kStartTimer, 500, nullptr);
    // A timer comes after the main window's first painting.
    SetTimer(m_hWnd, kMainWindowShownTimer, 0, nullptr);
    return TRUE;
}

void CMainDlg::SetupColumns()
{
    SendMessageA(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, kListExStyles, kListExStyles);
    SendMessageA(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(m_hListFont), TRUE);

    // A 24-bit list: loading the 16-colour strip directly loses its greys
    // and whites to the mask on some systems.
    SetListImages(WindowScale(m_hWnd));

    for (int i = 0; i < kColumnCount; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = WindowScale(m_hWnd).ToPixels(kDefaultColumnWidths[i]);
        column.pszText = const_cast<char*>(kColumnTitles[i]);
        column.iSubItem = i;
        SendMessageA(m_list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }

    // Column 0 holds the check boxes and always starts at its own width.
    auto& app = CNotesApp::GetApp();
    for (int n = 1; n < HeaderColumnCount(); ++n) {
        const int width = app.GetProfileInt(kWidthSection, ColumnWidthKey(n).c_str(), -1);
        if (width > 0)
            SendMessageA(m_list, LVM_SETCOLUMNWIDTH, n,
                         MAKELPARAM(WindowScale(m_hWnd).ToPixels(width) & 0xFFFF, 0));
    }
}

void CMainDlg::SaveColumnWidths()
{
    if (!m_list)
        return;
    auto& app = CNotesApp::GetApp();
    for (int n = 1; n < HeaderColumnCount(); ++n)
        app.WriteProfileInt(kWidthSection, ColumnWidthKey(n).c_str(), SkinScale().ToBase(ColumnWidth(n)));
}

int CMainDlg::HeaderColumnCount() const
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(m_list, LVM_GETHEADER, 0, 0));
    return static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

std::string CMainDlg::ColumnWidthKey(int column)
{
    char key[32];
    std::snprintf(key, sizeof key, "Col%dWidth", column);
    return key;
}

int CMainDlg::ColumnWidth(int column) const
{
    return static_cast<int>(SendMessageA(m_list, LVM_GETCOLUMNWIDTH, column, 0));
}

void CMainDlg::FillNoteList()
{
    // One repaint for the whole list instead of one per row: with thousands
    // of notes the redraws, not the rows, would make up the start-up.
    SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(std::max<int>(m_notes.m_nCount, 0)), 0);
    size_t index = 0;
    for (NotePos pos = m_notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos), ++index)
        if (MatchesFind(m_notes.GetAt(pos), index))
            PutNoteRow(m_notes.GetAt(pos), pos, -1);
    SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
}

void CMainDlg::PutNoteRow(CNote* note, NotePos pos, int row)
{
    if (row < 0) {
        LVITEMA item{};
        item.mask = LVIF_PARAM | LVIF_TEXT;
        item.iItem = static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<char*>("");
        item.lParam = reinterpret_cast<LPARAM>(pos);
        row = static_cast<int>(SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (row < 0)
            return;
    }
    ListView_SetCheckState(m_list, row, note->m_bOnTop != 0);

    LVITEMA cell{};
    cell.mask = LVIF_IMAGE;
    cell.iItem = row;
    cell.iSubItem = 1;
    cell.iImage = VisImageOf(*note);
    SendMessageA(m_list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&cell));
    cell.iSubItem = 2;
    cell.iImage = SchdImageOf(*note);
    SendMessageA(m_list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&cell));

    // Wide, so the row shows every character of the note.
    std::u16string text = RowTextOf(note->m_strText);
    LVITEMW textCell{};
    textCell.mask = LVIF_TEXT;
    textCell.iItem = row;
    textCell.iSubItem = 3;
    textCell.pszText = WideChars(text);
    SendMessageW(m_list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&textCell));
    // A refresh leaves the selection as the user made it: rows selected by
    // typing into a note or by Hide all would be deleted by the next
    // "Delete note" without the user ever having picked them.
}

int CMainDlg::GetSingleSelection() const
{
    if (SendMessageA(m_list, LVM_GETSELECTEDCOUNT, 0, 0) != 1)
        return -1;
    return static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

CNote* CMainDlg::NoteOfRow(int row) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(m_list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return m_notes.GetAt(reinterpret_cast<NotePos>(item.lParam));
}

LRESULT CMainDlg::OnNoteChanged(WPARAM wParam, LPARAM lParam)
{
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = lParam;
    const int row = static_cast<int>(
        SendMessageA(m_list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    if (row < 0)
        return 0;  // no such note (any more): nothing to do
    auto pos = reinterpret_cast<NotePos>(lParam);
    if (wParam == NOTE_DELETED) {
        SendMessageA(m_list, LVM_DELETEITEM, row, 0);
        std::vector<UndoDeletes::Deleted> step;
        const int index = m_notes.IndexOf(pos);  // the row's index differs while finding
        step.push_back({m_notes.Detach(pos), index});
        KeepDeleted(std::move(step));
    } else {
        PutNoteRow(m_notes.GetAt(pos), pos, row);
        // The paper swatch may be all that changed: the row is drawn anew.
        SendMessageA(m_list, LVM_REDRAWITEMS, row, row);
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

void CMainDlg::AddNote(const NoteRect* place)
{
    // A full list takes no more notes: nothing is made at all.
    if (m_notes.m_nCount >= CNoteList::kMaxNotes)
        return;
    auto note = std::make_unique<CNote>();
    note->m_crBack = m_crDefaultBack;
    note->m_crText = m_crDefaultText;
    note->m_logFont = m_lfDefault;
    if (place)
        note->m_rcWindow = *place;
    CNote* raw = note.get();
    CreateNoteWindow(raw, true);
    NotePos pos = m_notes.Add(note, -1);
    PutNoteRow(raw, pos, -1);
    if (raw->m_pWnd)
        SetActiveWindow(raw->m_pWnd->GetHwnd());
}

void CMainDlg::DeleteSelectedNotes()
{
    int selected = static_cast<int>(SendMessageA(m_list, LVM_GETSELECTEDCOUNT, 0, 0));
    int rowToSelect = 0;
    // Rows are in list order, so going up the rows goes up the list: each
    // note's index is still the one it had before this delete. (While
    // finding, rows are not the list's indexes.)
    std::vector<UndoDeletes::Deleted> step;
    for (int row = static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0)) - 1;
         row >= 0 && selected > 0; --row) {
        if (!(ListView_GetItemState(m_list, row, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        CNote* note = NoteOfRow(row);
        SendMessageA(m_list, LVM_DELETEITEM, row, 0);
        --selected;
        if (rowToSelect == 0)
            rowToSelect = row;
        if (note) {
            const int index = m_notes.IndexOf(note->m_pos);
            step.push_back({m_notes.Detach(note->m_pos), index});
        }
    }
    KeepDeleted(std::move(step));
    const int rows = static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0));
    const int select = RowToSelectAfterDelete(rowToSelect, rows);
    if (select >= 0)
        ListView_SetItemState(m_list, select, LVIS_SELECTED, LVIS_SELECTED);
}

void CMainDlg::KeepDeleted(std::vector<UndoDeletes::Deleted> step)
{
    if (step.empty())
        return;
    // A copy goes to the bin at once, so the note survives the end of the
    // run; the note itself waits for Ctrl+Z.
    if (CDeletedNotesBin* bin = Bin()) {
        const NoteTime now = CurrentNoteTime();
        for (const UndoDeletes::Deleted& deleted : step)
            bin->Add(*deleted.note, now);
        bin->Save();
    }
    m_undo.Push(std::move(step));
}

CDeletedNotesBin* CMainDlg::Bin()
{
    return m_sync.Bin();
}

void CMainDlg::UndoDelete()
{
    const std::vector<CNote*> restored = m_undo.UndoInto(m_notes);
    if (restored.empty())
        return;
    if (CDeletedNotesBin* bin = Bin()) {
        for (const CNote* note : restored)
            bin->Forget(*note);
        bin->Save();
    }
    BringBackNotes(restored);
}

void CMainDlg::BringBackNotes(const std::vector<CNote*>& notes)
{
    // The notes may sit between others: the rows are laid out again.
    FillNoteList();
    for (CNote* note : notes) {
        if (note->m_bVisible && !note->m_pWnd)
            CreateNoteWindow(note, false);
        PostNoteChanged(note->m_pos);  // refreshed and selected
    }
}

void CMainDlg::ShowDeletedNotes()
{
    CDeletedNotesBin* bin = Bin();
    if (!bin)
        return;
    bin->Prune(CurrentNoteTime());
    CDeletedNotesDlg dlg(*bin);
    if (dlg.DoModal(m_hWnd) != IDOK || dlg.m_chosen.empty())
        return;
    std::vector<CNote*> restored;
    for (size_t index : dlg.m_chosen) {
        std::unique_ptr<CNote> note = bin->Take(index);
        CNote* raw = note.get();
        if (!note || !m_notes.Add(note))
            break;  // a full list takes no more; the rest stay in the bin
        restored.push_back(raw);
    }
    bin->Save();
    BringBackNotes(restored);
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
    for (NotePos p = m_notes.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
        CNote* note = m_notes.GetAt(p);
        if (note->m_bVisible && !note->m_pWnd)
            CreateNoteWindow(note, false);
    }
}

void CMainDlg::LoadNewNoteStyle()
{
    const auto& app = CNotesApp::GetApp();
    if (app.ProfileFile().empty())
        return;
    const NoteStyle style = ReadNoteStyle(
        [&](const char* key) { return app.GetProfileString(kStyleSection, key); }, NewNoteStyle());
    m_crDefaultBack = style.back;
    m_crDefaultText = style.text;
    m_lfDefault = style.font;
}

NoteStyle CMainDlg::NewNoteStyle() const
{
    return NoteStyle{m_crDefaultBack, m_crDefaultText, m_lfDefault};
}

void CMainDlg::UseAsNewNoteStyle(const CNote& note)
{
    m_crDefaultBack = note.m_crBack;
    m_crDefaultText = note.m_crText;
    m_lfDefault = note.m_logFont;
    const auto& app = CNotesApp::GetApp();
    if (!app.ProfileFile().empty())
        WriteNoteStyle([&](const char* key, const std::string& value) {
            app.WriteProfileString(kStyleSection, key, value);
        }, NewNoteStyle());
}

void CMainDlg::ShowListMenu()
{
    UniqueMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LIST_MENU)));
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    EnableMenuItem(popup, ID_UNDO_DELETE, MF_BYCOMMAND | (m_undo.CanUndo() ? MF_ENABLED : MF_GRAYED));
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
    const int row = GetSingleSelection();
    if (row < 0) {
        // One schedule belongs to one note: with several rows selected the
        // user is told why nothing opens.
        if (SendMessageA(m_list, LVM_GETSELECTEDCOUNT, 0, 0) > 1)
            TellUser("Select one note to schedule.");
        return;
    }
    if (CNote* note = NoteOfRow(row))
        RunScheduleDialog(note);
}

void CMainDlg::TellUser(const char* text)
{
    MessageBoxA(m_hWnd, text, kMessageCaption, MB_OK | MB_ICONINFORMATION);
}

void CMainDlg::OpenSelectedNote()
{
    // The row with the keyboard's focus when it is selected, else the one
    // selected row.
    int row = static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (row < 0 || !(ListView_GetItemState(m_list, row, LVIS_SELECTED) & LVIS_SELECTED))
        row = GetSingleSelection();
    CNote* note = row >= 0 ? NoteOfRow(row) : nullptr;
    if (!note)
        return;
    if (!note->m_bVisible) {
        note->m_bVisible = 1;
        m_notes.m_bModified = 1;
        PutNoteRow(note, note->m_pos, row);
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

void CMainDlg::OnSkinButton(const std::string& name)
{
    if (name == "BUTTON_MINMIZE")
        ShowWindow(m_hWnd, SW_HIDE);
    else if (name == "BUTTON_ADDNOTE")
        AddNote();
    else if (name == "BUTTON_DELNOTE")
        DeleteSelectedNotes();
    else if (name == "BUTTON_CALENDAR")
        ScheduleSelectedNote();
    else if (name == "BUTTON_HELP")
        ShowHelpMenu();
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
    SaveBeforeExit();
    EndDialog(0);
}

void CMainDlg::OnCancel()
{
    SaveBeforeExit();
    CSkinDialog::OnCancel();
}

SaveOutcome CMainDlg::SaveNotes()
{
    const NotesSync::Result merged = m_sync.MergeOutsideChanges();
    // Never a message box while Windows waits to end the session.
    if (merged.outcome == NotesSync::Outcome::kKeptUnreadable && !m_bToldOtherCopy && !m_bSessionEnding) {
        m_bToldOtherCopy = true;
        TellUser(("Your notes file was changed from elsewhere in a way Velumo cannot read. That version is "
                  "kept as\r\n" + merged.copyPath + "\r\nand your notes are saved as they are here.").c_str());
    }
    if (!m_notes.m_bModified)
        return SaveOutcome::kNothingToSave;
    if (m_notes.Save()) {
        m_sync.RememberFileAsBase(m_notes.LastWritten());
        return SaveOutcome::kSaved;
    }
    m_nSaveError = GetLastError();
    return SaveOutcome::kFailed;
}

std::string CMainDlg::SaveFailureText(const char* advice) const
{
    wchar_t* system = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        m_nSaveError, 0, reinterpret_cast<wchar_t*>(&system), 0, nullptr);
    std::string reason = length && system ? Utf8FromWide(std::wstring_view(system, length)) : std::string();
    if (system)
        LocalFree(system);
    while (!reason.empty() && std::isspace(static_cast<unsigned char>(reason.back())))
        reason.pop_back();
    if (reason.empty())
        reason = "System error " + std::to_string(m_nSaveError) + ".";
    return "Your notes could not be saved to\r\n" + m_notes.m_strPath + "\r\n\r\n" + reason + "\r\n\r\n" + advice;
}

int CMainDlg::ShowSaveMessage(const std::string& text, UINT flags)
{
    // Paths are UTF-8: the wide call shows any folder name.
    return MessageBoxW(m_hWnd, WideFromUtf8(text).c_str(), WideFromUtf8(kMessageCaption).c_str(), flags);
}

void CMainDlg::TellSaveFailure()
{
    // One message at a time: saves go on failing while it is open.
    if (!m_bSaveFailureDue || m_bShowingSaveMessage)
        return;
    m_bSaveFailureDue = false;
    m_bShowingSaveMessage = true;
    ShowSaveMessage(SaveFailureText("Your changes are kept, and saving them is tried again every few seconds."),
                    MB_OK | MB_ICONEXCLAMATION);
    m_bShowingSaveMessage = false;
}

void CMainDlg::SaveBeforeExit()
{
    // No housekeeping pass runs into the last save or its question.
    KillTimer(m_hWnd, kStartTimer);
    KillTimer(m_hWnd, kTickTimer);
    KillTimer(m_hWnd, kMainWindowShownTimer);
    m_bShowingSaveMessage = true;
    while (SaveNotes() == SaveOutcome::kFailed &&
           ShowSaveMessage(SaveFailureText("Free the file and choose Retry, or choose Cancel to quit without "
                                           "saving your latest changes."),
                           MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY) {
    }
    m_bShowingSaveMessage = false;
}

void CMainDlg::OnListClick()
{
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(m_list, &pt);
    LVHITTESTINFO hit{};
    hit.pt = pt;
    SendMessageA(m_list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    // The blank image of column 0 reaches into the Vis column: a hit on it
    // beyond column 1's width is a click on the Vis box.
    if (hit.flags != LVHT_ONITEMICON || pt.x <= ColumnWidth(1) || hit.iItem < 0)
        return;
    CNote* note = NoteOfRow(hit.iItem);
    if (!note)
        return;
    note->m_bVisible = note->m_bVisible ? 0 : 1;
    m_notes.m_bModified = 1;
    PutNoteRow(note, note->m_pos, hit.iItem);
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
        ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(m_list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        OpenSelectedNote();
        return;
    }
    CNote* note = NoteOfRow(row);
    if (!note)
        return;
    if (column == 2) {
        if (RunScheduleDialog(note) == IDOK)
            PutNoteRow(note, note->m_pos, row);
    } else if (column == 3) {
        CTextDlg dlg;
        dlg.m_strText = note->m_strText;
        if (dlg.DoModal(m_hWnd) != IDOK)
            return;
        note->m_strText = dlg.m_strText;
        m_notes.m_bModified = 1;
        PutNoteRow(note, note->m_pos, row);
        if (note->m_pWnd)
            PostMessageA(note->m_pWnd->GetHwnd(), WM_NOTE_CHANGED, NOTE_REFRESHED, 0);
    }
}

void CMainDlg::OnListItemChanged(const NMLISTVIEW& change)
{
    if (change.iItem < 0 || change.iSubItem != 0 || change.uOldState == 0)
        return;
    CNote* note = NoteOfRow(change.iItem);
    if (!note)
        return;
    const uint16_t ticked = ListView_GetCheckState(m_list, change.iItem) ? 1 : 0;
    if (ticked == note->m_bOnTop)
        return;
    note->m_bOnTop = ticked;
    m_notes.m_bModified = 1;
    // Not activated: the list keeps the focus, so Space and the arrows go
    // on working there.
    if (note->m_pWnd)
        SetWindowPos(note->m_pWnd->GetHwnd(), ticked ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMainDlg::RunSchedulerPass()
{
    if (m_saveNotice.ShouldTell(SaveNotes()))
        m_bSaveFailureDue = true;
    m_scheduler.ScheduleTick();
}

void CMainDlg::OnTimer(UINT_PTR id)
{
    KillTimer(m_hWnd, id);
    if (id == kMainWindowShownTimer) {
        OnMainWindowShown();
    } else if (id == kStartTimer) {
        SetTimer(m_hWnd, kTickTimer, 1000, nullptr);
    } else if (id == kTickTimer) {
        // Re-armed only after the pass: passes never overlap.
        RunSchedulerPass();
        SetTimer(m_hWnd, kTickTimer, 5000, nullptr);
        // Told after re-arming: the passes go on while the message is open.
        TellSaveFailure();
        // A daily backup that could not be kept is told once; the save went on.
        if (!m_bShowingSaveMessage && m_notes.TakeBackupFailure())
            ShowSaveMessage(BackupFailureText(m_notes.m_strPath), MB_OK | MB_ICONEXCLAMATION);
    }
}

void CMainDlg::OnMainWindowShown()
{
    // The shell takes its time over a new icon (a good part of the start-up
    // under Wine): the user sees the main window first.
    HICON trayIcon = CNotesApp::GetApp().m_hTrayIcon;
    if (!trayIcon)
        trayIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TRAY));
    m_tray.Create(m_hWnd, WM_TRAYNOTIFY, "Velumo", trayIcon, IDR_TRAY_MENU);
    // The notes left on screen come back at once rather than with the first
    // housekeeping pass.
    m_scheduler.ShowVisibleNotes();
}

bool CMainDlg::OnCommand(UINT id)
{
    switch (id) {
    case ID_ADD_NOTE: AddNote(); return true;
    case ID_VIEW_NOTE_LIST: OnViewNoteList(); return true;
    case ID_BRING_TO_TOP: OnBringNotesToTop(); return true;
    case ID_SHOW_ALL: OnShowAllNotes(); return true;
    case ID_HIDE_ALL: OnHideAllNotes(); return true;
    case ID_OPTIONS: OnOptions(); return true;
    case ID_HELP_CMD:
    case ID_HELP_TOPICS:
    case ID_HELP: OnHelp(); return true;
    case IDM_ABOUTBOX:
    case ID_HELP_ABOUT: OnAbout(); return true;
    case ID_WEB_SITE: OnWebSite(); return true;
    case ID_APP_EXIT_CMD: OnExit(); return true;
    case ID_UNDO_DELETE: UndoDelete(); return true;
    case ID_DELETED_NOTES: ShowDeletedNotes(); return true;
    case ID_LIST_RESTORE_BACKUP: RestoreBackup(); return true;
    case ID_LIST_FIND: OpenFind(); return true;
    case IDC_FIND_CLOSE: CloseFind(); return true;
    default: return false;
    }
}

LRESULT CMainDlg::OnCustomDraw(NMLVCUSTOMDRAW& draw)
{
    const DWORD stage = draw.nmcd.dwDrawStage;
    const int item = (stage & CDDS_ITEM) ? static_cast<int>(draw.nmcd.dwItemSpec) : -1;
    if (stage == (CDDS_SUBITEM | CDDS_ITEMPOSTPAINT)) {
        RedrawRowImage(draw.nmcd.hdc, item, draw.iSubItem);
        return CDRF_DODEFAULT;
    }
    if (stage == (CDDS_SUBITEM | CDDS_ITEMPREPAINT) && draw.iSubItem == 3 && item >= 0) {
        DrawTextCell(draw.nmcd.hdc, item);
        return CDRF_SKIPDEFAULT;
    }
    if ((stage & (CDDS_ITEM | CDDS_PREPAINT)) == 0 || item < 0)
        return CDRF_NOTIFYITEMDRAW;
    // Rows show in the window colours whatever the notes' own colours are.
    draw.clrTextBk = GetSysColor(COLOR_WINDOW);
    draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
    SelectObject(draw.nmcd.hdc, ListFont());
    const bool imageCell = (stage & CDDS_SUBITEM) && (draw.iSubItem == 1 || draw.iSubItem == 2);
    return CDRF_NEWFONT | CDRF_NOTIFYSUBITEMDRAW | (imageCell ? CDRF_NOTIFYPOSTPAINT : 0);
}

void CMainDlg::DrawTextCell(HDC dc, int row)
{
    // The Text cell starts with a swatch of the note's paper, so that "the
    // green note" can be found in the list; the text follows it.
    const CNote* note = NoteOfRow(row);
    RECT cell{};
    if (!note || !ListView_GetSubItemRect(m_list, row, 3, LVIR_BOUNDS, &cell))
        return;
    const bool selected = (ListView_GetItemState(m_list, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    const bool focused = GetFocus() == m_list;
    const int back = !selected ? COLOR_WINDOW : focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
    const int ink = !selected ? COLOR_WINDOWTEXT : focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
    FillRect(dc, &cell, GetSysColorBrush(back));

    const int side = std::max<int>(4, cell.bottom - cell.top - 6);
    RECT swatch{cell.left + 4, cell.top + 3, cell.left + 4 + side, cell.top + 3 + side};
    UniqueBrush paper(CreateSolidBrush(note->m_crBack));
    FillRect(dc, &swatch, paper.Get());
    FrameRect(dc, &swatch, GetSysColorBrush(COLOR_GRAYTEXT));

    RECT label{swatch.right + 4, cell.top, cell.right - 2, cell.bottom};
    ScopedSelect font(dc, ListFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(ink));
    std::u16string text = RowTextOf(note->m_strText);
    size_t length = 0;
    const size_t match = m_strFindQuery.empty()
                             ? std::u16string::npos
                             : FindInText(SystemTextFold(), note->m_strText, m_strFindTyped, &length);
    if (match == std::u16string::npos) {
        DrawTextW(dc, WideChars(text), -1, &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        return;
    }
    // While finding, the row starts shortly before the match, and the match
    // is marked, so the user sees why the note was found.
    const std::u16string shown = TextAroundMatch(text, match);
    const size_t start = shown.size() - (text.size() - match);
    const std::u16string parts[3] = {shown.substr(0, start), shown.substr(start, length),
                                     shown.substr(std::min(start + length, shown.size()))};
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, label.left, label.top, label.right, label.bottom);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_UPDATECP);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    MoveToEx(dc, label.left, (label.top + label.bottom - metrics.tmHeight) / 2, nullptr);
    for (int i = 0; i < 3; ++i) {
        if (i == 1) {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, kFindMarkColor);
            SetTextColor(dc, RGB(0, 0, 0));
        } else if (i == 2) {
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(ink));
        }
        ExtTextOutW(dc, 0, 0, 0, nullptr, WideChars(parts[i]), static_cast<UINT>(parts[i].size()), nullptr);
    }
    RestoreDC(dc, saved);
}

void CMainDlg::RedrawRowImage(HDC dc, int row, int column)
{
    // The list view blends the images of selected rows with the selection
    // colour, which leaves the Vis and Schd boxes unreadable (a chequered
    // square under Wine): they are drawn over again as they are. The Text
    // cell still shows the selection.
    if (row < 0 || !(ListView_GetItemState(m_list, row, LVIS_SELECTED) & LVIS_SELECTED))
        return;
    LVITEMA cell{};
    cell.mask = LVIF_IMAGE;
    cell.iItem = row;
    cell.iSubItem = column;
    RECT icon{}, bounds{};
    if (!SendMessageA(m_list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&cell)) ||
        !ListView_GetSubItemRect(m_list, row, column, LVIR_ICON, &icon) ||
        !ListView_GetSubItemRect(m_list, row, column, LVIR_BOUNDS, &bounds))
        return;
    int width = 0, height = 0;
    ImageList_GetIconSize(m_imageList, &width, &height);
    RECT image{icon.left, icon.top, icon.left + width, icon.top + height};
    // The images are wider than their columns: only the cell is drawn on.
    if (!IntersectRect(&image, &image, &bounds))
        return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, image.left, image.top, image.right, image.bottom);
    FillRect(dc, &image, GetSysColorBrush(COLOR_WINDOW));
    ImageList_Draw(m_imageList, cell.iImage, dc, icon.left, icon.top, ILD_NORMAL);
    RestoreDC(dc, saved);
}

LRESULT CMainDlg::OnNotify(NMHDR& header)
{
    if (header.hwndFrom != m_list)
        return 0;
    switch (header.code) {
    case NM_CUSTOMDRAW:
        return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
    case NM_CLICK:
        OnListClick();
        return 0;
    case NM_DBLCLK: {
        const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
        OnListDblClick(activate.iItem, activate.iSubItem);
        return 0;
    }
    case LVN_ITEMCHANGED:
        OnListItemChanged(reinterpret_cast<const NMLISTVIEW&>(header));
        return 0;
    case NM_RCLICK:
        ShowListMenu();
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
    if (key == 'Z' && ctrl && !alt && target != m_findEdit) {
        UndoDelete();
        return true;
    }
    if (key == 'F' && ctrl && !alt) {
        OpenFind();
        return true;
    }
    if (target == m_findEdit && m_findEdit) {
        if (key == VK_RETURN)
            OpenFoundNote();
        else if (key == VK_ESCAPE)
            CloseFind();
        else if (key == VK_DOWN && SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0) > 0)
            SetFocus(m_list);  // on to the found rows
        else
            return false;
        return true;
    }
    if (key == VK_ESCAPE && IsFinding()) {
        CloseFind();
        return true;
    }
    // Enter and Escape never end the main window: Enter opens the selected
    // note from the list and presses a skin button that has the focus.
    if (key == VK_RETURN) {
        if (target == m_list)
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
        if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
            OnAbout();
            return TRUE;
        }
        return FALSE;
    case WM_LBUTTONDOWN:
        if (IsInDragBand(SkinScale().ToBase(GET_X_LPARAM(lParam)), SkinScale().ToBase(GET_Y_LPARAM(lParam))))
            PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        break;
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_DESTROY:
        SaveColumnWidths();
        m_hotkeys.Stop();
        m_tray.RemoveIcon();
        UnmarkMainWindow(m_hWnd);
        break;
    case WM_QUERYENDSESSION:
        // The steps after the modal run may never come: save now. Windows
        // is ending, so a failure is not told now; should the session go on
        // after all, the next pass tells it.
        m_bSessionEnding = true;
        if (m_saveNotice.ShouldTell(SaveNotes()))
            m_bSaveFailureDue = true;
        m_bSessionEnding = false;
        SetMsgResult(TRUE);
        return TRUE;
    case WM_ENDSESSION:
        // A tray program is mostly ended by logging off, not by Exit: the
        // auto-start choice is written now, as the exit step would.
        if (wParam)
            CNotesApp::GetApp().SaveAutoRunSetting();
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
        SetMsgResult(OnNotify(*reinterpret_cast<NMHDR*>(lParam)));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_FIND_EDIT) {
            if (HIWORD(wParam) == EN_CHANGE)
                OnFindChanged();
            return TRUE;
        }
        if (HIWORD(wParam) <= 1 && OnCommand(LOWORD(wParam)))
            return TRUE;
        break;
    case WM_NOTE_STYLE_DEFAULT:
        if (CNote* note = m_notes.GetAt(reinterpret_cast<NotePos>(lParam)))
            UseAsNewNoteStyle(*note);
        return TRUE;
    }
    return CSkinDialog::HandleMessage(msg, wParam, lParam);
}

// The list's place and its pictures are 96-DPI values in the skin's frame;
// they scale with it.
void CMainDlg::LayOutNoteList(const DisplayScale& scale)
{
    SetWindowPos(m_list, nullptr, scale.ToPixels(kListX), scale.ToPixels(kListY), scale.ToPixels(kListWidth),
                 scale.ToPixels(kListHeight), SWP_NOZORDER);
}

void CMainDlg::SetListImages(const DisplayScale& scale)
{
    // A 24-bit list: loading the 16-colour strip directly loses its greys
    // and whites to the mask on some systems.
    const SIZE image{scale.ToPixels(kImageWidth), scale.ToPixels(kImageHeight)};
    HIMAGELIST images = ImageList_Create(image.cx, image.cy, ILC_COLOR24 | ILC_MASK, 5, 2);
    UniqueBitmap strip(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_LISTICONS),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (strip && !scale.IsBase()) {
        BITMAP info{};
        GetObjectA(strip, sizeof info, &info);
        strip.Reset(ScaleKeyedPicture(strip, ScaledPictureSize(SIZE{info.bmWidth, info.bmHeight}, scale), kImageMask,
                                      GetSysColor(COLOR_WINDOW)));
    }
    if (images && strip)
        ImageList_AddMasked(images, strip, kImageMask);
    SendMessageA(m_list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    SendMessageA(m_list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    if (m_imageList)
        ImageList_Destroy(m_imageList);
    m_imageList = images;
}

void CMainDlg::OnDpiChanged(int dpi, const RECT& suggested)
{
    // Column widths are kept across the change in 96-DPI units, as the
    // settings file keeps them.
    // The find box is laid out over the list's old place: it goes first.
    CloseFind();
    const DisplayScale before = SkinScale();
    std::vector<int> widths;
    for (int n = 0; n < HeaderColumnCount(); ++n)
        widths.push_back(before.ToBase(ColumnWidth(n)));
    RescaleSkin(dpi, suggested);
    const DisplayScale& after = SkinScale();
    // The dialog's font was made for the scale the window started at.
    LOGFONTA lf{};
    if (m_hListFont && GetObjectA(m_hListFont, sizeof lf, &lf)) {
        lf.lfHeight = MulDiv(lf.lfHeight, after.Dpi(), m_nListFontDpi);
        UniqueFont font(CreateFontIndirectA(&lf));
        SendMessageA(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
        m_listFontAtScale = std::move(font);
    }
    LayOutNoteList(after);
    SetListImages(after);
    for (int n = 0; n < static_cast<int>(widths.size()); ++n)
        SendMessageA(m_list, LVM_SETCOLUMNWIDTH, n, MAKELPARAM(after.ToPixels(widths[n]) & 0xFFFF, 0));
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
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    const HMONITOR screen = MonitorFromPoint(mouse, MONITOR_DEFAULTTONEAREST);
    GetMonitorInfoW(screen, &monitor);
    const RECT& work = monitor.rcWork;
    // Placed in that screen's pixels, stored in 96-DPI units as every note.
    const NoteRect shown{work.left, work.top, work.right, work.bottom};
    const DisplayScale scale(MonitorDpi(screen));
    const NoteRect place = scale.ToBase(NoteRectAround(scale.ToPixels(kDefaultNoteWidth),
                                                       scale.ToPixels(kDefaultNoteHeight), mouse.x, mouse.y, shown));
    AddNote(&place);
}

// Find

void CMainDlg::OpenFind()
{
    if (!m_list)
        return;
    if (!m_findEdit) {
        GetWindowRect(m_list, &m_rcListWhole);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&m_rcListWhole), 2);
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        m_findEdit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                     WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0, m_hWnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FIND_EDIT)), instance, nullptr);
        // The button's text is what a screen reader says; the cross is
        // what the eye sees.
        m_findClose = CreateWindowExW(0, L"BUTTON", L"\u00D7", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0,
                                      m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FIND_CLOSE)),
                                      instance, nullptr);
        for (HWND control : {m_findEdit, m_findClose})
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(ListFont()), FALSE);
        SendMessageW(m_findEdit, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"Find notes"));
        SendMessageA(m_findEdit, EM_SETLIMITTEXT, 256, 0);
        // The box comes before the list in the Tab order.
        SetWindowPos(m_findEdit, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        m_findCache = std::make_unique<FoldedTextCache>(SystemTextFold());
        m_hiddenSelection.clear();
        m_strFindQuery.clear();
        PlaceFindBox();
    }
    SetFocus(m_findEdit);
    SendMessageA(m_findEdit, EM_SETSEL, 0, -1);
}

void CMainDlg::PlaceFindBox()
{
    const RECT& whole = m_rcListWhole;
    TEXTMETRICA metrics{};
    {
        ScopedGetDC dc(m_findEdit);
        ScopedSelect font(dc, ListFont());
        GetTextMetricsA(dc, &metrics);
    }
    const int height = metrics.tmHeight + 8;
    const int width = whole.right - whole.left;
    MoveWindow(m_findEdit, whole.left, whole.top, width - height - 2, height, TRUE);
    MoveWindow(m_findClose, whole.right - height, whole.top, height, height, TRUE);
    MoveWindow(m_list, whole.left, whole.top + height + 2, width, whole.bottom - whole.top - height - 2, TRUE);
}

void CMainDlg::CloseFind()
{
    if (!m_findEdit)
        return;
    const std::set<NotePos> selected = KeptSelection();
    const bool hadFocus = GetFocus() == m_findEdit || GetFocus() == m_findClose;
    DestroyWindow(m_findEdit);
    DestroyWindow(m_findClose);
    m_findEdit = m_findClose = nullptr;
    m_strFindQuery.clear();
    m_strFindTyped.clear();
    m_hiddenSelection.clear();
    MoveWindow(m_list, m_rcListWhole.left, m_rcListWhole.top, m_rcListWhole.right - m_rcListWhole.left,
               m_rcListWhole.bottom - m_rcListWhole.top, TRUE);
    RefilterRows();
    m_findCache.reset();
    SelectRowsOf(selected);
    if (hadFocus)
        SetFocus(m_list);
}

void CMainDlg::RefilterRows()
{
    // Only the rows that change are touched: with thousands of notes, a
    // typed character that hides a few rows costs a few row deletions, not
    // a new list.
    std::vector<NotePos> wanted;
    size_t index = 0;
    for (NotePos pos = m_notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos), ++index)
        if (MatchesFind(m_notes.GetAt(pos), index))
            wanted.push_back(pos);
    const std::unordered_set<NotePos> wantedSet(wanted.begin(), wanted.end());
    SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
    if (wanted.empty())
        SendMessageA(m_list, LVM_DELETEALLITEMS, 0, 0);  // at once, not row by row
    // From the last row up: a row deleted there moves few rows behind it.
    std::vector<NotePos> kept;
    for (int row = static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0)) - 1; row >= 0; --row) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(m_list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        const auto pos = reinterpret_cast<NotePos>(item.lParam);
        if (wantedSet.count(pos))
            kept.push_back(pos);
        else
            SendMessageA(m_list, LVM_DELETEITEM, row, 0);
    }
    std::reverse(kept.begin(), kept.end());
    // Rows are in list order: the new ones go between those that stayed.
    size_t next = 0;
    for (int row = 0; row < static_cast<int>(wanted.size()); ++row) {
        const NotePos pos = wanted[row];
        if (next < kept.size() && kept[next] == pos) {
            ++next;
            continue;
        }
        LVITEMA item{};
        item.mask = LVIF_PARAM | LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>("");
        item.lParam = reinterpret_cast<LPARAM>(pos);
        if (SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) >= 0)
            PutNoteRow(m_notes.GetAt(pos), pos, row);
    }
    SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
}

bool CMainDlg::MatchesFind(CNote* note, size_t index)
{
    return !IsFinding() || m_strFindQuery.empty() ||
           m_findCache->Contains(index, note, note->m_strText, m_strFindQuery);
}

std::set<NotePos> CMainDlg::KeptSelection() const
{
    std::set<NotePos> kept;
    // Selected before a find hid them, and still not shown.
    for (NotePos pos : m_hiddenSelection) {
        LVFINDINFOA find{};
        find.flags = LVFI_PARAM;
        find.lParam = reinterpret_cast<LPARAM>(pos);
        if (SendMessageA(m_list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)) < 0)
            kept.insert(pos);
    }
    for (int row = -1;
         (row = static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;) {
        if (const CNote* note = NoteOfRow(row))
            kept.insert(note->m_pos);
    }
    return kept;
}

void CMainDlg::SelectRowsOf(const std::set<NotePos>& notes)
{
    bool first = true;
    m_hiddenSelection.clear();
    for (NotePos pos : notes) {
        LVFINDINFOA find{};
        find.flags = LVFI_PARAM;
        find.lParam = reinterpret_cast<LPARAM>(pos);
        const int row = static_cast<int>(
            SendMessageA(m_list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
        if (row < 0) {
            // Still hidden by the find, or gone (a note deleted meanwhile
            // is never found again, so it is never selected).
            if (IsFinding() && m_notes.IndexOf(pos) >= 0)
                m_hiddenSelection.insert(pos);
            continue;
        }
        const UINT state = first ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
        ListView_SetItemState(m_list, row, state, state);
        if (first)
            ListView_EnsureVisible(m_list, row, FALSE);
        first = false;
    }
}

void CMainDlg::OnFindChanged()
{
    if (!m_findEdit)
        return;
    const std::u16string query = m_findCache->FoldQuery(GetWindowTextUtf16(m_findEdit));
    if (query == m_strFindQuery)
        return;
    const std::set<NotePos> selected = KeptSelection();
    m_strFindQuery = query;
    m_strFindTyped = GetWindowTextUtf16(m_findEdit);
    RefilterRows();
    SelectRowsOf(selected);
}

void CMainDlg::OpenFoundNote()
{
    // The row the user picked, else the first one found.
    const int rows = static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0));
    if (rows == 0) {
        MessageBeep(MB_OK);
        return;
    }
    int row = static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (row < 0 || !(ListView_GetItemState(m_list, row, LVIS_SELECTED) & LVIS_SELECTED))
        row = std::max(GetSingleSelection(), 0);
    ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(m_list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    OpenSelectedNote();
}
