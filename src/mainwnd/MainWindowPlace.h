#pragma once
// Where the main window was left, kept in the settings file ([Window] Left,
// Top) in 96-DPI units as the notes keep theirs, so that it comes back there.
#include <windows.h>

#include "framework/DisplayScale.h"

// Moves the window to its kept place when that place is on a screen; a
// place on no screen (one unplugged since) or a damaged value leaves the
// window where it is.
void PlaceMainWindowAsKept(HWND window, const DisplayScale& scale);
// Keeps the window's place; a minimised window keeps the one it had.
void KeepMainWindowPlace(HWND window, const DisplayScale& scale);
