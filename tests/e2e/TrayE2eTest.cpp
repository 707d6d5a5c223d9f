// The real program from its tray icon: the icon's callback message adds a
// note and opens the tray menu, the menu brings back a hidden main window,
// and so does starting the program a second time; a menu choice made over
// the main window's buttons reaches no button.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "E2eDriver.h"
#include "core/UnicodeText.h"

namespace {

constexpr UINT kTrayNotify = 0x464;
constexpr WPARAM kTrayIconId = 152;

// The tray icon comes just after the main window's first painting, from the
// same thread: once its hidden window exists, the icon answers.
HWND WaitForMainWindow(const E2eDriver& app)
{
    HWND main = app.WaitForWindow("Velumo", 15000, "#32770");
    WaitFor([] { return FindWindowA("VelumoTrayIcon", nullptr) != nullptr; }, 5000);
    return main;
}

// The skin's minimise button: the main window goes out of sight. Under Wine
// the focus change reaches the program from the X server a moment later; a
// menu opened before that would see it and close, as on any activation
// elsewhere, so the user's pause before the next click is kept.
bool Minimise(HWND main)
{
    if (!E2eDriver::ClickChildAt(main, 525, 232) || !WaitFor([&] { return !IsWindowVisible(main); }, 5000))
        return false;
    Sleep(500);
    return true;
}

}  // namespace

TEST(TrayE2e, IconCallbackAddsANoteAndOpensTheTrayMenu)
{
    E2eDriver app;
    ASSERT_TRUE(app.Start());
    HWND main = WaitForMainWindow(app);
    ASSERT_NE(main, nullptr);
    HWND list = GetDlgItem(main, 1000);

    PostMessageA(main, kTrayNotify, kTrayIconId, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitFor([&] { return app.ReadRows(list).size() == 1; }, 5000));
    // The new note takes the focus a moment later, its text selected: a
    // menu opened before that would close again, as on any activation.
    HWND note = app.WaitForWindow("", 5000, "VelumoNoteWnd");
    ASSERT_NE(note, nullptr);
    HWND edit = GetDlgItem(note, 1016);
    EXPECT_TRUE(WaitFor([&] { return HIWORD(SendMessageA(edit, EM_GETSEL, 0, 0)) > 0; }, 5000));

    PostMessageA(main, kTrayNotify, kTrayIconId, WM_RBUTTONUP);
    HWND menu = app.WaitForWindow("", 5000, "BitmapMenu");
    ASSERT_NE(menu, nullptr);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(menu); }, 5000));
    EXPECT_EQ(app.ReadRows(list).size(), 1u) << "Escape chose nothing";
    EXPECT_TRUE(app.IsRunning());
}

TEST(TrayE2e, HiddenMainWindowComesBackFromTheTrayMenuAndFromASecondStart)
{
    E2eDriver app;
    ASSERT_TRUE(app.Start());
    HWND main = WaitForMainWindow(app);
    ASSERT_NE(main, nullptr);

    ASSERT_TRUE(Minimise(main));
    PostMessageA(main, kTrayNotify, kTrayIconId, WM_RBUTTONUP);
    HWND menu = app.WaitForWindow("", 5000, "BitmapMenu");
    ASSERT_NE(menu, nullptr);
    PostMessageA(menu, WM_KEYDOWN, 'V', 0);  // "&View note list..."
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 5000));

    ASSERT_TRUE(Minimise(main));
    const FILETIME before = app.LastWrite("notes.dat");
    EXPECT_EQ(E2eDriver::RunToEnd(app.ExePath(), "", 15000), 0);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 5000));
    const FILETIME after = app.LastWrite("notes.dat");
    EXPECT_EQ(CompareFileTime(&before, &after), 0) << "the second copy touched no file";
    EXPECT_TRUE(app.IsRunning());
}

TEST(TrayE2e, MenuChoiceOverDeleteNoteDeletesNothing)
{
    // The tray menu opens at the mouse; "Help" is chosen with a real press
    // while it lies over the main window's "Delete note" with a row selected.
    E2eDriver app;
    CNoteList stored;
    for (const char* text : {"keep me", "and me"}) {
        auto note = std::make_unique<CNote>();
        note->m_strText = Utf16FromUtf8(text);
        stored.Add(note);
    }
    ASSERT_TRUE(app.WriteFile("notes.dat", stored.StoreToBytes()));
    ASSERT_TRUE(app.Start());
    HWND main = WaitForMainWindow(app);
    ASSERT_NE(main, nullptr);
    HWND list = GetDlgItem(main, 1000);
    ASSERT_TRUE(app.SelectRow(list, 0, true));

    constexpr int kHelpItem = 8;
    const auto openMenuAt = [&](POINT at) -> HWND {
        SetCursorPos(at.x, at.y);
        PostMessageA(main, kTrayNotify, kTrayIconId, WM_RBUTTONUP);
        HWND menu = app.WaitForWindow("", 5000, "BitmapMenu");
        // Drawn and taking input once its item bar is there.
        return menu && WaitFor([&] { return FindWindowExA(menu, nullptr, "ToolbarWindow32", nullptr); }, 5000)
                   ? menu
                   : nullptr;
    };
    const auto helpItemCentre = [&](HWND menu) {
        HWND bar = FindWindowExA(menu, nullptr, "ToolbarWindow32", nullptr);
        RECT item{};
        app.SendWithData(bar, TB_GETITEMRECT, kHelpItem, &item, sizeof item);
        POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ClientToScreen(bar, &centre);
        return centre;
    };
    // Once to learn where "Help" lies from the menu's corner...
    const POINT probeAt{400, 300};
    HWND menu = openMenuAt(probeAt);
    ASSERT_NE(menu, nullptr);
    const POINT probeHelp = helpItemCentre(menu);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(menu); }, 5000));
    // ...then again so that it lies over "Delete note".
    POINT deleteNote{19 + 50, 164 + 9};
    ClientToScreen(main, &deleteNote);
    menu = openMenuAt(POINT{deleteNote.x - (probeHelp.x - probeAt.x), deleteNote.y - (probeHelp.y - probeAt.y)});
    ASSERT_NE(menu, nullptr);
    const POINT help = helpItemCentre(menu);
    ASSERT_EQ(WindowFromPoint(help), FindWindowExA(menu, nullptr, "ToolbarWindow32", nullptr));
    SetCursorPos(help.x, help.y);
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    // The press chooses; the release comes once the menu had time to go, as
    // a user's does.
    SendInput(1, &click[0], sizeof(INPUT));
    WaitFor([&] { return !IsWindow(menu); }, 1000);
    SendInput(1, &click[1], sizeof(INPUT));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(menu); }, 5000));
    Sleep(1000);
    EXPECT_EQ(app.ReadRows(list).size(), 2u);

    app.Stop();
    const auto notes = ParseNotes(app.ReadFile("notes.dat"));
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->m_nCount, 2);
}
