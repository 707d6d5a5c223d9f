// The start-up picture: one at a time, only when enabled, and gone after two
// seconds whatever the user does.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "WinTestUtil.h"
#include "skin/CSplashWindow.h"

namespace {

int SplashWindows()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            char cls[64] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            if (std::string(cls) == CSplashWindow::kClassName && IsWindowVisible(hwnd))
                ++*reinterpret_cast<int*>(lParam);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// A visible window to own the picture, as the main window does.
struct Owner {
    Owner()
    {
        hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 600, 400, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    ~Owner()
    {
        CloseSplash();
        SetSplashEnabled(false);
        DestroyWindow(hwnd);
        PumpPending();
    }
    HWND hwnd;
};

}  // namespace

TEST(SplashWin, OneAtATimeAndOnlyWhenEnabled)
{
    struct Case {
        const char* label;
        bool enabled;
        int opens;
        int windows;
    } cases[] = {{"disabled", false, 1, 0}, {"enabled", true, 1, 1}, {"opened twice", true, 2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Owner owner;
        SetSplashEnabled(c.enabled);
        for (int i = 0; i < c.opens; ++i)
            OpenSplash(owner.hwnd);
        PumpPending();
        EXPECT_EQ(SplashWindows(), c.windows);
        EXPECT_EQ(CSplashWindow::Current() != nullptr, c.windows == 1);
        if (!c.windows)
            continue;
        // The picture's size, centred over its owner.
        RECT splash, around;
        GetWindowRect(CSplashWindow::Current()->GetHwnd(), &splash);
        GetWindowRect(owner.hwnd, &around);
        EXPECT_EQ(splash.right - splash.left, 315);
        EXPECT_EQ(splash.bottom - splash.top, 130);
        EXPECT_LE(std::abs((splash.left + splash.right) - (around.left + around.right)), 1);
        EXPECT_LE(std::abs((splash.top + splash.bottom) - (around.top + around.bottom)), 1);
    }
}

TEST(SplashWin, ClosesAfterTwoSecondsEvenWhileClicked)
{
    Owner owner;
    SetSplashEnabled(true);
    const DWORD start = GetTickCount();
    OpenSplash(owner.hwnd);
    ASSERT_NE(CSplashWindow::Current(), nullptr);
    HWND splash = CSplashWindow::Current()->GetHwnd();
    // Clicks and keys for 1.5 s do not close it.
    while (GetTickCount() - start < 1500) {
        PostMessageA(splash, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageA(splash, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        PostMessageA(splash, WM_KEYDOWN, VK_ESCAPE, 1);
        PumpUntil([] { return false; }, 100);
    }
    EXPECT_TRUE(IsWindow(splash));
    ASSERT_TRUE(PumpUntil([] { return CSplashWindow::Current() == nullptr; }, 3000));
    const DWORD shown = GetTickCount() - start;
    EXPECT_GE(shown, 1900u);
    EXPECT_LT(shown, 3500u);
    EXPECT_FALSE(IsWindow(splash));
}
