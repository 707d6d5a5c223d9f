// The link label on a real static control: blinking read from its pixels,
// clicks and cursor only with the notify style, the target, where the text goes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestUtil.h"
#include "WindowPixels.h"
#include "skin/CLinkLabel.h"

namespace {

constexpr COLORREF kBlue = RGB(58, 137, 190), kGreen = RGB(0, 255, 0);

// Records what a click would open instead of starting a browser.
class TestLinkLabel : public CLinkLabel {
public:
    std::vector<std::string> opened;

protected:
    void OpenTarget(const std::string& target) override { opened.push_back(target); }
};

// A popup holding one static control with the label attached.
struct LabelHost {
    LabelHost(DWORD style, const char* text, int width = 160, int height = 30)
    {
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 40, 40, width + 20, height + 20, nullptr,
                                 nullptr, nullptr, nullptr);
        control = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, parent,
                                  nullptr, nullptr, nullptr);
        label.Attach(control);
    }
    ~LabelHost()
    {
        DestroyWindow(parent);
        PumpPending();
    }
    HWND parent, control;
    TestLinkLabel label;
};

}  // namespace

TEST(LinkLabelWin, BlinkingShowsTheTextThenHidesItInTheBackground)
{
    struct Case {
        const char* label;
        bool ownBack;
        uint32_t background, hiddenText;
    } cases[] = {
        {"own background", true, Rgb(kBlue), Rgb(kBlue)},
        {"system background: hidden text is black", false, Rgb(GetSysColor(COLOR_BTNFACE)), 0x000000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        LabelHost host(SS_CENTERIMAGE, "Visit website");
        if (c.ownBack)
            host.label.SetBackColour(kBlue);
        host.label.SetBold(true).SetTextColour(kGreen).SetCharHeight(14).BlinkText(true);
        for (bool on : {false, true, false}) {  // hidden first, shown after a tick, hidden again
            SCOPED_TRACE(on ? "shown" : "hidden");
            ASSERT_TRUE(PumpUntil([&] { return host.label.IsBlinkPhaseOn() == on; }, 1500));
            const WindowPixels shot(host.control);
            EXPECT_EQ(shot.Count(Rgb(kGreen)) > 20, on);
            EXPECT_EQ(shot.At(1, 1), c.background);
            if (!on) {
                EXPECT_GT(shot.Count(c.hiddenText), 20);
            }
        }
        // Stopped while hidden, the text shows and stays.
        host.label.BlinkText(false);
        PumpUntil([] { return false; }, 1100);
        EXPECT_GT(WindowPixels(host.control).Count(Rgb(kGreen)), 20);
    }
}

TEST(LinkLabelWin, OnlyALinkTakesTheMouse)
{
    const std::string text = "https://example.org/a b";
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    struct Case {
        const char* label;
        bool hyperlink, openOnClick;
        const char* target;
        std::vector<std::string> opened;
    } cases[] = {
        {"no notify style: no cursor, no click", false, true, "", {}},
        {"empty target opens the text", true, true, "", {text}},
        {"own target", true, true, "https://example.org/t", {"https://example.org/t"}},
        {"link that does not open", true, false, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        LabelHost host(SS_CENTERIMAGE, text.c_str());
        host.label.SetHoverCursor(cross).SetTarget(c.target).SetHyperlink(c.hyperlink, c.openOnClick);
        // Without the notify style the static is transparent to the mouse:
        // presses and cursor queries go to the window beneath.
        RECT rc;
        GetWindowRect(host.control, &rc);
        const bool takesMouse = WindowFromPoint(POINT{rc.left + 5, rc.top + 5}) == host.control;
        EXPECT_EQ(takesMouse, c.hyperlink);
        if (!takesMouse)
            continue;
        SetCursor(nullptr);
        SendMessageA(host.control, WM_SETCURSOR, reinterpret_cast<WPARAM>(host.control), MAKELPARAM(HTCLIENT, 0));
        EXPECT_EQ(GetCursor(), cross);
        SendMessageA(host.control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(host.label.opened, c.opened);
        EXPECT_EQ(host.label.Target(), c.openOnClick && !*c.target ? text : c.target) << "the text became the target";
    }
}

TEST(LinkLabelWin, CentreImageCentresOneLineButStartsBrokenTextAtTheTop)
{
    struct Case {
        const char* text;
        bool nearTop;
    } cases[] = {{"Ab", false}, {"Ab\r\nCd", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        LabelHost host(SS_CENTERIMAGE, c.text, 200, 90);
        host.label.SetBackColour(kBlue).SetTextColour(kGreen).SetCharHeight(14);
        const RECT text = WindowPixels(host.control).Bounds(Rgb(kGreen));
        ASSERT_LT(text.left, text.right);
        EXPECT_EQ(text.top < 10, c.nearTop) << "first text row " << text.top;
        EXPECT_GT(text.left, 60) << "centred across";
    }
}
