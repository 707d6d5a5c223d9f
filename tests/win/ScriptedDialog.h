#pragma once
// Runs a dialog of the program in its own modal run, with a user's actions
// as steps: each step runs from a message posted once the previous step has
// run, so everything a step posted is handled before the next one. A dialog
// still open after 5 s ends with -2.
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

template <typename Dialog>
class ScriptedDialog : public Dialog {
public:
    using Dialog::Dialog;
    static constexpr INT_PTR kGaveUp = -2;
    std::vector<std::function<void(HWND)>> steps;

protected:
    static constexpr UINT kStepMessage = WM_APP + 0x3F0;
    static constexpr UINT_PTR kGiveUpTimer = 0x5C;

    BOOL OnInitDialog() override
    {
        const BOOL result = Dialog::OnInitDialog();
        PostMessageA(this->m_hWnd, kStepMessage, 0, 0);
        SetTimer(this->m_hWnd, kGiveUpTimer, 5000, nullptr);
        return result;
    }
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == kStepMessage) {
            if (wParam < steps.size()) {
                steps[wParam](this->m_hWnd);
                PostMessageA(this->m_hWnd, kStepMessage, wParam + 1, 0);
            }
            return TRUE;
        }
        if (msg == WM_TIMER && wParam == kGiveUpTimer) {
            this->EndDialog(kGaveUp);
            return TRUE;
        }
        return Dialog::HandleMessage(msg, wParam, lParam);
    }
};

inline void PostKey(HWND hwnd, WPARAM key)
{
    PostMessageA(hwnd, WM_KEYDOWN, key, 1);
    PostMessageA(hwnd, WM_KEYUP, key, 0xC0000001);
}
