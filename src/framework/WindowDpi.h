#pragma once
// The display scale of windows and monitors on this system. Windows 10
// (1607 and later) tells each window the DPI of the monitor it is on;
// Windows 8.1 tells each monitor's; older systems have one DPI for the whole
// session. Each question falls back to the one before it where the system
// cannot answer it.
#include <windows.h>

#include "framework/DisplayScale.h"

// The DPI of the session: what every window had before monitors could differ.
int SystemDpi();
// The DPI the window is drawn at: that of its monitor, where the system
// scales per monitor.
int WindowDpi(HWND hwnd);
inline DisplayScale WindowScale(HWND hwnd)
{
    return DisplayScale(WindowDpi(hwnd));
}
// The DPI of that monitor.
int MonitorDpi(HMONITOR monitor);
// The DPI of the monitor a stored (96-DPI) rectangle is shown on.
int DpiForStoredRect(const NoteRect& stored);

// Scales a font description's height (a 96-DPI value) to the scale given.
template <typename LogFontType>
LogFontType ScaledFont(LogFontType font, const DisplayScale& scale)
{
    font.lfHeight = scale.ToPixels(font.lfHeight);
    return font;
}
