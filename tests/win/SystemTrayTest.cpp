// The tray icon with the real main window: the left press that adds a note,
// the right click that opens the tray menu, icons that are not ours, the
// icon's life in the notification area, and the help button's menu.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "WinTestUtil.h"
#include "app/CNotesApp.h"
#include "app/RunningCopy.h"
#include "mainwnd/CMainDlg.h"
#include "res/resource.h"
#include "tray/CBmpMenu.h"
#include "tray/CSystemTray.h"

namespace {

// Whether the shell knows the icon: only a known icon can be modified.
bool ShellHasIcon(HWND owner, UINT id)
{
    NOTIFYICONDATAA data{};
    data.cbSize = CSystemTray::kNotifyDataSize;
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = NIF_TIP;
    std::strcpy(data.szTip, "Velumo");
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// What the open bitmap menu shows, read by a timer inside its modal loop.
struct OpenMenu {
    std::vector<std::string> items;
    bool visible = false;
};
OpenMenu g_seen;
WPARAM g_keyToPress = VK_ESCAPE;

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HWND popup = FindWindowA(CBmpMenu::kClassName, nullptr);
    if (!popup)
        return;
    g_seen.visible = IsWindowVisible(popup) != FALSE;
    HWND bar = FindWindowExA(popup, nullptr, TOOLBARCLASSNAMEA, nullptr);
    const int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageA(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        char text[128] = {};
        if (!(button.fsStyle & BTNS_SEP))
            SendMessageA(bar, TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(text));
        g_seen.items.push_back(text);
    }
    // A key no item has first: the main window's answer keeps the menu open.
    PostMessageA(popup, WM_KEYDOWN, 'Q', 0);
    PostMessageA(popup, WM_KEYDOWN, g_keyToPress, 0);
}

// Lets the focus changes of what came before (windows shown, hidden,
// destroyed) reach the program: under Wine they come from the X server a
// moment later, and one that arrived while a menu is open would close it,
// as any activation elsewhere does.
void SettleFocus()
{
    PumpUntil([] { return false; }, 250);
}

class SystemTrayTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_app.SetProfileFile(m_folder.Path("Velumo.ini"));
        ASSERT_TRUE(m_app.m_notes.Load(m_folder.Path("notes.dat")));
        m_dlg = std::make_unique<CMainDlg>(m_app.m_notes);
        m_dlg->SetSkinFile(VELUMO_PACKED_SKIN);
        m_hwnd = m_dlg->CreateModeless(nullptr);
        ASSERT_NE(m_hwnd, nullptr);
        // The icon follows the main window's first painting.
        ASSERT_TRUE(PumpUntil([&] { return m_dlg->Tray().IsIconShown(); }, 5000));
        g_seen = OpenMenu{};
        g_keyToPress = VK_ESCAPE;
    }
    void TearDown() override
    {
        m_dlg.reset();
        PumpPending();
    }
    LRESULT Notify(WPARAM id, UINT mouse)
    {
        return SendMessageA(m_hwnd, WM_TRAYNOTIFY, id, mouse);
    }

    TempFolder m_folder;
    CNotesApp m_app;
    std::unique_ptr<CMainDlg> m_dlg;
    HWND m_hwnd = nullptr;
};

}  // namespace

TEST_F(SystemTrayTest, LeftPressAddsOneNoteBeforeTheCallReturns)
{
    struct Case {
        const char* label;
        WPARAM id;
        UINT mouse;
        LRESULT answer;
        int notesAfter;
    } cases[] = {
        {"left press", IDR_TRAY_MENU, WM_LBUTTONDOWN, 1, 1},
        {"another icon's press", IDR_TRAY_MENU + 1, WM_LBUTTONDOWN, 0, 1},
        {"another icon's right click", 0, WM_RBUTTONUP, 0, 1},
        {"release", IDR_TRAY_MENU, WM_LBUTTONUP, 1, 1},
        {"move", IDR_TRAY_MENU, WM_MOUSEMOVE, 1, 1},
        {"second press of a double click", IDR_TRAY_MENU, WM_LBUTTONDBLCLK, 1, 1},
        {"middle button", IDR_TRAY_MENU, WM_MBUTTONDOWN, 1, 1},
        {"left press again", IDR_TRAY_MENU, WM_LBUTTONDOWN, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Notify(c.id, c.mouse), c.answer);
        EXPECT_EQ(m_app.m_notes.m_nCount, c.notesAfter);
        EXPECT_EQ(SendMessageA(m_dlg->ListView(), LVM_GETITEMCOUNT, 0, 0), c.notesAfter);
    }
    EXPECT_EQ(FindWindowA(CBmpMenu::kClassName, nullptr), nullptr) << "no menu was opened";
}

