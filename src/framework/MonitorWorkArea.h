#pragma once
// The work areas of the screens (each screen less its taskbars), as the
// windows that place themselves (notes, the splash, a new note at the
// mouse) need them. Screen pixels throughout.
#include <windows.h>

#include <optional>
#include <vector>

// The work area of a screen; empty when the system knows no such screen.
RECT WorkAreaOf(HMONITOR monitor);
// The work area of the screen nearest a point.
RECT WorkAreaNear(POINT point);
// The work area of the screen a window is on; the main screen's when the
// window is on none (not yet shown, or no window at all).
RECT WorkAreaOfWindow(HWND window);
// The work area of the screen a rectangle lies most on; nothing when the
// rectangle touches no screen at all.
std::optional<RECT> WorkAreaUnder(const RECT& rect);
// Every screen's work area, in the system's order of the screens.
std::vector<RECT> AllWorkAreas();
