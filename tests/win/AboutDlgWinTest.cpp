// The About box: the keyboard it ignores, its colours, title and blinking
// link, and the drag from any point.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ScriptedDialog.h"
#include "WinTestUtil.h"
#include "WindowPixels.h"
#include "mainwnd/CAboutDlg.h"
#include "res/resource.h"

namespace {

std::string TextOf(HWND hwnd)
{
    char text[2048] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

}  // namespace

TEST(AboutDlgWin, KeyboardIsIgnoredAndTheCloseBoxCloses)
{
    ScriptedDialog<CAboutDlg> dlg;
    std::string before, after;
    bool openAfterKeys = false;
    dlg.steps = {
        [&](HWND hwnd) {
            HWND edit = GetDlgItem(hwnd, IDC_ABOUT_TEXT);
            before = TextOf(edit);
            SetFocus(edit);
            for (HWND target : {edit, hwnd}) {
                PostKey(target, VK_ESCAPE);
                PostKey(target, VK_RETURN);
                PostMessageA(target, WM_CHAR, '7', 1);
            }
        },
        [&](HWND hwnd) {
            openAfterKeys = IsWindowVisible(hwnd) != FALSE;
            after = TextOf(GetDlgItem(hwnd, IDC_ABOUT_TEXT));
            PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        },
    };
    EXPECT_EQ(dlg.DoModal(nullptr), IDCANCEL);
    EXPECT_TRUE(openAfterKeys) << "Escape or Enter closed the box";
    EXPECT_EQ(after, before) << "typing reached the description";
    EXPECT_EQ(before.rfind("1.About of Velumo 2.00\r\n", 0), 0u);
}

TEST(AboutDlgWin, BlueWithTitleBlinkingGreenLinkAndDraggedFromAnyPoint)
{
    CAboutDlg dlg;
    HWND hwnd = dlg.CreateModeless(nullptr);
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    PumpPending();
    const uint32_t blue = Rgb(CAboutDlg::kBackColour);
    const WindowPixels box(hwnd);
    EXPECT_EQ(box.At(2, box.height - 2), blue);
    // The title, top left: navy over its white shadow.
    EXPECT_GT(box.Count(0x000080, RECT{0, 0, 60, 30}), 10);
    EXPECT_GT(box.Count(0xFFFFFF, RECT{0, 0, 60, 30}), 3);

    HWND link = GetDlgItem(hwnd, IDC_ABOUT_LINK);
    EXPECT_EQ(TextOf(link), "Visit website");
    for (bool on : {true, false}) {
        SCOPED_TRACE(on ? "shown" : "hidden");
        ASSERT_TRUE(PumpUntil([&] { return dlg.Link().IsBlinkPhaseOn() == on; }, 1500));
        const WindowPixels label(link);
        EXPECT_EQ(label.Count(Rgb(CAboutDlg::kLinkColour)) > 20, on);
        EXPECT_EQ(label.At(0, 0), blue);
    }

    for (POINT at : {POINT{20, 60}, POINT{100, 5}}) {
        SCOPED_TRACE(at.x);
        SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        // Taken from the queue, not dispatched: that would start the move.
        MSG msg{};
        ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
        EXPECT_EQ(msg.wParam, WPARAM{HTCAPTION});
        ClientToScreen(hwnd, &at);
        EXPECT_EQ(msg.lParam, MAKELPARAM(at.x, at.y)) << "the caption press takes a screen point";
    }
    DestroyWindow(hwnd);
}
