// Note windows under Wine: shape, paint, placement, sizing, typing, the menu
// and its commands, and how a window and its note let go of each other.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/UnicodeText.h"
#include "notes/CNoteList.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/INoteHost.h"
#include "res/resource.h"
#include "schedule/CScheduler.h"
#include "WinTestUtil.h"

namespace {

// Note windows see their keys and right button only through the window
// filters, as in the program's own loops.
constexpr bool kFiltered = true;

NoteRect RectOf(HWND hwnd)
{
    const RECT rc = PlacedRect(hwnd);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

// Does what the main window and its note list do with what a note window
// tells them: records row refreshes and saves asked for, and removes a
// deleted note from the list at once. That the main window gets the refresh
// posted and the delete sent is MainWindowNoteHostTest's to check.
class RecordingHost : public INoteHost {
public:
    explicit RecordingHost(CNoteList& notes) : m_notes(notes) {}

    void NoteChanged(NotePos pos) override
    {
        m_bSaveNeeded = true;
        ++m_nRefreshes;
        m_lastPos = pos;
    }
    void NoteMoved() override { m_bSaveNeeded = true; }
    void NoteDeleted(NotePos pos) override
    {
        m_bWatchedAliveAtDelete = IsWindow(m_watched) != FALSE;
        for (NotePos p = m_notes.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            if (p == pos)
                return m_notes.Remove(p);
    }
    void UndoLastDelete() override { ++m_nUndoDeletes; }
    void UseAsNewNoteStyle(NotePos) override {}

    bool m_bSaveNeeded = false;
    int m_nRefreshes = 0;
    int m_nUndoDeletes = 0;
    NotePos m_lastPos = nullptr;
    HWND m_watched = nullptr;  // a note window: was it still there when told of the delete?
    bool m_bWatchedAliveAtDelete = false;

private:
    CNoteList& m_notes;
};

class NoteWndTest : public testing::Test {
protected:
    void TearDown() override
    {
        CNoteWnd::SetScheduleDialogOpener(nullptr);
        while (NotePos p = m_notes.GetHeadPosition())
            m_notes.Remove(p);
        PumpPending();
    }

    CNote* AddNote(NoteRect rc = {100, 100, 300, 250})
    {
        auto note = std::make_unique<CNote>();
        note->m_rcWindow = rc;
        return m_notes.GetAt(m_notes.Add(note));
    }

    // Shows the note as the program does, lets the first notifications pass
    // and starts counting afresh.
    HWND Show(CNote* note, bool focus = false)
    {
        note->m_pWnd = CNoteWnd::Create(note, focus, m_host);
        EXPECT_NE(note->m_pWnd, nullptr);
        PumpPending();
        StartCounting();
        return note->m_pWnd ? note->m_pWnd->GetHwnd() : nullptr;
    }

    void StartCounting()
    {
        m_host.m_nRefreshes = 0;
        m_host.m_bSaveNeeded = false;
    }

    bool InList(const CNote* note) const
    {
        for (NotePos p = m_notes.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            if (m_notes.GetAt(p) == note)
                return true;
        return false;
    }

    CNoteList m_notes;
    RecordingHost m_host{m_notes};
};

std::string EditText(HWND edit)
{
    char text[256] = {};
    GetWindowTextA(edit, text, sizeof text);
    return text;
}

struct Pixel {
    const char* label;
    int x, y;
    COLORREF colour;
};

void ExpectPixels(HWND hwnd, std::initializer_list<Pixel> pixels)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ScopedGetDC dc(hwnd);
    for (const Pixel& p : pixels) {
        SCOPED_TRACE(p.label);
        EXPECT_EQ(GetPixel(dc, p.x, p.y), p.colour);
    }
}

TEST_F(NoteWndTest, DefaultNoteLooksLikePaperAndReloadsItsLook)
{
    CNote* note = AddNote();
    const HWND hwnd = Show(note);
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(RectOf(hwnd), (NoteRect{100, 100, 300, 250}));
    const POINT* pts = nullptr;
    ASSERT_EQ(note->m_pWnd->GetOutline(&pts), 5);
    const POINT outline[5] = {{0, 0}, {200, 0}, {200, 130}, {180, 150}, {0, 150}};
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(pts[i].x == outline[i].x && pts[i].y == outline[i].y) << "point " << i;

    const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_SYSMENU));
    EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "no taskbar button";
    const HWND owner = GetWindow(hwnd, GW_OWNER);
    EXPECT_TRUE(!owner || owner == GetDesktopWindow()) << "owned by no window of the program";
    const HWND edit = note->m_pWnd->GetEdit();
    EXPECT_EQ(GetDlgCtrlID(edit), IDC_NOTE_EDIT);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWL_STYLE) & 0xFFFF1FFF, 0x50001044);
    EXPECT_EQ(RectOf(edit), (NoteRect{15, 15, 185, 130}));
    EXPECT_EQ(EditText(edit), "(Your text goes here)");

    // The region cuts the corner off along the diagonal.
    UniqueRegion rgn(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(hwnd, rgn), ERROR);
    struct Probe {
        const char* label;
        int x, y;
        bool inside;
    } probes[] = {
        {"top-left", 0, 0, true},
        {"right edge above the cut", 199, 129, true},
        {"inside the diagonal", 185, 140, true},
        {"outside the diagonal", 195, 145, false},
        {"cut-off corner pixel", 199, 149, false},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(p.label);
        EXPECT_EQ(PtInRegion(rgn, p.x, p.y) != FALSE, p.inside);
    }
    ExpectPixels(hwnd, {{"margin", 8, 8, note->m_crBack},
                        {"left outline", 0, 70, RGB(0, 0, 0)},
                        {"top outline", 100, 0, RGB(0, 0, 0)},
                        {"right outline", 199, 70, RGB(0, 0, 0)},
                        {"bottom outline", 100, 149, RGB(0, 0, 0)},
                        {"turned corner", 185, 136, RGB(128, 128, 128)},
                        {"behind the text", 170, 120, note->m_crBack}});

    // A second note in the same look shows the same font; the first one's
    // new font below must neither change nor free it.
    CNote* other = AddNote({400, 100, 600, 250});
    ASSERT_TRUE(Show(other));
    const auto fontOf = [](const CNote* n) {
        LOGFONTA lf{};
        const auto font = reinterpret_cast<HFONT>(SendMessageA(n->m_pWnd->GetEdit(), WM_GETFONT, 0, 0));
        return GetObjectA(font, sizeof lf, &lf) ? lf.lfHeight : 0;
    };
    const LONG shared = fontOf(other);
    ASSERT_NE(shared, 0);

    // Changed from the main window's list: the window takes the new look.
    note->m_crBack = RGB(160, 220, 255);
    note->m_strText = u"Changed\r\nfrom the list";
    note->m_logFont.lfHeight = -30;
    EXPECT_EQ(SendMessageA(hwnd, WM_NOTE_CHANGED, 0, 0), 0);
    EXPECT_EQ(EditText(edit), Utf8FromUtf16(note->m_strText));
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -30);
    ExpectPixels(hwnd, {{"new margin", 8, 8, note->m_crBack}, {"new text background", 170, 120, note->m_crBack}});
    EXPECT_EQ(fontOf(other), shared) << "the other note's font, after this one's changed";
    DestroyWindow(hwnd);
    EXPECT_EQ(fontOf(other), shared) << "the other note's font, after this one's window went";
}

