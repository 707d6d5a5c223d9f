// The main window on its real window class: rows, columns, commands, list
// clicks and the settings it keeps.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "app/CNotesApp.h"
#include "framework/MessageLoop.h"
#include "mainwnd/CMainDlg.h"
#include "mainwnd/MainWindowNoteHost.h"
#include "framework/WideText.h"
#include "core/UnicodeText.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/NoteLookDialogs.h"
#include "res/resource.h"
#include "SkinWinTestUtil.h"
#include "WinTestUtil.h"
#include "WindowPixels.h"

namespace {

// Counts what would open the scheduling dialog, and opens the real one when
// asked to.
class TestMainDlg : public CMainDlg {
public:
    using CMainDlg::CMainDlg;
    int scheduleRequests = 0;
    bool realScheduleDialog = false;
    std::vector<std::string> told;

protected:
    void TellUser(const char* text) override { told.emplace_back(text); }
    INT_PTR RunScheduleDialog(CNote* note) override
    {
        ++scheduleRequests;
        return realScheduleDialog ? CMainDlg::RunScheduleDialog(note) : IDCANCEL;
    }
};

class MainDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_app.SetProfileFile(m_folder.Path("Velumo.ini"));
        ASSERT_TRUE(m_app.m_notes.Load(m_folder.Path("notes.dat")));
    }
    void TearDown() override
    {
        m_dlg.reset();
        PumpPending();
    }

    // Adds notes before the window opens, as a loaded file would.
    CNote* AddStoredNote(const std::string& text, bool visible = false)
    {
        auto note = std::make_unique<CNote>();
        note->m_strText = Utf16FromUtf8(text);
        note->m_bVisible = visible ? 1 : 0;
        CNote* raw = note.get();
        m_app.m_notes.Add(note);
        return raw;
    }

    void Open(int screenColors = -1)
    {
        m_dlg = std::make_unique<TestMainDlg>(m_app.m_notes, screenColors);
        m_dlg->SetSkinFile(VELUMO_PACKED_SKIN);
        m_hwnd = m_dlg->CreateModeless(nullptr);
        ASSERT_NE(m_hwnd, nullptr);
        m_app.m_hMainWnd = m_hwnd;
        m_noteHost.SetMainWindow(m_hwnd);
        m_list = m_dlg->ListView();
        PumpPending();
        // The notes stored as visible come up right after the window.
        PumpUntil([&] {
            for (NotePos p = m_app.m_notes.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
                const CNote* note = m_app.m_notes.GetAt(p);
                if (note->m_bVisible && !note->m_pWnd)
                    return false;
            }
            return true;
        }, 3000);
    }

    int Rows() const { return static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0)); }
    bool Selected(int row) const { return ListView_GetItemState(m_list, row, LVIS_SELECTED) != 0; }
    void Select(int row, bool on) { ListView_SetItemState(m_list, row, on ? LVIS_SELECTED : 0, LVIS_SELECTED); }
    // Open() does not wait for the start-up timer that makes note windows.
    void GiveVisibleNotesWindows()
    {
        for (NotePos p = m_app.m_notes.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
            CNote* note = m_app.m_notes.GetAt(p);
            if (note->m_bVisible && !note->m_pWnd)
                note->m_pWnd = CNoteWnd::Create(note, false, m_noteHost);
            ASSERT_TRUE(!note->m_bVisible || note->m_pWnd);
        }
    }
    std::string RowText(int row) const
    {
        char text[512] = {};
        ListView_GetItemText(m_list, row, 3, text, sizeof text);
        return text;
    }
    std::u16string WideRowText(int row) const
    {
        const std::wstring text = ListCell(m_list, row, 3);
        return std::u16string(text.begin(), text.end());
    }
    int CellImage(int row, int column) const
    {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        item.iSubItem = column;
        SendMessageA(m_list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }
    std::string NoteTexts() const
    {
        std::string out;
        for (NotePos p = m_app.m_notes.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            out += Utf8FromUtf16(m_app.m_notes.GetAt(p)->m_strText) + "|";
        return out;
    }

    TempFolder m_folder;
    CNotesApp m_app;
    std::unique_ptr<TestMainDlg> m_dlg;
    HWND m_hwnd = nullptr;
    HWND m_list = nullptr;
    // Windows a test makes itself talk to the main window as its own do.
    MainWindowNoteHost m_noteHost{m_app.m_notes};
};

bool IsTopmost(HWND hwnd)
{
    return (GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Presses a key in the main window with Ctrl held or not.
bool PressKey(CMainDlg& dlg, HWND target, WPARAM key, bool ctrl = false)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG msg{target, WM_KEYDOWN, key, 1, 0, {}};
    const bool used = dlg.PreTranslateMessage(msg);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    PumpPending();
    return used;
}

}  // namespace

TEST_F(MainDlgTest, EmptyListHasNoRowsAndNoSelection)
{
    Open();
    EXPECT_EQ(SendMessageA(m_hwnd, WM_QUERYDRAGICON, 0, 0),
              reinterpret_cast<LRESULT>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))))
        << "the window icon is what a drag shows";
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(m_dlg->NoteList().GetSingleSelection(), -1);
    const auto scrollsAcross = [&] { return (GetWindowLongPtrA(m_list, GWL_STYLE) & WS_HSCROLL) != 0; };
    EXPECT_FALSE(scrollsAcross()) << "nothing to scroll to";
    EXPECT_TRUE(IsWindowVisible(ListView_GetHeader(m_list))) << "the column titles stay";
    m_dlg->AddNote();
    PumpPending();
    EXPECT_TRUE(scrollsAcross()) << "the Text column reaches beyond the list";
    Select(0, true);
    m_dlg->DeleteSelectedNotes();
    EXPECT_FALSE(scrollsAcross());
    char title[64] = {};
    GetWindowTextA(m_hwnd, title, sizeof title);
    EXPECT_STREQ(title, "Velumo");
    const RECT list = PlacedRect(m_list);
    EXPECT_EQ(list.left, 149);
    EXPECT_EQ(list.top, 32);
    EXPECT_EQ(list.right - list.left, 358);
    EXPECT_EQ(list.bottom - list.top, 213);
}

