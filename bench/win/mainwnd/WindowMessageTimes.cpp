#include "mainwnd/WindowMessageTimes.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "WinTiming.h"

WindowMessageTimes::~WindowMessageTimes()
{
    for (HWND hwnd : m_subclassed)
        if (IsWindow(hwnd))
            RemoveWindowSubclass(hwnd, Timed, reinterpret_cast<UINT_PTR>(this));
}

void WindowMessageTimes::Watch(HWND hwnd, UINT msg, UINT code, const std::string& what)
{
    m_kinds.push_back({hwnd, msg, code, what});
    if (std::find(m_subclassed.begin(), m_subclassed.end(), hwnd) != m_subclassed.end())
        return;
    SetWindowSubclass(hwnd, Timed, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
    m_subclassed.push_back(hwnd);
}

void WindowMessageTimes::Clear()
{
    for (Kind& kind : m_kinds) {
        kind.seconds = 0;
        kind.count = 0;
    }
}

void WindowMessageTimes::Report(size_t keys) const
{
    const double n = static_cast<double>(std::max<size_t>(keys, 1));
    for (const Kind& kind : m_kinds)
        std::printf("    of which %-44s %8.2f ms a key (%.1f of them)\n", kind.what.c_str(), kind.seconds * 1000 / n,
                    kind.count / n);
}

WindowMessageTimes::Kind* WindowMessageTimes::KindOf(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    for (Kind& kind : m_kinds) {
        if (kind.hwnd != hwnd || kind.msg != msg)
            continue;
        if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code != kind.code)
            continue;
        if (msg == WM_COMMAND && HIWORD(wParam) != kind.code)
            continue;
        return &kind;
    }
    return nullptr;
}

LRESULT CALLBACK WindowMessageTimes::Timed(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) noexcept
{
    Kind* kind = reinterpret_cast<WindowMessageTimes*>(self)->KindOf(hwnd, msg, wParam, lParam);
    if (!kind)
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    // Only the performance counter: asking for the thread's processor time
    // is a call to the Wine server, which would weigh on the notifications.
    const double start = NowSeconds();
    const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    kind->seconds += NowSeconds() - start;
    ++kind->count;
    return result;
}