TEST_F(NoteWndTest, NotesAtTheFarScreenEdgesMoveInByTenAndLostNotesComeBack)
{
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    struct Row {
        const char* label;
        NoteRect stored, placed;
    } rows[] = {
        {"right edge at the screen width", {cx - 200, 100, cx, 250}, {cx - 210, 100, cx - 10, 250}},
        {"bottom edge at the screen height", {100, cy - 150, 300, cy}, {100, cy - 160, 300, cy - 10}},
        {"both", {cx - 200, cy - 150, cx, cy}, {cx - 210, cy - 160, cx - 10, cy - 10}},
        {"10 pixels clear", {cx - 210, cy - 160, cx - 10, cy - 10}, {cx - 210, cy - 160, cx - 10, cy - 10}},
        // Off every screen: into the corner of the work area nearest to it.
        {"at 5000, 5000", {5000, 5000, 5200, 5150}, {work.right - 200, work.bottom - 150, work.right, work.bottom}},
        {"left of the screen", {-900, 100, -700, 250}, {work.left, 100, work.left + 200, 250}},
        // Dragged up until only its bottom showed: its top comes down to be grasped.
        {"above the screen", {-5, work.top - 128, 195, work.top + 22}, {-5, work.top, 195, work.top + 150}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CNote* note = AddNote(row.stored);
        EXPECT_EQ(RectOf(Show(note)), row.placed);
        EXPECT_EQ(note->m_rcWindow, row.placed) << "stored back by the move notification";
    }
    // Dragged there while shown, then asked for: wholly onto the work area.
    CNote* note = AddNote();
    const HWND hwnd = Show(note);
    SetWindowPos(hwnd, nullptr, -5, work.top - 128, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    note->m_pWnd->BringIntoWorkArea();
    const NoteRect inView{work.left, work.top, work.left + 200, work.top + 150};
    EXPECT_EQ(RectOf(hwnd), inView);
    EXPECT_EQ(note->m_rcWindow, inView);
}

TEST_F(NoteWndTest, SizingKeepsTheMarginsAndStopsAt45)
{
    CNote* note = AddNote();
    const HWND hwnd = Show(note);
    const HWND edit = note->m_pWnd->GetEdit();
    struct Row {
        const char* label;
        int cx, cy, expectCx, expectCy;
    } rows[] = {
        {"larger", 320, 240, 320, 240},
        {"too narrow", 30, 100, 45, 100},
        {"too low", 100, 20, 100, 45},
        {"exactly the minimum", 45, 45, 45, 45},
        {"collapsed", 5, 5, 45, 45},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        StartCounting();
        SetWindowPos(hwnd, nullptr, 0, 0, row.cx, row.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const NoteRect expected{100, 100, 100 + row.expectCx, 100 + row.expectCy};
        EXPECT_EQ(RectOf(hwnd), expected);
        EXPECT_EQ(note->m_rcWindow, expected);
        EXPECT_TRUE(m_host.m_bSaveNeeded);
        EXPECT_EQ(RectOf(edit), (NoteRect{15, 15, row.expectCx - 15, row.expectCy - 15}));
        const POINT* pts = nullptr;
        note->m_pWnd->GetOutline(&pts);
        EXPECT_TRUE(pts[2].x == row.expectCx && pts[3].y == row.expectCy) << "outline follows";
    }
    // During a drag the text area follows the proposed right and bottom
    // edges; the proposal itself is left alone.
    SetWindowPos(hwnd, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT proposed{100, 100, 360, 250};
    SendMessageA(hwnd, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_TRUE(proposed.left == 100 && proposed.right == 360 && proposed.bottom == 250);
    EXPECT_EQ(RectOf(edit), (NoteRect{15, 15, 230, 120}));
}

TEST_F(NoteWndTest, PressesStartTheRightMoveOrSizeAndSetTheCursor)
{
    const HWND hwnd = Show(AddNote());
    // Catch the system command instead of letting it run its loop.
    static WPARAM s_command;
    static WNDPROC s_original;
    s_original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m != WM_SYSCOMMAND)
            return CallWindowProcA(s_original, h, m, w, l);
        s_command = w;
        return LRESULT{0};
    }));
    const auto sys = [](LPCSTR id) { return LoadCursorA(nullptr, id); };
    struct Row {
        const char* label;
        int x, y;
        WPARAM command;
        HCURSOR cursor;
    } rows[] = {
        {"margin", 8, 60, 0xF012, LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_MOVE))},
        {"left edge", 1, 70, 0xF001, sys(IDC_SIZEWE)},
        {"right edge", 198, 70, 0xF002, sys(IDC_SIZEWE)},
        {"top edge", 100, 1, 0xF003, sys(IDC_SIZENS)},
        {"top-left", 1, 1, 0xF004, sys(IDC_SIZENWSE)},
        {"top-right", 198, 1, 0xF005, sys(IDC_SIZENESW)},
        {"bottom edge", 100, 148, 0xF006, sys(IDC_SIZENS)},
        {"bottom-left", 1, 148, 0xF007, sys(IDC_SIZENESW)},
        {"turned corner", 186, 136, 0xF008, sys(IDC_SIZENWSE)},
    };
    ASSERT_TRUE(rows[0].cursor);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(row.x, row.y));
        EXPECT_EQ(GetCursor(), row.cursor);
        s_command = 0;
        SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(row.x, row.y));
        EXPECT_EQ(s_command, row.command);
    }
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_original));
}

