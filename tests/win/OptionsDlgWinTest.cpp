// The Options dialog in its own modal run: every way of closing it against
// the auto-start flag.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "WinTestUtil.h"
#include "res/resource.h"
#include "settings/AutoRun.h"
#include "settings/COptionsDlg.h"

namespace {

constexpr UINT WM_TEST_ACT = WM_APP + 1;
constexpr UINT_PTR kGiveUpTimer = 99;

// Runs the given user actions once the dialog is up and has the focus; a
// dialog still open after 5 s ends with -2.
class ScriptedOptionsDlg : public COptionsDlg {
public:
    std::function<void(HWND)> act;
    bool boxCheckedAtStart = false;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = COptionsDlg::OnInitDialog();
        boxCheckedAtStart = IsDlgButtonChecked(m_hWnd, IDC_OPT_AUTORUN) == BST_CHECKED;
        PostMessageA(m_hWnd, WM_TEST_ACT, 0, 0);
        SetTimer(m_hWnd, kGiveUpTimer, 5000, nullptr);
        return result;
    }
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_TEST_ACT) {
            act(m_hWnd);
            return TRUE;
        }
        if (msg == WM_TIMER && wParam == kGiveUpTimer) {
            EndDialog(-2);
            return TRUE;
        }
        return COptionsDlg::HandleMessage(msg, wParam, lParam);
    }
};

void PostKey(HWND hwnd, WPARAM key)
{
    PostMessageA(hwnd, WM_KEYDOWN, key, 1);
    PostMessageA(hwnd, WM_KEYUP, key, 0xC0000001);
}

}  // namespace

TEST(OptionsDlgWin, OnlyConfirmingKeepsTheToggledBox)
{
    auto toggle = [](HWND dlg) { SendMessageA(GetDlgItem(dlg, IDC_OPT_AUTORUN), BM_CLICK, 0, 0); };
    struct Case {
        const char* label;
        std::function<void(HWND)> close;
        bool keeps;
    } cases[] = {
        {"&OK", [](HWND dlg) { PostMessageA(GetDlgItem(dlg, IDC_OPT_OK), BM_CLICK, 0, 0); }, true},
        {"Enter", [](HWND dlg) { PostKey(GetFocus() ? GetFocus() : dlg, VK_RETURN); }, true},
        {"&Cancel", [](HWND dlg) { PostMessageA(GetDlgItem(dlg, IDC_OPT_CANCEL), BM_CLICK, 0, 0); }, false},
        {"Escape", [](HWND dlg) { PostKey(GetFocus() ? GetFocus() : dlg, VK_ESCAPE); }, false},
        {"close box", [](HWND dlg) { PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
    };
    for (const auto& c : cases) {
        for (int before : {0, 1}) {
            SCOPED_TRACE(std::string(c.label) + (before ? ", was on" : ", was off"));
            g_bAutoRun = before;
            ScriptedOptionsDlg dlg;
            dlg.act = [&](HWND hwnd) {
                toggle(hwnd);
                c.close(hwnd);
            };
            const INT_PTR result = dlg.DoModal(nullptr);
            ASSERT_NE(result, -2) << "the dialog did not close";
            EXPECT_EQ(dlg.boxCheckedAtStart, before == 1);
            EXPECT_EQ(result, c.keeps ? IDOK : IDCANCEL);
            EXPECT_EQ(g_bAutoRun, c.keeps ? 1 - before : before);
        }
    }
    g_bAutoRun = 0;
}

TEST(OptionsDlgWin, BannerSpansTheDialogAboveTheChoice)
{
    COptionsDlg dlg;
    HWND hwnd = dlg.CreateModeless(nullptr);
    ASSERT_NE(hwnd, nullptr);
    RECT client, group;
    GetClientRect(hwnd, &client);
    GetWindowRect(GetDlgItem(hwnd, IDC_OPT_GROUP), &group);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&group), 2);
    HWND banner = GetWindow(hwnd, GW_CHILD);  // first in the template
    RECT picture;
    GetWindowRect(banner, &picture);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&picture), 2);
    EXPECT_EQ(picture.left, 0);
    EXPECT_EQ(picture.top, 0);
    EXPECT_GE(picture.right, client.right) << "no gap at the right edge";
    EXPECT_LE(picture.bottom, group.top + 1) << "the banner must not run into the check box's frame";
    DestroyWindow(hwnd);
}
