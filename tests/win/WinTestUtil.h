#pragma once
// Small helpers shared by the Windows tests.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "framework/MessageLoop.h"



// Dispatches waiting messages until the condition holds or the time is up.
// filtered: each message is first offered to the window filters, as the
// program's own loops do (a note's keys and right button need that).
template <typename Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs, bool filtered = false)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (filtered && MessageLoop::PreTranslate(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Dispatches what is waiting now.
void PumpPending();

// A window's rectangle where its parent put it: a child's in the parent's
// client area, a top-level window's on the screen.
inline RECT PlacedRect(HWND hwnd)
{
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    if (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}