TEST_F(NoteWndTest, EveryTextChangePostsOneRowRefresh)
{
    CNote* note = AddNote();
    Show(note);
    const HWND edit = note->m_pWnd->GetEdit();
    SendMessageA(edit, EM_SETSEL, 0, -1);
    struct Row {
        const char* label;
        WPARAM ch;
        const char* text;
        int refreshes;
    } rows[] = {
        {"typed over the selection", 'H', "H", 1},
        {"another letter", 'i', "Hi", 1},
        {"Enter makes a new line", '\r', "Hi\r\n", 1},
        {"backspace", '\b', "Hi", 1},
        {"backspace at the start changes nothing", '\b', "Hi", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        if (!row.refreshes)
            SendMessageA(edit, EM_SETSEL, 0, 0);
        StartCounting();
        SendMessageA(edit, WM_CHAR, row.ch, 1);
        EXPECT_EQ(Utf8FromUtf16(note->m_strText), row.text);
        EXPECT_EQ(m_host.m_bSaveNeeded, row.refreshes != 0);
        EXPECT_EQ(m_host.m_nRefreshes, row.refreshes);
        if (row.refreshes) {
            EXPECT_EQ(m_host.m_lastPos, note->m_pos);
        }
    }
}

TEST_F(NoteWndTest, LongPastesAreKeptWhole)
{
    CNote* note = AddNote();
    Show(note);
    const HWND edit = note->m_pWnd->GetEdit();
    std::string text;
    while (text.size() < 40000)
        text += "A line of a long paste, numbered " + std::to_string(text.size()) + ".\r\n";
    text.resize(40000);
    ASSERT_TRUE(OpenClipboard(note->m_pWnd->GetHwnd()));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    ASSERT_NE(block, nullptr);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    ASSERT_NE(SetClipboardData(CF_TEXT, block), nullptr);
    CloseClipboard();

    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(note->m_strText.size(), text.size());
    EXPECT_EQ(note->m_strText, Utf16FromUtf8(text));
    EXPECT_GE(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 1000000);
}

TEST_F(NoteWndTest, WaysAWindowGoes)
{
    const auto post = [](UINT msg, WPARAM wParam) {
        return [=](CNoteList&, CNote* note) { PostMessageA(note->m_pWnd->GetHwnd(), msg, wParam, 0); };
    };
    struct Row {
        const char* label;
        std::function<void(CNoteList&, CNote*)> act;
        bool staysInList;
        uint16_t visibleAfter;
        int refreshes;
    } rows[] = {
        {"Hide", post(WM_COMMAND, ID_NOTE_HIDE), true, 0, 1},
        {"Escape while typing",
         [](CNoteList&, CNote* n) { PostMessageA(n->m_pWnd->GetEdit(), WM_KEYDOWN, VK_ESCAPE, 1); }, true, 0, 1},
        // The main window hides the note before it closes the window.
        {"closed by the main window",
         [](CNoteList&, CNote* n) {
             n->m_bVisible = 0;
             PostMessageA(n->m_pWnd->GetHwnd(), WM_CLOSE, 0, 0);
         },
         true, 0, 0},
        // Alt+F4: the user hid the note.
        {"closed by the user", post(WM_CLOSE, 0), true, 0, 1},
        {"Delete", post(WM_COMMAND, ID_NOTE_DELETE), false, 0, 0},
        {"note removed from the list", [](CNoteList& notes, CNote* n) { notes.Remove(n->m_pos); }, false, 0, 0},
    };
    CScheduler scheduler(m_notes, m_host);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CNote* note = AddNote();
        const HWND hwnd = Show(note);
        m_host.m_watched = hwnd;
        m_host.m_bWatchedAliveAtDelete = false;
        row.act(m_notes, note);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }, 2000, kFiltered));
        PumpPending();
        EXPECT_EQ(m_host.m_nRefreshes, row.refreshes);
        ASSERT_EQ(InList(note), row.staysInList);
        if (row.label == std::string("Delete")) {
            EXPECT_TRUE(m_host.m_bWatchedAliveAtDelete) << "the note goes before its window";
        }
        if (!row.staysInList)
            continue;
        EXPECT_EQ(note->m_pWnd, nullptr);
        EXPECT_EQ(note->m_bVisible, row.visibleAfter);
        if (row.refreshes) {
            EXPECT_EQ(m_host.m_lastPos, note->m_pos);
        }
        // The housekeeping pass shows what is marked visible: a hidden note stays hidden.
        scheduler.ScheduleTick();
        EXPECT_EQ(note->m_pWnd, nullptr);
    }
}

