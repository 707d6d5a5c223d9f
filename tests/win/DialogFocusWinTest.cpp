// The program's modal dialogs give the activation back to the window the
// user came from: the owner is enabled again before the dialog leaves the
// screen, so the system never hands the activation to another window.
#include <windows.h>

#include <gtest/gtest.h>

#include "ScriptedDialog.h"
#include "WinTestUtil.h"
#include "settings/AutoRun.h"
#include "settings/COptionsDlg.h"

namespace {

// Notes whether its owner was enabled when it was hidden.
class WatchedDialog : public ScriptedDialog<COptionsDlg> {
public:
    HWND owner = nullptr;
    bool ownerEnabledWhenHidden = false;

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_SHOWWINDOW && !wParam)
            ownerEnabledWhenHidden = IsWindowEnabled(owner) != FALSE;
        return ScriptedDialog<COptionsDlg>::HandleMessage(msg, wParam, lParam);
    }
};

HWND TopLevelWindow(const char* title)
{
    return CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

// The dialog base is the same for every dialog of the program (Options,
// About, "Enter text", scheduling): Options stands for them all.
TEST(DialogFocusWin, OwnerIsActiveAgainAfterOkAndEscape)
{
    HWND bystander = TopLevelWindow("bystander");  // where the activation could wrongly go
    HWND owner = TopLevelWindow("owner");
    const int savedAutoRun = g_bAutoRun;
    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Escape");
        SetActiveWindow(owner);
        WatchedDialog dlg;
        dlg.owner = owner;
        dlg.steps = {[ok](HWND hwnd) {
            if (ok)
                PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
            else
                PostKey(GetFocus() ? GetFocus() : hwnd, VK_ESCAPE);
        }};
        ASSERT_NE(dlg.DoModal(owner), dlg.kGaveUp) << "the dialog did not close";
        PumpPending();
        EXPECT_TRUE(dlg.ownerEnabledWhenHidden);
        EXPECT_EQ(GetActiveWindow(), owner);
    }
    g_bAutoRun = savedAutoRun;
    WriteAutoRun();
    DestroyWindow(owner);
    DestroyWindow(bystander);
}
