#include "framework/MonitorWorkArea.h"

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas)
{
    const RECT area = WorkAreaOf(monitor);
    if (!IsRectEmpty(&area))
        reinterpret_cast<std::vector<RECT>*>(areas)->push_back(area);
    return TRUE;
}

}  // namespace

RECT WorkAreaOf(HMONITOR monitor)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoW(monitor, &info))
        return RECT{};
    return info.rcWork;
}

RECT WorkAreaNear(POINT point)
{
    return WorkAreaOf(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST));
}

RECT WorkAreaOfWindow(HWND window)
{
    return WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

std::optional<RECT> WorkAreaUnder(const RECT& rect)
{
    HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
    if (!monitor)
        return std::nullopt;
    return WorkAreaOf(monitor);
}

std::vector<RECT> AllWorkAreas()
{
    std::vector<RECT> areas;
    EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}