TEST_F(NoteWndTest, HiddenWindowLeavesItsNoteAloneUntilItCloses)
{
    // Hidden, then shown again (Show all notes) before the first window's
    // close has arrived: the new window keeps its place in the note.
    CNote* note = AddNote();
    const HWND first = Show(note);
    SendMessageA(first, WM_COMMAND, ID_NOTE_HIDE, 0);
    EXPECT_EQ(note->m_pWnd, nullptr);
    EXPECT_TRUE(IsWindow(first)) << "closes when the loop reaches the close";
    note->m_bVisible = 1;
    const HWND second = Show(note);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(first); }, 2000, kFiltered));
    ASSERT_NE(note->m_pWnd, nullptr);
    EXPECT_EQ(note->m_pWnd->GetHwnd(), second);
    // Hidden, then deleted before the close arrives.
    SendMessageA(second, WM_COMMAND, ID_NOTE_HIDE, 0);
    m_notes.Remove(note->m_pos);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(second); }, 2000, kFiltered));
}

TEST_F(NoteWndTest, AlwaysOnTop)
{
    CNote* note = AddNote();
    note->m_bOnTop = 1;
    const HWND hwnd = Show(note);
    EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) << "created on top";
    for (uint16_t expected : {0, 1}) {
        SCOPED_TRACE(expected ? "turned on" : "turned off");
        StartCounting();
        SendMessageA(hwnd, WM_COMMAND, ID_NOTE_ONTOP, 0);
        EXPECT_EQ(note->m_bOnTop, expected);
        EXPECT_EQ((GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, expected == 1);
        EXPECT_TRUE(m_host.m_bSaveNeeded);
        PumpPending();
        EXPECT_EQ(m_host.m_nRefreshes, 1);
    }
}

