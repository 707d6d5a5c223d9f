// The start-up picture: one at a time, only when enabled, centred on its
// owner's work area, and gone after two seconds whatever the user does.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "WinTestUtil.h"
#include "framework/MonitorWorkArea.h"
#include "skin/CSplashWindow.h"

namespace {

int SplashWindows()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM counter) -> BOOL {
            char cls[64] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            *reinterpret_cast<int*>(counter) += lstrcmpA(cls, CSplashWindow::kClassName) == 0 && IsWindowVisible(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// A visible window that owns the picture, as the main window does.
struct Owner {
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 600, 400, nullptr, nullptr,
                                nullptr, nullptr);
    ~Owner()
    {
        CloseSplash();
        SetSplashEnabled(false);
        DestroyWindow(hwnd);
        PumpPending();
    }
};

}  // namespace

TEST(SplashWin, OneAtATimeOnlyWhenEnabledCentredOnItsOwnersWorkArea)
{
    struct Case {
        const char* label;
        bool enabled;
        int opens, windows;
    } cases[] = {{"disabled", false, 1, 0}, {"enabled", true, 1, 1}, {"opened twice", true, 2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Owner owner;
        SetSplashEnabled(c.enabled);
        for (int i = 0; i < c.opens; ++i)
            OpenSplash(owner.hwnd);
        PumpPending();
        ASSERT_EQ(SplashWindows(), c.windows);
        if (!c.windows)
            continue;
        RECT splash;
        GetWindowRect(CSplashWindow::Current()->GetHwnd(), &splash);
        const RECT around = WorkAreaOfWindow(owner.hwnd);
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
    while (GetTickCount() - start < 1500) {
        PostMessageA(splash, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageA(splash, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        PostMessageA(splash, WM_KEYDOWN, VK_ESCAPE, 1);
        PumpUntil([] { return false; }, 100);
    }
    EXPECT_TRUE(IsWindow(splash)) << "clicks or keys closed it early";
    ASSERT_TRUE(PumpUntil([] { return CSplashWindow::Current() == nullptr; }, 3000));
    EXPECT_GE(GetTickCount() - start, 1900u);
    EXPECT_FALSE(IsWindow(splash));
}
