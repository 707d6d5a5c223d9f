#include "framework/WindowDpi.h"

#include <vector>

#include "framework/ScopedHandles.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
// shcore's GetDpiForMonitor, with MDT_EFFECTIVE_DPI (0).
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

GetDpiForWindowFn DpiForWindowFunction()
{
    static const auto fn = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    return fn;
}

// Loaded on first need: most sessions have one monitor and never ask.
GetDpiForMonitorFn DpiForMonitorFunction()
{
    static const auto fn = [] {
        HMODULE shcore = LoadLibraryA("shcore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    return fn;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT rc, LPARAM list)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    const bool primary = GetMonitorInfoA(monitor, &info) && (info.dwFlags & MONITORINFOF_PRIMARY);
    auto& monitors = *reinterpret_cast<std::vector<MonitorScale>*>(list);
    const MonitorScale entry{NoteRect{rc->left, rc->top, rc->right, rc->bottom}, MonitorDpi(monitor)};
    // The main monitor first: it is the fallback for a note on none of them.
    monitors.insert(primary ? monitors.begin() : monitors.end(), entry);
    return TRUE;
}

}  // namespace

int SystemDpi()
{
    static const int dpi = [] {
        ScopedGetDC screen(nullptr);
        const int found = GetDeviceCaps(screen, LOGPIXELSX);
        return found > 0 ? found : DisplayScale::kBaseDpi;
    }();
    return dpi;
}

int WindowDpi(HWND hwnd)
{
    if (GetDpiForWindowFn fn = DpiForWindowFunction(); fn && hwnd) {
        if (const UINT dpi = fn(hwnd))
            return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int MonitorDpi(HMONITOR monitor)
{
    UINT x = 0, y = 0;
    if (GetDpiForMonitorFn fn = DpiForMonitorFunction(); fn && monitor && SUCCEEDED(fn(monitor, 0, &x, &y)) && x)
        return static_cast<int>(x);
    return SystemDpi();
}

int DpiForStoredRect(const NoteRect& stored)
{
    // One monitor, or monitors that cannot differ: the session's DPI.
    if (GetSystemMetrics(SM_CMONITORS) <= 1 || !DpiForWindowFunction())
        return SystemDpi();
    std::vector<MonitorScale> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return DpiForStoredRect(stored, monitors);
}