// What a timer saw while the note's menu loop ran.
struct MenuWatch {
    CNoteWnd* wnd = nullptr;
    std::vector<std::vector<UINT>> menusSeen;  // item ids of each menu seen
    bool ontopChecked = false;
    bool busyDuringNested = false;
    int visibleMenusAfterNested = 0;
};
MenuWatch* g_watch = nullptr;

void CALLBACK WatchMenu(HWND, UINT, UINT_PTR, DWORD)
{
    const HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup))
        return;
    const auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        ids.push_back(GetMenuItemID(menu, i));
    g_watch->menusSeen.push_back(ids);
    g_watch->ontopChecked = (GetMenuState(menu, ID_NOTE_ONTOP, MF_BYCOMMAND) & MF_CHECKED) != 0;
    // A second request while the menu is open only beeps.
    g_watch->wnd->ShowContextMenu();
    g_watch->busyDuringNested = g_watch->wnd->IsBusy();
    EnumWindows(
        [](HWND hwnd, LPARAM count) {
            char cls[16] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            if (lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(hwnd))
                ++*reinterpret_cast<int*>(count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&g_watch->visibleMenusAfterNested));
    EndMenu();
}

TEST_F(NoteWndTest, ContextMenuOnceAtATimeWithTheOnTopCheck)
{
    struct Row {
        const char* label;
        uint16_t onTop;
        bool viaRightButtonOverText;
    } rows[] = {
        {"note kept on top, menu asked for directly", 1, false},
        {"ordinary note, right button released over the text", 0, true},
    };
    // The Snooze, Colour and Format submenus have no id of their own (-1).
    const std::vector<UINT> noteMenu{ID_NOTE_SCHEDULE, ID_NOTE_ONTOP, UINT(-1), 0, UINT(-1), UINT(-1), ID_NOTE_FONT,
                                     ID_NOTE_STYLE_DEFAULT, 0, ID_NOTE_HIDE, ID_NOTE_DELETE};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CNote* note = AddNote();
        note->m_bOnTop = row.onTop;
        Show(note);
        MenuWatch watch;
        watch.wnd = note->m_pWnd;
        g_watch = &watch;
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, &WatchMenu);
        if (row.viaRightButtonOverText) {
            PostMessageA(note->m_pWnd->GetEdit(), WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
            // Long enough for the edit control's own menu to show up too.
            PumpUntil([] { return false; }, 1000, kFiltered);
        } else {
            note->m_pWnd->ShowContextMenu();
        }
        KillTimer(nullptr, timer);
        g_watch = nullptr;
        ASSERT_EQ(watch.menusSeen.size(), 1u) << "exactly one menu, and it is the note's";
        EXPECT_EQ(watch.menusSeen[0], noteMenu);
        EXPECT_EQ(watch.ontopChecked, row.onTop == 1);
        EXPECT_TRUE(watch.busyDuringNested);
        EXPECT_EQ(watch.visibleMenusAfterNested, 1);
        EXPECT_FALSE(note->m_pWnd->IsBusy()) << "free again once the menu is closed";
    }
}