TEST_F(MainDlgTest, RowsShowTheNotesAndRefreshesKeepTheSelection)
{
    AddStoredNote("a\r\nb");
    CNote* second = AddStoredNote("second", true);
    second->m_bSchedDisabled = 0;
    second->m_bOnTop = 1;
    Open();
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(RowText(0), "a  b");
    EXPECT_EQ(CellImage(0, 1), 2) << "hidden: empty box";
    EXPECT_EQ(CellImage(0, 2), 0) << "no schedule: blank";
    EXPECT_EQ(CellImage(1, 1), 3) << "visible: ticked box";
    EXPECT_EQ(CellImage(1, 2), 1) << "scheduled: clock";
    EXPECT_FALSE(ListView_GetCheckState(m_list, 0));
    EXPECT_TRUE(ListView_GetCheckState(m_list, 1));

    Select(0, true);
    EXPECT_EQ(m_dlg->NoteList().GetSingleSelection(), 0);
    second->m_strText = u"changed";
    PostMessageA(m_hwnd, WM_NOTE_CHANGED, 0, reinterpret_cast<LPARAM>(second->m_pos));
    PumpPending();
    EXPECT_EQ(RowText(1), "changed");
    EXPECT_TRUE(Selected(0));
    EXPECT_FALSE(Selected(1)) << "a refresh selects nothing";
    EXPECT_EQ(m_dlg->NoteList().GetSingleSelection(), 0);

    // A message for a note that has no row is ignored.
    SendMessageA(m_hwnd, WM_NOTE_CHANGED, 1, 0x1234);
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(m_app.m_notes.m_nCount, 2);
}

