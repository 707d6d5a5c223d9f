// The program's modal dialogs give the activation back to the window the
// user came from: the owner is enabled again before the dialog leaves the
// screen, so the system never hands the activation to another window.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "ScriptedDialog.h"
#include "WinTestUtil.h"
#include "mainwnd/CAboutDlg.h"
#include "mainwnd/CTextDlg.h"
#include "settings/AutoRun.h"
#include "settings/COptionsDlg.h"

namespace {

// Notes whether its owner was enabled when it was hidden.
template <typename Dialog>
class WatchedDialog : public ScriptedDialog<Dialog> {
public:
    HWND owner = nullptr;
    bool hidden = false;
    bool ownerEnabledWhenHidden = false;

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_SHOWWINDOW && !wParam && !hidden) {
            hidden = true;
            ownerEnabledWhenHidden = IsWindowEnabled(owner) != FALSE;
        }
        return ScriptedDialog<Dialog>::HandleMessage(msg, wParam, lParam);
    }
};

struct Outcome {
    INT_PTR result;
    bool ownerEnabledWhenHidden;
};

using CloseStep = std::function<void(HWND)>;

template <typename Dialog>
Outcome RunOver(HWND owner, const CloseStep& close)
{
    WatchedDialog<Dialog> dlg;
    dlg.owner = owner;
    dlg.steps = {close};
    const INT_PTR result = dlg.DoModal(owner);
    return {result, dlg.hidden && dlg.ownerEnabledWhenHidden};
}

void Ok(HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDOK, 0); }
void PressEscape(HWND dlg) { PostKey(GetFocus() ? GetFocus() : dlg, VK_ESCAPE); }
// The About box ignores the keyboard: it closes with its close box.
void CloseBox(HWND dlg) { PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }

HWND TopLevelWindow(const char* title)
{
    HWND hwnd = CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    PumpPending();
    return hwnd;
}

}  // namespace

TEST(DialogFocusWin, OwnerIsActiveAgainAfterOkAndEscape)
{
    // Another window to which the activation could wrongly go.
    HWND bystander = TopLevelWindow("bystander");
    HWND owner = TopLevelWindow("owner");
    const int savedAutoRun = g_bAutoRun;
    struct Case {
        const char* label;
        std::function<Outcome(HWND, const CloseStep&)> run;
        CloseStep close;
    } cases[] = {
        {"Options, OK", &RunOver<COptionsDlg>, &Ok},
        {"Options, Escape", &RunOver<COptionsDlg>, &PressEscape},
        {"About, close box", &RunOver<CAboutDlg>, &CloseBox},
        {"Enter text, OK", &RunOver<CTextDlg>, &Ok},
        {"Enter text, Escape", &RunOver<CTextDlg>, &PressEscape},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        SetActiveWindow(owner);
        g_bAutoRun = savedAutoRun;
        const Outcome outcome = c.run(owner, c.close);
        PumpPending();
        ASSERT_NE(outcome.result, ScriptedDialog<COptionsDlg>::kGaveUp) << "the dialog did not close";
        EXPECT_TRUE(outcome.ownerEnabledWhenHidden);
        EXPECT_TRUE(IsWindowEnabled(owner));
        EXPECT_EQ(GetActiveWindow(), owner);
    }
    g_bAutoRun = savedAutoRun;
    WriteAutoRun();
    DestroyWindow(owner);
    DestroyWindow(bystander);
}