TEST_F(NoteWndTest, ScheduleRunsTheDialogWhileTheNoteIsBusy)
{
    static struct {
        CNoteWnd* wnd;
        HWND parent;
        CNote* note;
        INoteHost* host;
        int calls;
        bool busy;
    } s_seen;
    CNote* note = AddNote();
    const HWND hwnd = Show(note);
    s_seen = {note->m_pWnd, nullptr, nullptr, nullptr, 0, false};
    CNoteWnd::SetScheduleDialogOpener([](HWND parent, CNote& n, INoteHost& host) {
        s_seen = {s_seen.wnd, parent, &n, &host, s_seen.calls + 1, s_seen.wnd->IsBusy()};
        s_seen.wnd->ShowContextMenu();  // only beeps: no menu over the dialog
    });
    SendMessageA(hwnd, WM_COMMAND, ID_NOTE_SCHEDULE, 0);
    EXPECT_EQ(s_seen.calls, 1);
    EXPECT_EQ(s_seen.parent, hwnd);
    EXPECT_EQ(s_seen.note, note);
    EXPECT_EQ(s_seen.host, &m_host) << "the dialog tells the window's host of its change";
    EXPECT_TRUE(s_seen.busy);
    EXPECT_FALSE(note->m_pWnd->IsBusy());
}

TEST_F(NoteWndTest, FocusTimerSelectsTheTextOnce)
{
    for (bool focus : {true, false}) {
        SCOPED_TRACE(focus ? "made by Add note" : "shown again");
        CNote* note = AddNote();
        Show(note, focus);
        const HWND edit = note->m_pWnd->GetEdit();
        const auto selection = [&] {
            DWORD start = 0, end = 0;
            SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            return std::make_pair(start, end);
        };
        const std::pair<DWORD, DWORD> all{0, static_cast<DWORD>(note->m_strText.size())};
        EXPECT_EQ(PumpUntil([&] { return selection() == all; }, 1000, kFiltered), focus);
        EXPECT_EQ(GetFocus() == edit, focus);
        // Once only: a later selection stays as the user left it.
        SendMessageA(edit, EM_SETSEL, 2, 2);
        PumpUntil([] { return false; }, 200, kFiltered);
        EXPECT_EQ(selection(), (std::pair<DWORD, DWORD>{2, 2}));
        m_notes.Remove(note->m_pos);
    }
}

