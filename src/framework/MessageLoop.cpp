#include "framework/MessageLoop.h"

#include <unordered_map>

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
        // Top-level windows end the chain: their owners are other windows.
        if (!(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD))
            break;
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
