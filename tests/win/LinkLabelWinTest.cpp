// The link label on a real static control: blinking read from its pixels,
// clicks and cursor only with the notify style, the target, and where the
// text goes.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "WinTestUtil.h"
#include "WindowPixels.h"
#include "skin/CLinkLabel.h"

namespace {

constexpr COLORREF kBlue = RGB(58, 137, 190);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// Records what a click would open instead of starting a browser.
class TestLinkLabel : public CLinkLabel {
public:
    std::vector<std::string> opened;

protected:
    void OpenTarget(const std::string& target) override { opened.push_back(target); }
};

// A popup holding one static control with the label attached.
class LabelHost {
public:
    LabelHost(DWORD staticStyle, const char* text, int width = 160, int height = 30)
    {
        m_parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 40, 40, width + 20, height + 20,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        m_static = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | staticStyle, 10, 10, width, height,
                                   m_parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        label.Attach(m_static);
        PumpPending();
    }
    ~LabelHost()
    {
        DestroyWindow(m_parent);
        PumpPending();
    }
    HWND Static() const { return m_static; }
    POINT ScreenCentre() const
    {
        RECT rc;
        GetWindowRect(m_static, &rc);
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }

    TestLinkLabel label;

private:
    HWND m_parent = nullptr;
    HWND m_static = nullptr;
};

}  // namespace

TEST(LinkLabelWin, BlinkingShowsTheTextThenHidesItInTheBackground)
{
    const uint32_t buttonFace = Rgb(GetSysColor(COLOR_BTNFACE));
    struct Case {
        const char* label;
        bool ownBack;
        uint32_t background;
        uint32_t hiddenText;  // the text's colour in the hidden phase
    } cases[] = {
        {"own background", true, Rgb(kBlue), Rgb(kBlue)},
        {"system background", false, buttonFace, 0x000000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        LabelHost host(SS_CENTERIMAGE, "Visit website");
        if (c.ownBack)
            host.label.SetBackColour(kBlue);
        host.label.SetBold(true).SetTextColour(kGreen).SetCharHeight(14).BlinkText(true);

        // It starts hidden, shows within a tick, then hides again.
        const std::vector<bool> phases = {false, true, false};
        for (bool on : phases) {
            SCOPED_TRACE(on ? "shown" : "hidden");
            ASSERT_TRUE(PumpUntil([&] { return host.label.IsBlinkPhaseOn() == on; }, 1500));
            const WindowPixels shot(host.Static());
            EXPECT_EQ(shot.Count(Rgb(kGreen)) > 20, on);
            EXPECT_EQ(shot.At(1, 1), c.background);
            if (!on) {
                if (c.hiddenText != c.background) {
                    EXPECT_GT(shot.Count(c.hiddenText), 20);
                } else {
                    EXPECT_EQ(shot.Count(c.background), shot.width * shot.height);
                }
            }
        }

        // Switched off while hidden, the text shows and stays.
        host.label.BlinkText(false);
        EXPECT_GT(WindowPixels(host.Static()).Count(Rgb(kGreen)), 20);
        PumpUntil([] { return false; }, 1200);
        EXPECT_GT(WindowPixels(host.Static()).Count(Rgb(kGreen)), 20);
    }
}

TEST(LinkLabelWin, OnlyALinkTakesTheMouse)
{
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    struct Case {
        const char* label;
        bool hyperlink;
        bool openOnClick;
        const char* target;
        bool takesMouse;
        std::vector<std::string> opened;
    } cases[] = {
        {"no notify style", false, true, "", false, {}},
        {"link, empty target opens the text", true, true, "", true, {"https://example.org/a b"}},
        {"link with its own target", true, true, "https://example.org/t", true, {"https://example.org/t"}},
        {"link that does not open", true, false, "", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        LabelHost host(SS_CENTERIMAGE, "https://example.org/a b");
        host.label.SetHoverCursor(cross).SetTarget(c.target).SetHyperlink(c.hyperlink, c.openOnClick);

        // A static without the notify style is transparent to the mouse:
        // the press and the cursor query go to the window beneath.
        const POINT centre = host.ScreenCentre();
        EXPECT_EQ(WindowFromPoint(centre) == host.Static(), c.takesMouse);
        if (!c.takesMouse)
            continue;
        SetCursor(nullptr);
        EXPECT_TRUE(SendMessageA(host.Static(), WM_SETCURSOR, reinterpret_cast<WPARAM>(host.Static()),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(GetCursor(), cross);
        SendMessageA(host.Static(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(host.Static(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(host.label.opened, c.opened);
        if (c.openOnClick && std::string(c.target).empty()) {
            EXPECT_EQ(host.label.Target(), "https://example.org/a b") << "the text becomes the target";
        }
    }
}

TEST(LinkLabelWin, CentreImageCentresOneLineButStartsBrokenTextAtTheTop)
{
    struct Case {
        const char* label;
        DWORD style;
        const char* text;
        bool nearTop;
        bool nearLeft;
    } cases[] = {
        {"centre image, one line", SS_CENTERIMAGE, "Ab", false, false},
        {"centre image, two lines", SS_CENTERIMAGE, "Ab\r\nCd", true, false},
        {"plain centre", SS_CENTER, "Ab", true, true},
        {"right", SS_RIGHT, "Ab", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        LabelHost host(c.style, c.text, 200, 90);
        host.label.SetBackColour(kBlue).SetTextColour(kGreen).SetCharHeight(14);
        const WindowPixels shot(host.Static());
        const int top = shot.TopRowOf(Rgb(kGreen));
        ASSERT_GE(top, 0);
        EXPECT_EQ(top < 10, c.nearTop) << "first text row " << top;
        int left = shot.width;
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x)
                if (shot.At(x, y) == Rgb(kGreen) && x < left)
                    left = x;
        EXPECT_EQ(left < 10, c.nearLeft) << "first text column " << left;
    }
}