// A window of "another program", in front with the keyboard.
class OtherWindow {
public:
    OtherWindow()
        : m_hwnd(CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 400, 300, 200, nullptr, nullptr,
                                 nullptr, nullptr))
    {
    }
    ~OtherWindow() { DestroyWindow(m_hwnd); }
    HWND Hwnd() const { return m_hwnd; }
    bool ToFront() const
    {
        SetForegroundWindow(m_hwnd);
        SetFocus(m_hwnd);
        return PumpUntil([&] { return GetForegroundWindow() == m_hwnd; }, 2000, kFiltered);
    }

private:
    HWND m_hwnd;
};

void SendClick(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
}

void SendKey(WORD key)
{
    INPUT press[2]{};
    press[0].type = press[1].type = INPUT_KEYBOARD;
    press[0].ki.wVk = press[1].ki.wVk = key;
    press[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, press, sizeof(INPUT));
}

TEST_F(NoteWndTest, AClickAnywhereOnTheNoteThenTypingLandsInItsText)
{
    OtherWindow other;
    struct Row {
        const char* label;
        int x, y;            // client point of the note clicked
        int typingAt;        // the note already typed in, the caret here; -1: another window in front
        const char* text;    // after Q is pressed
    } rows[] = {
        {"margin", 8, 60, -1, "abcq"},
        {"turned corner", 186, 136, -1, "abcq"},
        {"left edge", 1, 70, -1, "abcq"},
        {"top edge", 100, 1, -1, "abcq"},
        {"margin of the note being typed in", 8, 60, 1, "aqbc"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CNote* note = AddNote();
        note->m_strText = u"abc";
        const HWND hwnd = Show(note);
        const HWND edit = note->m_pWnd->GetEdit();
        if (row.typingAt < 0) {
            ASSERT_TRUE(other.ToFront());
        } else {
            SetForegroundWindow(hwnd);
            SetFocus(edit);
            SendMessageA(edit, EM_SETSEL, row.typingAt, row.typingAt);
        }
        POINT at{row.x, row.y};
        ClientToScreen(hwnd, &at);
        SendClick(at);
        PumpUntil([&] { return GetForegroundWindow() == hwnd && !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); }, 2000,
                  kFiltered);
        PumpUntil([] { return false; }, 100, kFiltered);
        SendKey('Q');
        PumpUntil([&] { return note->m_strText != u"abc"; }, 2000, kFiltered);
        EXPECT_EQ(Utf8FromUtf16(note->m_strText), row.text);
        EXPECT_EQ(RectOf(hwnd), (NoteRect{100, 100, 300, 250})) << "a click moves and sizes nothing";
        m_notes.Remove(note->m_pos);
    }
}

TEST_F(NoteWndTest, CtrlZUndoesTheTypingOnceThenBringsBackDeletedNotes)
{
    CNote* note = AddNote();
    note->m_strText = u"note";
    Show(note);
    const HWND edit = note->m_pWnd->GetEdit();
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const auto ctrlZ = [&] {
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        MSG msg{edit, WM_KEYDOWN, 'Z', 1, 0, {}};
        EXPECT_TRUE(note->m_pWnd->PreTranslateMessage(msg)) << "the edit control never redoes";
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    };
    struct Step {
        const char* label;
        WPARAM typed;  // 0: Ctrl+Z
        int caret;     // where it is typed
        const char* text;
        int undoDeletes;
    } steps[] = {
        {"typed", 's', 4, "notes", 0},
        {"Ctrl+Z takes the typing back", 0, 0, "note", 0},
        {"Ctrl+Z again: the last delete", 0, 0, "note", 1},
        {"and the one before", 0, 0, "note", 2},
        {"typed again", '!', 0, "!note", 2},
        {"Ctrl+Z takes the new typing back", 0, 0, "note", 2},
        {"Ctrl+Z once more: a delete", 0, 0, "note", 3},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.label);
        if (step.typed) {
            SendMessageA(edit, EM_SETSEL, step.caret, step.caret);
            SendMessageA(edit, WM_CHAR, step.typed, 1);
        } else {
            ctrlZ();
        }
        EXPECT_EQ(Utf8FromUtf16(note->m_strText), step.text);
        EXPECT_EQ(m_host.m_nUndoDeletes, step.undoDeletes);
    }
}

}  // namespace
