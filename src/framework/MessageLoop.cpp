#include "framework/MessageLoop.h"

#include <unordered_map>

#include "framework/CWinAppBase.h"

namespace {

std::unordered_map<HWND, IPreTranslator*>& Filters()
{
    static std::unordered_map<HWND, IPreTranslator*> filters;
    return filters;
}

}  // namespace

namespace MessageLoop {

void RegisterFilter(HWND hwnd, IPreTranslator* filter)
{
    if (hwnd && filter)
        Filters()[hwnd] = filter;
}

void UnregisterFilter(HWND hwnd)
{
    Filters().erase(hwnd);
}

bool PreTranslate(MSG& msg)
{
    for (HWND hwnd = msg.hwnd; hwnd; hwnd = GetParent(hwnd)) {
        auto it = Filters().find(hwnd);
        if (it != Filters().end() && it->second->PreTranslateMessage(msg))
            return true;
        // Top-level windows end the chain: their owners are other windows. A
        // popup is top-level even with WS_CHILD (the bitmap menu's window).
        const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
        if (!(style & WS_CHILD) || (style & WS_POPUP))
            break;
    }
    // F1 anywhere in the program opens its help, as it does in every Windows
    // program; with Shift, Ctrl or Alt it is some other command.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1 && CWinAppBase::Get() &&
        !(GetKeyState(VK_SHIFT) & 0x8000) && !(GetKeyState(VK_CONTROL) & 0x8000) &&
        !(GetKeyState(VK_MENU) & 0x8000)) {
        CWinAppBase::Get()->ShowHelp();
        return true;
    }
    return false;
}

bool RunUntil(const bool* done, HWND dialog)
{
    MSG msg;
    while (!*done) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got == -1)
            return false;
        if (PreTranslate(msg))
            continue;
        if (dialog && IsWindow(dialog) && IsDialogMessageW(dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace MessageLoop
