// The About box: its text, its colours and link, the keyboard it ignores and
// the drag from any point.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "WinTestUtil.h"
#include "WindowPixels.h"
#include "mainwnd/CAboutDlg.h"
#include "res/resource.h"

namespace {

constexpr UINT WM_TEST_KEYS = WM_APP + 2;
constexpr UINT_PTR kLookTimer = 98;
constexpr UINT_PTR kGiveUpTimer = 99;

std::string TextOf(HWND hwnd)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Presses Escape and Enter and types into the box, looks whether it is still
// open a moment later, then closes it with the caption's close button.
class KeyedAboutDlg : public CAboutDlg {
public:
    bool openAfterKeys = false;
    std::string textBefore, textAfter;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CAboutDlg::OnInitDialog();
        PostMessageA(m_hWnd, WM_TEST_KEYS, 0, 0);
        SetTimer(m_hWnd, kGiveUpTimer, 5000, nullptr);
        return result;
    }
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        HWND edit = GetItem(IDC_ABOUT_TEXT);
        if (msg == WM_TEST_KEYS) {
            textBefore = TextOf(edit);
            SetFocus(edit);
            for (HWND target : {edit, m_hWnd}) {
                for (WPARAM key : {WPARAM{VK_ESCAPE}, WPARAM{VK_RETURN}}) {
                    PostMessageA(target, WM_KEYDOWN, key, 1);
                    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
                }
                PostMessageA(target, WM_CHAR, '7', 1);
            }
            SetTimer(m_hWnd, kLookTimer, 300, nullptr);
            return TRUE;
        }
        if (msg == WM_TIMER && wParam == kLookTimer) {
            KillTimer(m_hWnd, kLookTimer);
            openAfterKeys = IsWindowVisible(m_hWnd) != FALSE;
            textAfter = TextOf(edit);
            PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            return TRUE;
        }
        if (msg == WM_TIMER && wParam == kGiveUpTimer) {
            EndDialog(-2);
            return TRUE;
        }
        return CAboutDlg::HandleMessage(msg, wParam, lParam);
    }
};

}  // namespace

TEST(AboutDlgWin, KeyboardIsIgnoredAndTheCloseBoxCloses)
{
    KeyedAboutDlg dlg;
    EXPECT_EQ(dlg.DoModal(nullptr), IDCANCEL);
    EXPECT_TRUE(dlg.openAfterKeys) << "Escape or Enter closed the box";
    EXPECT_EQ(dlg.textAfter, dlg.textBefore) << "typing reached the description";
    EXPECT_EQ(dlg.textBefore.rfind("1.About of Velumo 2.00\r\n", 0), 0u);
}

TEST(AboutDlgWin, BlueBoxWithTitleAndBlinkingGreenLink)
{
    CAboutDlg dlg;
    HWND hwnd = dlg.CreateModeless(nullptr);
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    PumpPending();
    const WindowPixels box(hwnd);
    const uint32_t blue = Rgb(CAboutDlg::kBackColour);
    EXPECT_EQ(box.At(2, box.height - 2), blue);
    // The title: navy over its white shadow, top left.
    int navy = 0, white = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            navy += box.At(x, y) == 0x000080;
            white += box.At(x, y) == 0xFFFFFF;
        }
    EXPECT_GT(navy, 10);
    EXPECT_GT(white, 3);

    HWND link = GetDlgItem(hwnd, IDC_ABOUT_LINK);
    EXPECT_EQ(TextOf(link), "Visit website");
    for (bool on : {true, false}) {
        SCOPED_TRACE(on ? "shown" : "hidden");
        ASSERT_TRUE(PumpUntil([&] { return dlg.Link().IsBlinkPhaseOn() == on; }, 1500));
        const WindowPixels label(link);
        EXPECT_EQ(label.Count(Rgb(CAboutDlg::kLinkColour)) > 20, on);
        EXPECT_EQ(label.At(0, 0), blue);
    }
    EXPECT_NE(GetWindowLongPtrA(link, GWL_STYLE) & SS_NOTIFY, 0) << "the link takes clicks";
    DestroyWindow(hwnd);
}

TEST(AboutDlgWin, PressAnywhereStartsACaptionDrag)
{
    CAboutDlg dlg;
    HWND hwnd = dlg.CreateModeless(nullptr);
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    PumpPending();
    for (POINT at : {POINT{20, 60}, POINT{100, 5}}) {
        SCOPED_TRACE(at.x);
        SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        // Taken from the queue, not dispatched: that would start the move.
        MSG msg{};
        ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
        EXPECT_EQ(msg.wParam, WPARAM{HTCAPTION});
        POINT screen = at;
        ClientToScreen(hwnd, &screen);
        EXPECT_EQ(static_cast<short>(LOWORD(msg.lParam)), screen.x);
        EXPECT_EQ(static_cast<short>(HIWORD(msg.lParam)), screen.y);
    }
    DestroyWindow(hwnd);
}
