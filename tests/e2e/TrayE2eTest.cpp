// The real program from its tray icon: the icon's callback message adds a
// note and opens the tray menu, the menu brings back a hidden main window,
// and so does starting the program a second time.
#include <gtest/gtest.h>

#include <windows.h>

#include "E2eDriver.h"

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
    HWND edit = FindWindowExA(note, nullptr, "Edit", nullptr);
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