TEST_F(MainDlgTest, SelectedRowsShowTheirImagesUnblended)
{
    AddStoredNote("selected");
    AddStoredNote("not selected");
    AddStoredNote("with the focus rectangle");
    Open();
    SetForegroundWindow(m_hwnd);
    SetFocus(m_list);
    Select(0, true);
    ListView_SetItemState(m_list, 2, LVIS_FOCUSED, LVIS_FOCUSED);
    RedrawWindow(m_list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const WindowPixels shown(m_list);
    RECT text{};
    ListView_GetSubItemRect(m_list, 0, 3, LVIR_BOUNDS, &text);
    int highlighted = 0;
    for (int x = text.left; x < text.right; ++x)
        highlighted += shown.At(x, (text.top + text.bottom) / 2) == Rgb(GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_GT(highlighted, 10) << "the selected row still shows as selected";
    for (int column : {1, 2}) {
        SCOPED_TRACE(column);
        // The image within its cell, in both rows.
        RECT selected{}, plain{}, cell{};
        ListView_GetSubItemRect(m_list, 0, column, LVIR_ICON, &selected);
        ListView_GetSubItemRect(m_list, 1, column, LVIR_ICON, &plain);
        ListView_GetSubItemRect(m_list, 1, column, LVIR_BOUNDS, &cell);
        plain.right = std::min(plain.right, cell.right);
        // The image looks the same in both rows: blending it with the
        // selection colour leaves a chequered square.
        int drawn = 0, same = 0;
        for (int y = 0; y < plain.bottom - plain.top; ++y) {
            for (int x = 0; x < plain.right - plain.left; ++x) {
                const uint32_t p = shown.At(plain.left + x, plain.top + y);
                drawn += p != Rgb(GetSysColor(COLOR_WINDOW));
                same += shown.At(selected.left + x, selected.top + y) == p;
            }
        }
        if (column == 1) {
            EXPECT_GT(drawn, 40) << "the Vis image has a frame";
        }
        EXPECT_EQ(same, (plain.right - plain.left) * (plain.bottom - plain.top));
    }
}

TEST_F(MainDlgTest, SelectedRowsStayPlainToSeeWhenTheListLosesTheFocus)
{
    AddStoredNote("selected");
    AddStoredNote("plain");
    Open();
    SetForegroundWindow(m_hwnd);
    SetFocus(m_list);
    Select(0, true);
    SetFocus(nullptr);  // the keyboard goes elsewhere
    RedrawWindow(m_list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const WindowPixels shown(m_list);
    const uint32_t tint = Rgb(NoteListView::UnfocusedSelectionColor());
    ASSERT_NE(tint, Rgb(GetSysColor(COLOR_WINDOW)));
    // The selected row's Text cell in the tint, the plain row's in the
    // window colour.
    RECT selected{}, plain{};
    ListView_GetSubItemRect(m_list, 0, 3, LVIR_BOUNDS, &selected);
    ListView_GetSubItemRect(m_list, 1, 3, LVIR_BOUNDS, &plain);
    EXPECT_EQ(shown.At(selected.right - 3, selected.top + 2), tint);
    EXPECT_EQ(shown.At(plain.right - 3, plain.top + 2), Rgb(GetSysColor(COLOR_WINDOW)));
}

TEST_F(MainDlgTest, ColumnWidthsComeFromTheSettingsFile)
{
    struct Case {
        const char* label;
        const char* stored;  // nullptr: no key
        int schdWidth;
    } cases[] = {
        {"missing", nullptr, 40}, {"zero", "0", 40}, {"negative", "-3", 40},
        {"garbage", "wide", 40},  {"120", "120", 120}, {"huge", "999999", 40},
        {"four list widths", "1432", 1432}, {"beyond four list widths", "1433", 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string ini = m_folder.Path("Velumo.ini");
        DeleteFileA(ini.c_str());
        WritePrivateProfileStringA("List", "Col0Width", "99", ini.c_str());
        if (c.stored)
            WritePrivateProfileStringA("List", "Col2Width", c.stored, ini.c_str());
        Open();
        EXPECT_EQ(ListView_GetColumnWidth(m_list, 0), 36) << "Top never takes a stored width";
        EXPECT_EQ(ListView_GetColumnWidth(m_list, 1), 35);
        EXPECT_EQ(ListView_GetColumnWidth(m_list, 2), c.schdWidth);
        EXPECT_EQ(ListView_GetColumnWidth(m_list, 3), 360);
        m_dlg.reset();
        EXPECT_EQ(GetPrivateProfileIntA("List", "Col2Width", -1, ini.c_str()), c.schdWidth)
            << "what is written back is what the list had";
    }
    // Closing stores columns 1..3, never column 0.
    DeleteFileA(m_folder.Path("Velumo.ini").c_str());
    Open();
    ListView_SetColumnWidth(m_list, 2, 77);
    ListView_SetColumnWidth(m_list, 0, 50);
    m_dlg.reset();
    const std::string ini = m_folder.Path("Velumo.ini");
    EXPECT_EQ(GetPrivateProfileIntA("List", "Col1Width", -1, ini.c_str()), 35);
    EXPECT_EQ(GetPrivateProfileIntA("List", "Col2Width", -1, ini.c_str()), 77);
    EXPECT_EQ(GetPrivateProfileIntA("List", "Col3Width", -1, ini.c_str()), 360);
    EXPECT_EQ(GetPrivateProfileIntA("List", "Col0Width", -1, ini.c_str()), -1);
}

TEST_F(MainDlgTest, TheWindowComesBackWhereItWasLeftWhenThatIsOnAScreen)
{
    const std::string ini = m_folder.Path("Velumo.ini");
    Open();
    const RECT fresh = PlacedRect(m_hwnd);
    m_dlg.reset();
    struct Case {
        const char* label;
        const char* left;
        const char* top;
        bool used;
    } cases[] = {
        {"a kept place", "200", "150", true},
        {"on no screen", "-5000", "-5000", false},
        {"text", "left", "150", false},
        {"huge", "99999999999", "150", false},
        {"far beyond every screen", "999999", "150", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        DeleteFileA(ini.c_str());
        WritePrivateProfileStringA("Window", "Left", c.left, ini.c_str());
        WritePrivateProfileStringA("Window", "Top", c.top, ini.c_str());
        Open();
        const RECT placed = PlacedRect(m_hwnd);
        EXPECT_EQ(placed.left, c.used ? 200 : fresh.left);
        EXPECT_EQ(placed.top, c.used ? 150 : fresh.top);
        // Closing keeps where the window is now.
        SetWindowPos(m_hwnd, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_dlg.reset();
        EXPECT_EQ(GetPrivateProfileIntA("Window", "Left", -1, ini.c_str()), 120);
        EXPECT_EQ(GetPrivateProfileIntA("Window", "Top", -1, ini.c_str()), 90);
    }
}

TEST_F(MainDlgTest, EnterAndEscapeChangeNothing)
{
    AddStoredNote("one");
    Open();
    m_app.m_notes.m_bModified = 0;
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(key);
        for (HWND target : {m_list, m_hwnd}) {
            MSG msg{target, WM_KEYDOWN, key, 0, 0, {}};
            EXPECT_TRUE(m_dlg->PreTranslateMessage(msg)) << "the key is swallowed before the dialog sees it";
        }
        MSG other{m_list, WM_KEYDOWN, 'A', 0, 0, {}};
        EXPECT_FALSE(m_dlg->PreTranslateMessage(other));
    }
    EXPECT_TRUE(IsWindow(m_hwnd));
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(m_app.m_notes.m_bModified, 0u);
}

TEST_F(MainDlgTest, TabGoesFromTheListThroughTheButtons)
{
    AddStoredNote("a");
    Open();
    const auto button = [&](int number) { return m_dlg->GetSkinButton(number)->GetHwnd(); };
    // As the eye reads the window: the list, then the left column of buttons
    // top to bottom, then minimise at the right; the logo does nothing and is
    // passed by.
    std::vector<HWND> order{m_list};
    for (HWND at = GetNextDlgTabItem(m_hwnd, m_list, FALSE); at && at != m_list;
         at = GetNextDlgTabItem(m_hwnd, at, FALSE))
        order.push_back(at);
    EXPECT_EQ(order, (std::vector<HWND>{m_list, button(1), button(2), button(3), button(5), button(4)}));
}

TEST_F(MainDlgTest, KeyboardReachesEveryCommand)
{
    AddStoredNote("a", true);
    AddStoredNote("b");
    AddStoredNote("c", true);
    Open();
    GiveVisibleNotesWindows();
    const auto button = [&](int number) { return m_dlg->GetSkinButton(number)->GetHwnd(); };
    const auto key = [](HWND target, WPARAM vk) {
        SendMessageA(target, WM_KEYDOWN, vk, 1);
        SendMessageA(target, WM_KEYUP, vk, 0xC0000001);
        PumpPending();
    };
    const auto selectOnly = [&](int row) {
        for (int r = 0; r < Rows(); ++r)
            Select(r, r == row);
        ListView_SetItemState(m_list, row, LVIS_FOCUSED, LVIS_FOCUSED);
    };

    // Space in the list ticks Top and leaves the keyboard there.
    selectOnly(0);
    SetFocus(m_list);
    key(m_list, VK_SPACE);
    EXPECT_EQ(m_app.m_notes.GetAt(0)->m_bOnTop, 1);
    EXPECT_EQ(GetFocus(), m_list);

    // Enter in the list: the hidden note comes onto the desktop, its text
    // taking the keyboard with the caret at its end.
    selectOnly(1);
    MSG enter{m_list, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    EXPECT_TRUE(m_dlg->PreTranslateMessage(enter));
    CNote* b = m_app.m_notes.GetAt(1);
    ASSERT_NE(b->m_pWnd, nullptr);
    EXPECT_EQ(b->m_bVisible, 1);
    EXPECT_EQ(CellImage(1, 1), 3);
    EXPECT_EQ(GetFocus(), b->m_pWnd->GetEdit());
    DWORD from = 0, to = 0;
    SendMessageA(b->m_pWnd->GetEdit(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 1u);
    EXPECT_EQ(to, 1u);

    // Delete in the list, Space on "Delete note": the selected note goes.
    selectOnly(2);
    key(m_list, VK_DELETE);
    EXPECT_EQ(NoteTexts(), "a|b|");
    selectOnly(1);
    key(button(2), VK_SPACE);
    EXPECT_EQ(NoteTexts(), "a|");

    // Enter on a focused button presses it; Ctrl+N adds a note from anywhere
    // in the window.
    MSG enterOnAdd{button(1), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    EXPECT_TRUE(m_dlg->PreTranslateMessage(enterOnAdd));
    EXPECT_EQ(Rows(), 2);
    EXPECT_TRUE(PressKey(*m_dlg, m_list, 'N', true));
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(m_app.m_notes.m_nCount, 3);
}

TEST_F(MainDlgTest, TheListsKeysAlwaysHaveARowToActOn)
{
    for (const char* text : {"apple", "berry", "cherry"})
        AddStoredNote(text);
    Open();
    const auto focusedRow = [&] { return ListView_GetNextItem(m_list, -1, LVNI_FOCUSED); };
    SetFocus(m_dlg->GetSkinButton(1)->GetHwnd());
    ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(m_list);
    EXPECT_EQ(focusedRow(), 0) << "the keyboard's row shows";
    EXPECT_FALSE(Selected(0)) << "nothing the user did not pick";
    Select(0, true);

    // Ctrl+Space takes the row out of the selection and back, Top untouched.
    for (bool selectedAfter : {false, true}) {
        EXPECT_TRUE(PressKey(*m_dlg, m_list, VK_SPACE, true));
        EXPECT_EQ(Selected(0), selectedAfter);
        EXPECT_EQ(m_app.m_notes.GetAt(0)->m_bOnTop, 0);
        EXPECT_FALSE(ListView_GetCheckState(m_list, 0));
    }

    // Delete, then Ctrl+Z: the note that came back is the one selected.
    ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED);
    Select(1, true);
    m_dlg->DeleteSelectedNotes();
    EXPECT_TRUE(PressKey(*m_dlg, m_list, 'Z', true));
    ASSERT_EQ(NoteTexts(), "apple|berry|cherry|");
    EXPECT_EQ(m_dlg->NoteList().GetSingleSelection(), 1);
    EXPECT_EQ(focusedRow(), 1);

    // Down from the find box: the first row found is the one Delete takes.
    ASSERT_TRUE(PressKey(*m_dlg, m_list, 'F', true));
    const HWND box = GetFocus();
    SetWindowTextW(box, L"rr");
    PumpPending();
    ASSERT_EQ(Rows(), 2);
    ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED);
    EXPECT_TRUE(PressKey(*m_dlg, box, VK_DOWN));
    EXPECT_EQ(GetFocus(), m_list);
    EXPECT_EQ(m_dlg->NoteList().GetSingleSelection(), 0);
    m_dlg->DeleteSelectedNotes();
    EXPECT_EQ(NoteTexts(), "apple|cherry|");
}

TEST_F(MainDlgTest, UndoBringsDeletedNotesBackWhereTheyWere)
{
    for (const char* text : {"a", "b", "c"})
        AddStoredNote(text, true);
    CNote* hidden = AddStoredNote("d");
    hidden->m_crBack = 0x00FFC0C0;
    hidden->m_bSchedDisabled = 0;
    hidden->m_bOnTop = 1;
    const std::vector<uint8_t> before = m_app.m_notes.StoreToBytes();
    Open();
    GiveVisibleNotesWindows();

    // Two rows in one delete, then a note's own Delete.
    Select(1, true);
    Select(3, true);
    m_dlg->OnSkinButton("BUTTON_DELNOTE");
    CNote* a = m_app.m_notes.GetAt(0);
    SendMessageA(m_hwnd, WM_NOTE_CHANGED, NOTE_DELETED, reinterpret_cast<LPARAM>(a->m_pos));
    ASSERT_EQ(NoteTexts(), "c|");

    // Ctrl+Z in a note with nothing typed to undo, then in the main window.
    CNote* c = m_app.m_notes.GetAt(0);
    MSG ctrlZ{c->m_pWnd->GetHwnd(), WM_KEYDOWN, 'Z', 1, 0, {}};
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    EXPECT_TRUE(c->m_pWnd->PreTranslateMessage(ctrlZ));
    PumpPending();
    EXPECT_EQ(NoteTexts(), "a|c|");
    ctrlZ.hwnd = m_list;
    EXPECT_TRUE(m_dlg->PreTranslateMessage(ctrlZ));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    PumpPending();

    EXPECT_EQ(m_app.m_notes.StoreToBytes(), before) << "every field and the order are back";
    EXPECT_EQ(RowText(3), "d");
    for (int row = 0; row < 4; ++row) {
        const CNote* note = m_app.m_notes.GetAt(row);
        EXPECT_EQ(note->m_pWnd != nullptr, note->m_bVisible != 0) << "row " << row;
    }
    EXPECT_FALSE(m_dlg->CanUndoDelete());
}

TEST_F(MainDlgTest, ANoteBroughtBackFromTheBinIsNotBroughtBackAgainByUndo)
{
    AddStoredNote("a");
    AddStoredNote("b");
    Open();
    Select(1, true);
    m_dlg->DeleteSelectedNotes();
    ASSERT_EQ(NoteTexts(), "a|");
    // "Deleted notes..." offers the newest delete first: Restore takes it.
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = FindWindowA("#32770", "Deleted notes");
        if (dialog && IsWindowVisible(dialog))
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    m_dlg->ShowDeletedNotes();
    KillTimer(nullptr, timer);
    ASSERT_EQ(NoteTexts(), "a|b|");
    EXPECT_FALSE(m_dlg->CanUndoDelete());
    EXPECT_TRUE(PressKey(*m_dlg, m_list, 'Z', true));
    EXPECT_EQ(NoteTexts(), "a|b|") << "one copy of the note";
}

TEST_F(MainDlgTest, NotesFileChangedElsewhereIsMergedNotOverwritten)
{
    AddStoredNote("a", true)->m_rcWindow = NoteRect{40, 40, 240, 190};
    AddStoredNote("b");
    Open();
    GiveVisibleNotesWindows();
    const auto writeOtherCopy = [&](const std::vector<std::pair<const char*, bool>>& notes) {
        CNoteList other;
        for (const auto& [text, visible] : notes) {
            auto note = std::make_unique<CNote>();
            note->m_strText = Utf16FromUtf8(text);
            note->m_bVisible = visible ? 1 : 0;
            if (std::string(text).rfind("A", 0) == 0)
                note->m_rcWindow = NoteRect{40, 40, 240, 190};
            other.Add(note);
        }
        ASSERT_TRUE(WriteWholeFile(m_folder.Path("notes.dat"), other.StoreToBytes()));
    };

    // No changes here: the other copy's file is taken over, windows follow,
    // and the file is not written again.
    writeOtherCopy({{"A", true}, {"n", true}});
    m_dlg->RunHousekeepingPass();
    PumpPending();
    EXPECT_EQ(NoteTexts(), "A|n|");
    CNote* a = m_app.m_notes.GetAt(0);
    ASSERT_NE(a->m_pWnd, nullptr);
    EXPECT_EQ(GetWindowTextUtf16(a->m_pWnd->GetEdit()), u"A") << "changed in its own window";
    EXPECT_NE(m_app.m_notes.GetAt(1)->m_pWnd, nullptr);
    EXPECT_EQ(m_app.m_notes.m_bModified, 0u);

    // Changes on both sides: both are kept, and saved. The other copy adds
    // to the file as it now is on disk, as it would after syncing.
    CNoteList other;
    ASSERT_TRUE(other.Load(m_folder.Path("notes.dat")));
    auto added = std::make_unique<CNote>();
    added->m_strText = u"m over there";
    added->m_bVisible = 0;
    other.Add(added);
    a->m_strText = u"A here";
    m_app.m_notes.m_bModified = 1;
    ASSERT_TRUE(WriteWholeFile(m_folder.Path("notes.dat"), other.StoreToBytes()));
    m_dlg->RunHousekeepingPass();
    EXPECT_EQ(NoteTexts(), "A here|n|m over there|");
    CNoteList saved;
    ASSERT_TRUE(saved.Load(m_folder.Path("notes.dat")));
    EXPECT_EQ(saved.m_nCount, 3);
}

TEST_F(MainDlgTest, DragBandStartsAWindowDrag)
{
    Open();
    struct Case {
        int x, y;
        bool drags;
    } cases[] = {{0, 0, false}, {659, 10, false}, {1, 1, true}, {658, 57, true}, {100, 58, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        MSG stale;
        while (PeekMessageA(&stale, m_hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) {
        }
        SendMessageA(m_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
        MSG posted;
        const bool dragged = PeekMessageA(&posted, m_hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE) != 0;
        EXPECT_EQ(dragged, c.drags);
        if (dragged) {
            EXPECT_EQ(posted.wParam, static_cast<WPARAM>(HTCAPTION));
            EXPECT_EQ(posted.lParam, MAKELPARAM(c.x, c.y));
        }
        SendMessageA(m_hwnd, WM_LBUTTONUP, 0, MAKELPARAM(c.x, c.y));
    }
}

TEST_F(MainDlgTest, DeleteButtonRemovesTheSelectedNotes)
{
    struct Case {
        const char* label;
        std::vector<const char*> notes;
        std::vector<int> selected;
        const char* left;
        int selectedAfter;  // -1: no row
    } cases[] = {
        {"rows 0 and 2 of three", {"a", "b", "c"}, {0, 2}, "b|", 0},
        {"nothing selected", {"a", "b"}, {}, "a|b|", 0},
        {"the only note", {"a"}, {0}, "", -1},
        {"last row", {"a", "b", "c"}, {2}, "a|b|", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        while (!m_app.m_notes.IsEmpty())
            m_app.m_notes.Remove(m_app.m_notes.GetHeadPosition());
        for (const char* text : c.notes)
            AddStoredNote(text, true);
        Open();
        GiveVisibleNotesWindows();
        std::vector<HWND> windows;
        for (int row : c.selected) {
            Select(row, true);
            windows.push_back(m_app.m_notes.GetAt(row)->m_pWnd->GetHwnd());
        }
        m_dlg->OnSkinButton("BUTTON_DELNOTE");
        EXPECT_EQ(NoteTexts(), c.left);
        EXPECT_EQ(Rows(), m_app.m_notes.m_nCount);
        for (HWND hwnd : windows)
            EXPECT_FALSE(IsWindow(hwnd)) << "a deleted note's window goes with it";
        for (int row = 0; row < Rows(); ++row)
            EXPECT_EQ(Selected(row), row == c.selectedAfter) << "row " << row;
        m_dlg.reset();
    }
}

TEST_F(MainDlgTest, DeleteTakesOnlyWhatTheUserSelected)
{
    for (const char* text : {"typed into", "picked", "also typed into", "left alone"})
        AddStoredNote(text, true);
    Open();
    GiveVisibleNotesWindows();
    Select(1, true);

    // Typing into notes refreshes their rows; Hide all refreshes every row.
    for (int row : {0, 2}) {
        const HWND edit = m_app.m_notes.GetAt(row)->m_pWnd->GetEdit();
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(row ? "typed 2" : "typed 0"));
    }
    PumpPending();
    ASSERT_EQ(RowText(0), "typed 0");
    SendMessageA(m_hwnd, WM_COMMAND, ID_HIDE_ALL, 0);
    PumpUntil([&] { return CellImage(3, 1) == 2; }, 3000);
    ASSERT_EQ(CellImage(3, 1), 2) << "the rows were refreshed";
    for (int row = 0; row < Rows(); ++row)
        EXPECT_EQ(Selected(row), row == 1) << "row " << row;

    m_dlg->OnSkinButton("BUTTON_DELNOTE");
    EXPECT_EQ(NoteTexts(), "typed 0|typed 2|left alone|");
}

TEST_F(MainDlgTest, CalendarButtonNeedsExactlyOneSelectedRow)
{
    AddStoredNote("a");
    AddStoredNote("b");
    Open();
    m_dlg->OnSkinButton("BUTTON_CALENDAR");
    EXPECT_EQ(m_dlg->scheduleRequests, 0);
    EXPECT_TRUE(m_dlg->told.empty());
    Select(0, true);
    Select(1, true);
    m_dlg->OnSkinButton("BUTTON_CALENDAR");
    EXPECT_EQ(m_dlg->scheduleRequests, 0);
    EXPECT_EQ(m_dlg->told, std::vector<std::string>{"Select one note to schedule."});
    Select(0, false);
    m_dlg->OnSkinButton("BUTTON_CALENDAR");
    EXPECT_EQ(m_dlg->scheduleRequests, 1);
    m_dlg->OnSkinButton("BUTTON_LOGO");
    m_dlg->OnSkinButton("button_addnote");
    EXPECT_EQ(m_app.m_notes.m_nCount, 2) << "names are compared exactly";
}

TEST_F(MainDlgTest, SchdCellOpensTheSchedulingDialogAndOkShowsTheClock)
{
    AddStoredNote("a");
    Open();
    m_dlg->realScheduleDialog = true;
    EXPECT_EQ(CellImage(0, 2), 0);
    // Confirms the dialog from inside its modal run.
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = FindWindowA("#32770", "Scheduling properties");
        if (dialog && IsWindowVisible(dialog))
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    m_dlg->OnListDblClick(0, 2);
    KillTimer(nullptr, timer);
    EXPECT_EQ(CellImage(0, 2), 1) << "the row shows the clock";
}

TEST_F(MainDlgTest, AddingNotesFromTheWindow)
{
    Open(256);
    SendMessageA(m_hwnd, WM_COMMAND, ID_ADD_NOTE, 0);
    ASSERT_EQ(m_app.m_notes.m_nCount, 1);
    CNote* added = m_app.m_notes.GetAt(0);
    EXPECT_EQ(added->m_crBack, 0x0000FFFFu) << "256-colour screens give plain yellow";
    ASSERT_NE(added->m_pWnd, nullptr);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(m_app.m_notes.m_bModified, 1u);
    m_dlg.reset();

    Open(-1);
    // A double click below the rows adds a note, like the Add note command.
    RECT client;
    GetClientRect(m_list, &client);
    SendMessageA(m_list, WM_LBUTTONDBLCLK, 0, MAKELPARAM(50, client.bottom - 5));
    PumpPending();
    ASSERT_EQ(m_app.m_notes.m_nCount, 2);
    EXPECT_EQ(m_app.m_notes.GetAt(1)->m_crBack, 0x0080FFFFu);
    EXPECT_EQ(Rows(), 2);
}

TEST_F(MainDlgTest, AddNoteWithAFullListDoesNothing)
{
    // Hidden, so that opening does not bring up 32767 windows.
    for (int i = 0; i < CNoteList::kMaxNotes; ++i) {
        auto note = std::make_unique<CNote>();
        note->m_bVisible = 0;
        m_app.m_notes.Add(note);
    }
    Open();
    const int rows = Rows();
    m_dlg->AddNote();
    EXPECT_EQ(m_app.m_notes.m_nCount, CNoteList::kMaxNotes);
    EXPECT_EQ(Rows(), rows);
    ASSERT_EQ(m_dlg->told.size(), 1u) << "the user hears why no note came";
    EXPECT_NE(m_dlg->told[0].find("32767"), std::string::npos) << m_dlg->told[0];
}

TEST_F(MainDlgTest, TextCellEditReachesTheNoteWindowAndTheFile)
{
    CNote* note = AddStoredNote("old", true);
    Open();
    if (!note->m_pWnd)
        note->m_pWnd = CNoteWnd::Create(note, false, m_noteHost);
    ASSERT_NE(note->m_pWnd, nullptr);

    // Answer the "Enter text" dialog from a timer while it runs, with Greek
    // that no Western European code page holds.
    static std::wstring s_seenText;
    static LRESULT s_limit;
    static LONG_PTR s_style;
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = FindWindowA(nullptr, "Enter text");
        if (!box)
            return;
        KillTimer(nullptr, id);
        wchar_t text[64] = {};
        GetDlgItemTextW(box, IDC_NOTE_EDIT, text, 64);
        s_seenText = text;
        s_limit = SendDlgItemMessageA(box, IDC_NOTE_EDIT, EM_GETLIMITTEXT, 0, 0);
        s_style = GetWindowLongPtrA(GetDlgItem(box, IDC_NOTE_EDIT), GWL_STYLE);
        SetDlgItemTextW(box, IDC_NOTE_EDIT, L"first\r\n\u0394\u03B5\u03CD\u03C4\u03B5\u03C1\u03BF");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    m_dlg->OnListDblClick(0, 3);
    const std::u16string expected = u"first\r\n\u0394\u03B5\u03CD\u03C4\u03B5\u03C1\u03BF";
    EXPECT_EQ(s_seenText, L"old");
    EXPECT_GE(s_limit, 1000000) << "long texts are not cut";
    EXPECT_EQ(s_style & WS_VSCROLL, 0) << "no scroll bar of its own";
    EXPECT_EQ(note->m_strText, expected);
    EXPECT_EQ(WideRowText(0), u"first  \u0394\u03B5\u03CD\u03C4\u03B5\u03C1\u03BF");
    PumpPending();
    EXPECT_EQ(GetWindowTextUtf16(note->m_pWnd->GetEdit()), expected);

    ASSERT_TRUE(m_app.m_notes.Save());
    CNoteList reloaded;
    ASSERT_TRUE(reloaded.Load(m_folder.Path("notes.dat")));
    EXPECT_EQ(reloaded.GetAt(0)->m_strText, expected);
}

TEST_F(MainDlgTest, TypedAndPastedTextOutsideTheCodePageStaysWhole)
{
    CNote* note = AddStoredNote("", true);
    Open();
    note->m_pWnd = CNoteWnd::Create(note, false, m_noteHost);
    ASSERT_NE(note->m_pWnd, nullptr);
    const HWND edit = note->m_pWnd->GetEdit();

    // Typed: Polish capitals a Western European code page lacks (a narrowing
    // edit control turns them into "LC").
    for (wchar_t c : {L'\u0141', L'\u0106'})
        SendMessageW(edit, WM_CHAR, c, 1);
    // Pasted: Greek and an emoji (a surrogate pair).
    const std::u16string pasted = u" \u0393\u03B5\u03B9\u03AC \U0001F600";
    ASSERT_TRUE(OpenClipboard(m_hwnd));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
    ASSERT_NE(block, nullptr);
    std::memcpy(GlobalLock(block), pasted.c_str(), (pasted.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    ASSERT_NE(SetClipboardData(CF_UNICODETEXT, block), nullptr);  // the clipboard owns it now
    CloseClipboard();
    SendMessageW(edit, WM_PASTE, 0, 0);

    const std::u16string expected = u"\u0141\u0106" + pasted;
    EXPECT_EQ(note->m_strText, expected);
    PumpPending();  // the note's refresh reaches its row
    EXPECT_EQ(WideRowText(0), expected);

    // Saved in the UTF-16 form, and whole after a load.
    ASSERT_TRUE(m_app.m_notes.Save());
    const auto bytes = ReadWholeFile(m_folder.Path("notes.dat"));
    const std::vector<uint8_t> marker = {0xFF, 0xFE, 0xFF};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), marker.begin(), marker.end()), bytes.end());
    CNoteList reloaded;
    ASSERT_TRUE(reloaded.Load(m_folder.Path("notes.dat")));
    EXPECT_EQ(reloaded.GetAt(0)->m_strText, expected);
}

TEST_F(MainDlgTest, TopCheckBoxKeepsTheNoteAboveOthers)
{
    CNote* withWindow = AddStoredNote("shown", true);
    CNote* hidden = AddStoredNote("hidden");
    Open();
    if (!withWindow->m_pWnd)
        withWindow->m_pWnd = CNoteWnd::Create(withWindow, false, m_noteHost);
    ASSERT_NE(withWindow->m_pWnd, nullptr);
    HWND noteHwnd = withWindow->m_pWnd->GetHwnd();

    ListView_SetCheckState(m_list, 0, TRUE);
    EXPECT_EQ(withWindow->m_bOnTop, 1);
    EXPECT_TRUE(IsTopmost(noteHwnd));
    ListView_SetCheckState(m_list, 0, FALSE);
    EXPECT_EQ(withWindow->m_bOnTop, 0);
    EXPECT_FALSE(IsTopmost(noteHwnd));

    ListView_SetCheckState(m_list, 1, TRUE);
    EXPECT_EQ(hidden->m_bOnTop, 1) << "a note without a window keeps the flag";
    EXPECT_EQ(hidden->m_pWnd, nullptr);
}

TEST_F(MainDlgTest, HideAllThenShowAll)
{
    AddStoredNote("a", true);
    AddStoredNote("b", true);
    AddStoredNote("c", false);
    Open();
    // Notes stored as visible are back on screen at once, hidden ones are not.
    EXPECT_NE(m_app.m_notes.GetAt(0)->m_pWnd, nullptr);
    EXPECT_NE(m_app.m_notes.GetAt(1)->m_pWnd, nullptr);
    EXPECT_EQ(m_app.m_notes.GetAt(2)->m_pWnd, nullptr);
    GiveVisibleNotesWindows();
    SendMessageA(m_hwnd, WM_COMMAND, ID_HIDE_ALL, 0);
    PumpUntil([&] { return !m_app.m_notes.GetAt(0)->m_pWnd && !m_app.m_notes.GetAt(1)->m_pWnd; }, 3000);
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(m_app.m_notes.GetAt(row)->m_bVisible, 0);
        EXPECT_EQ(m_app.m_notes.GetAt(row)->m_pWnd, nullptr);
        EXPECT_EQ(CellImage(row, 1), 2);
    }
    // Bring to top with every note hidden changes nothing.
    m_app.m_notes.m_bModified = 0;
    SendMessageA(m_hwnd, WM_COMMAND, ID_BRING_TO_TOP, 0);
    PumpPending();
    EXPECT_EQ(m_app.m_notes.m_bModified, 0u);
    EXPECT_EQ(m_app.m_notes.GetAt(0)->m_pWnd, nullptr);

    SendMessageA(m_hwnd, WM_COMMAND, ID_SHOW_ALL, 0);
    PumpPending();
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        CNote* note = m_app.m_notes.GetAt(row);
        EXPECT_EQ(note->m_bVisible, 1);
        ASSERT_NE(note->m_pWnd, nullptr);
        EXPECT_TRUE(IsWindowVisible(note->m_pWnd->GetHwnd()));
        EXPECT_EQ(CellImage(row, 1), 3);
    }
}

TEST_F(MainDlgTest, ClickOnTheVisBoxTogglesTheNote)
{
    CNote* note = AddStoredNote("a", false);
    Open();
    RECT cell;
    ListView_GetSubItemRect(m_list, 0, 1, LVIR_BOUNDS, &cell);
    POINT inVis{cell.left + 8, (cell.top + cell.bottom) / 2};
    POINT screen = inVis;
    ClientToScreen(m_list, &screen);
    SetCursorPos(screen.x, screen.y);
    m_dlg->ToggleVisibleAtClick();
    EXPECT_EQ(note->m_bVisible, 1);
    ASSERT_NE(note->m_pWnd, nullptr);
    EXPECT_EQ(CellImage(0, 1), 3);
    m_dlg->ToggleVisibleAtClick();
    EXPECT_EQ(note->m_bVisible, 0);
    PumpUntil([&] { return note->m_pWnd == nullptr; }, 3000);
    EXPECT_EQ(note->m_pWnd, nullptr);

    // The text cell is no switch.
    RECT text;
    ListView_GetSubItemRect(m_list, 0, 3, LVIR_BOUNDS, &text);
    POINT inText{text.left + 20, (text.top + text.bottom) / 2};
    ClientToScreen(m_list, &inText);
    SetCursorPos(inText.x, inText.y);
    m_dlg->ToggleVisibleAtClick();
    EXPECT_EQ(note->m_bVisible, 0);
}

// A press on a row's Vis box or text once ticked the row's Top box too: the
// list reports every part of a whole-row item as hit.
TEST_F(MainDlgTest, APressTicksTheTopBoxOnlyOnTheBox)
{
    CNote* note = AddStoredNote("a", false);
    Open();
    const struct {
        const char* label;
        int column;  // -1: the Top box itself
        uint16_t onTop;
    } presses[] = {{"text", 3, 0}, {"Vis box", 1, 0}, {"Top box", -1, 1}, {"Top box again", -1, 0}};
    for (const auto& press : presses) {
        SCOPED_TRACE(press.label);
        RECT cell{};
        if (press.column < 0)
            ListView_GetItemRect(m_list, 0, &cell, LVIR_BOUNDS);
        else
            ListView_GetSubItemRect(m_list, 0, press.column, LVIR_BOUNDS, &cell);
        const LPARAM at = MAKELPARAM(cell.left + (press.column < 0 ? 10 : 8), (cell.top + cell.bottom) / 2);
        PostMessageA(m_list, WM_LBUTTONUP, 0, at);
        SendMessageA(m_list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PumpPending();
        EXPECT_EQ(note->m_bOnTop, press.onTop);
    }
}

TEST_F(MainDlgTest, ALockedFileIsToldOnceAndAskedAboutAtExit)
{
    Open();
    const std::string path = m_folder.Path("notes.dat");
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    std::atomic<int> retries{0};
    // The exit question is answered Retry twice; before the second, the file
    // is let go.
    MessageBoxCloser closer([&](const MessageBoxCloser::Seen& box) {
        if (box.text.find("Retry") == std::string::npos)
            return IDOK;
        if (++retries == 2)
            CloseHandle(lock);
        return IDRETRY;
    });
    auto note = std::make_unique<CNote>();
    note->m_strText = u"kept";
    m_app.m_notes.Add(note);

    for (int tick = 0; tick < 3; ++tick)
        SendMessageA(m_hwnd, WM_TIMER, CMainDlg::kTickTimer, 0);
    auto boxes = closer.Boxes();
    ASSERT_EQ(boxes.size(), 1u) << "one message for a run of failing saves";
    EXPECT_EQ(boxes[0].caption, "Velumo");
    EXPECT_NE(boxes[0].text.find(path), std::string::npos) << boxes[0].text;
    EXPECT_GT(boxes[0].text.size(), path.size() + 40) << "the system's reason: " << boxes[0].text;
    EXPECT_EQ(m_app.m_notes.m_bModified, 1u) << "the changes wait for the next save";

    // Windows ending: save, agree, ask nothing.
    EXPECT_EQ(SendMessageA(m_hwnd, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(closer.Boxes().size(), 1u);

    SendMessageA(m_hwnd, WM_COMMAND, ID_APP_EXIT_CMD, 0);
    boxes = closer.Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_NE(boxes[1].text.find(path), std::string::npos);
    EXPECT_EQ(retries.load(), 2);
    EXPECT_FALSE(IsWindow(m_hwnd)) << "the exit goes on once the save has worked";
    CNoteList reloaded;
    ASSERT_TRUE(reloaded.Load(path));
    ASSERT_EQ(reloaded.m_nCount, 1);
    EXPECT_EQ(reloaded.GetAt(0)->m_strText, u"kept");
}

TEST_F(MainDlgTest, QueryEndSessionSavesAndAgrees)
{
    Open();
    m_app.m_notes.Add(std::make_unique<CNote>());
    EXPECT_EQ(SendMessageA(m_hwnd, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(m_app.m_notes.m_bModified, 0u);
    CNoteList reloaded;
    ASSERT_TRUE(reloaded.Load(m_folder.Path("notes.dat")));
    EXPECT_EQ(reloaded.m_nCount, 1);
}

namespace {

uint32_t Rgb(ColorRef color)  // as WindowPixels reports it
{
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

ColorRef g_chosenColour = 0;
LogFont g_chosenFont;
ColorRef g_chosenInk = 0;

bool AnswerColour(HWND, ColorRef& colour)
{
    colour = g_chosenColour;
    return true;
}

bool AnswerFont(HWND, LogFont& font, ColorRef& ink)
{
    font = g_chosenFont;
    ink = g_chosenInk;
    return true;
}

}  // namespace

TEST_F(MainDlgTest, ColourAndFontReachTheNoteItsWindowItsRowAndTheFile)
{
    CNote* note = AddStoredNote("Look", true);
    Open();
    GiveVisibleNotesWindows();
    SetLookChoosers(AnswerColour, AnswerFont);
    g_chosenColour = 0x00336699;
    g_chosenFont = LogFont{};
    g_chosenFont.SetFaceName("Courier New");
    g_chosenFont.lfHeight = -24;
    g_chosenFont.lfWeight = 700;
    g_chosenInk = 0x00800000;
    struct Step {
        UINT command;
        ColorRef paper;
    } steps[] = {
        {ID_NOTE_PAPER_FIRST + 1, kPaperChoices[1].color},  // green
        {ID_NOTE_PAPER_LAST, 0x00FFFFFF},                   // white
        {ID_NOTE_MORE_COLOURS, 0x00336699},
        {ID_NOTE_FONT, 0x00336699},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command);
        m_app.m_notes.m_bModified = 0;
        SendMessageA(note->m_pWnd->GetHwnd(), WM_COMMAND, step.command, 0);
        PumpPending();
        EXPECT_EQ(note->m_crBack, step.paper);
        EXPECT_EQ(m_app.m_notes.m_bModified, 1u);
        const WindowPixels window(note->m_pWnd->GetHwnd());
        EXPECT_EQ(window.At(8, 8), Rgb(step.paper)) << "the note's paper";
        RECT cell{};
        ListView_GetSubItemRect(m_list, 0, 3, LVIR_BOUNDS, &cell);
        const WindowPixels list(m_list);
        EXPECT_EQ(list.At(cell.left + 8, (cell.top + cell.bottom) / 2), Rgb(step.paper)) << "the row's swatch";
    }
    SetLookChoosers(nullptr, nullptr);
    EXPECT_EQ(note->m_logFont, g_chosenFont);
    EXPECT_EQ(note->m_crText, 0x00800000u);
    LOGFONTA shown{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(note->m_pWnd->GetEdit(), WM_GETFONT, 0, 0)), sizeof shown, &shown);
    EXPECT_EQ(shown.lfHeight, -24);
    EXPECT_STREQ(shown.lfFaceName, "Courier New");

    ASSERT_TRUE(m_app.m_notes.Save());
    CNoteList again;
    ASSERT_TRUE(again.Load(m_folder.Path("notes.dat")));
    const CNote* read = again.GetAt(0);
    EXPECT_EQ(read->m_crBack, 0x00336699u);
    EXPECT_EQ(read->m_crText, 0x00800000u);
    EXPECT_EQ(read->m_logFont, g_chosenFont);
}

TEST_F(MainDlgTest, UseAsDefaultThenAddNoteAlsoAfterARestart)
{
    CNote* model = AddStoredNote("model", true);
    model->m_crBack = kPaperChoices[3].color;
    model->m_crText = 0x00000080;
    model->m_logFont.SetFaceName("Times New Roman");
    model->m_logFont.lfHeight = -20;
    Open();
    GiveVisibleNotesWindows();
    SendMessageA(model->m_pWnd->GetHwnd(), WM_COMMAND, ID_NOTE_STYLE_DEFAULT, 0);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run == 0 ? "same run" : "after a restart");
        m_dlg->AddNote();
        const CNote* added = m_app.m_notes.GetAt(m_app.m_notes.m_nCount - 1);
        EXPECT_EQ(added->m_crBack, model->m_crBack);
        EXPECT_EQ(added->m_crText, model->m_crText);
        EXPECT_EQ(added->m_logFont.FaceName(), "Times New Roman");
        EXPECT_EQ(added->m_logFont.lfHeight, -20);
        m_dlg.reset();
        PumpPending();
        Open();
    }
}

TEST_F(MainDlgTest, FindNarrowsTheRowsAndEscapeGivesThemBackWithTheSelection)
{
    for (const char* text : {"Buy milk", "Caf\xC3\xA9 M\xC3\xBCller", "call\r\nPETER", "rent"})
        AddStoredNote(text, false);
    Open();
    Select(3, true);
    ASSERT_TRUE(PressKey(*m_dlg, m_list, 'F', true));
    ASSERT_TRUE(m_dlg->IsFinding());
    const HWND box = GetFocus();
    struct Query {
        const wchar_t* typed;
        std::vector<std::string> rows;
    } queries[] = {
        {L"cafe", {"Caf\xC3\xA9 M\xC3\xBCller"}},  // accents and case
        {L"MULLER", {"Caf\xC3\xA9 M\xC3\xBCller"}},
        {L"l pet", {"call  PETER"}},                  // across the line break
        {L"zzz", {}},
        {L"", {"Buy milk", "Caf\xC3\xA9 M\xC3\xBCller", "call  PETER", "rent"}},
        {L"u", {"Buy milk", "Caf\xC3\xA9 M\xC3\xBCller"}},
    };
    for (const Query& query : queries) {
        SetWindowTextW(box, query.typed);
        PumpPending();
        std::vector<std::string> rows;
        for (int row = 0; row < Rows(); ++row)
            rows.push_back(Utf8FromUtf16(WideRowText(row)));
        EXPECT_EQ(rows, query.rows) << Utf8FromWide(query.typed);
    }
    // Nothing found: the empty list says so, in its middle.
    SetWindowTextW(box, L"zzz");
    PumpPending();
    InvalidateRect(m_list, nullptr, TRUE);
    const WindowPixels nothing(m_list);
    const RECT said = nothing.Bounds(Rgb(GetSysColor(COLOR_GRAYTEXT)));
    EXPECT_GT(nothing.Count(Rgb(GetSysColor(COLOR_GRAYTEXT))), 30);
    EXPECT_NEAR((said.left + said.right) / 2, nothing.width / 2, 4);
    SetWindowTextW(box, L"u");
    PumpPending();
    // Commands work on the rows shown: Delete, then Ctrl+Z puts the note
    // back at its place in the list, not at its row's.
    Select(1, true);
    EXPECT_TRUE(PressKey(*m_dlg, box, VK_RETURN));
    CNote* cafe = m_app.m_notes.GetAt(1);
    ASSERT_NE(cafe->m_pWnd, nullptr) << "Enter brings the found note up, hidden as it was";
    EXPECT_EQ(cafe->m_bVisible, 1);
    EXPECT_EQ(GetFocus(), cafe->m_pWnd->GetEdit());
    SetWindowTextW(box, L"r");  // the cafe, call PETER, rent
    PumpPending();
    ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED);
    Select(1, true);  // the second row, the third note
    m_dlg->DeleteSelectedNotes();
    EXPECT_EQ(NoteTexts(), "Buy milk|Caf\xC3\xA9 M\xC3\xBCller|rent|");
    m_dlg->UndoDelete();
    EXPECT_EQ(NoteTexts(), "Buy milk|Caf\xC3\xA9 M\xC3\xBCller|call\r\nPETER|rent|");
    EXPECT_TRUE(Selected(1)) << "the note that came back";
    ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED);

    // Escape: every row again, with what was selected before the find hid
    // it and what was selected among the rows found.
    Select(0, true);
    SetWindowTextW(box, L"milk");
    PumpPending();
    Select(0, true);
    EXPECT_TRUE(PressKey(*m_dlg, box, VK_ESCAPE));
    EXPECT_FALSE(m_dlg->IsFinding());
    ASSERT_EQ(Rows(), 4);
    EXPECT_EQ(RowText(0), "Buy milk");
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(Selected(row), row == 0 || row == 1) << "row " << row;
}
