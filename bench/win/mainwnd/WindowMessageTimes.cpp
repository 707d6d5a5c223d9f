#include "mainwnd/WindowMessageTimes.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "WinTiming.h"

WindowMessageTimes* WindowMessageTimes::s_watching = nullptr;

WindowMessageTimes::~WindowMessageTimes()
{
    for (const Subclassed& window : m_subclassed)
        if (IsWindow(window.hwnd) &&
            GetWindowLongPtrW(window.hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Timed))
            SetWindowLongPtrW(window.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(window.before));
    if (s_watching == this)
        s_watching = nullptr;
}

void WindowMessageTimes::Watch(HWND hwnd, UINT msg, UINT code, const std::string& what)
{
    s_watching = this;
    m_kinds.push_back({hwnd, msg, code, what});
    if (ProcBefore(hwnd))
        return;
    const auto before = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Timed)));
    m_subclassed.push_back({hwnd, before});
}

WNDPROC WindowMessageTimes::ProcBefore(HWND hwnd) const
{
    for (const Subclassed& window : m_subclassed)
        if (window.hwnd == hwnd)
            return window.before;
    return nullptr;
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

LRESULT CALLBACK WindowMessageTimes::Timed(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    WindowMessageTimes* self = s_watching;
    const WNDPROC before = self ? self->ProcBefore(hwnd) : nullptr;
    if (!before)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    Kind* kind = self->KindOf(hwnd, msg, wParam, lParam);
    if (!kind)
        return CallWindowProcW(before, hwnd, msg, wParam, lParam);
    // Only the performance counter: asking for the thread's processor time
    // is a call to the Wine server, which would weigh on the notifications.
    const double start = NowSeconds();
    const LRESULT result = CallWindowProcW(before, hwnd, msg, wParam, lParam);
    kind->seconds += NowSeconds() - start;
    ++kind->count;
    return result;
}