TEST_F(SystemTrayTest, RightClickShowsTheTrayMenuAndHelpButtonTheHelpMenu)
{
    SettleFocus();
    SetTimer(nullptr, 0, 50, &ReadOpenMenu);
    EXPECT_EQ(Notify(IDR_TRAY_MENU, WM_RBUTTONUP), 1);
    EXPECT_TRUE(g_seen.visible);
    const std::vector<std::string> tray{"Add &note", "&View note list...", "&Bring notes to top", "Coming &up...", "",
                                        "&Show all notes", "H&ide all notes", "", "&Options", "&Help",
                                        "&About", "", "E&xit"};
    EXPECT_EQ(g_seen.items, tray);

    // "&View note list..." brings the hidden main window back.
    ShowWindow(m_hwnd, SW_HIDE);
    SettleFocus();
    g_seen = OpenMenu{};
    g_keyToPress = 'V';
    SetTimer(nullptr, 0, 50, &ReadOpenMenu);
    Notify(IDR_TRAY_MENU, WM_RBUTTONUP);
    PumpPending();
    EXPECT_TRUE(IsWindowVisible(m_hwnd));

    SettleFocus();
    g_seen = OpenMenu{};
    g_keyToPress = VK_ESCAPE;
    SetTimer(nullptr, 0, 50, &ReadOpenMenu);
    m_dlg->OnSkinButton("BUTTON_HELP");
    const std::vector<std::string> help{"&Help Topics           F1", "", "Program &Web Site", "&About..."};
    EXPECT_EQ(g_seen.items, help);
    EXPECT_EQ(m_app.m_notes.m_nCount, 0);
}

TEST_F(SystemTrayTest, IconLivesWithTheMainWindowAndComesBackWithTheTaskbar)
{
    ASSERT_TRUE(m_dlg->Tray().IsIconShown());
    EXPECT_TRUE(ShellHasIcon(m_hwnd, IDR_TRAY_MENU));

    // A restarted taskbar has lost every icon and says so to all windows.
    NOTIFYICONDATAA gone{};
    gone.cbSize = CSystemTray::kNotifyDataSize;
    gone.hWnd = m_hwnd;
    gone.uID = IDR_TRAY_MENU;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
    EXPECT_FALSE(ShellHasIcon(m_hwnd, IDR_TRAY_MENU));
    SendMessageTimeoutA(HWND_BROADCAST, CSystemTray::TaskbarCreatedMessage(), 0, 0, SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    PumpPending();
    EXPECT_TRUE(ShellHasIcon(m_hwnd, IDR_TRAY_MENU));
    EXPECT_TRUE(m_dlg->Tray().IsIconShown());

    const HWND owner = m_hwnd;
    m_dlg.reset();
    PumpPending();
    EXPECT_FALSE(ShellHasIcon(owner, IDR_TRAY_MENU)) << "destroying the main window removes the icon";
}

TEST_F(SystemTrayTest, SecondCopysMessageBringsTheHiddenMainWindowBack)
{
    ShowWindow(m_hwnd, SW_HIDE);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(m_hwnd, RunningCopyMessage(), 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
    EXPECT_EQ(static_cast<LRESULT>(answer), kRunningCopyAnswer);
    EXPECT_TRUE(IsWindowVisible(m_hwnd));
    EXPECT_FALSE(IsIconic(m_hwnd));
}
