#pragma once
// Where a note window may stand on the screens the system has now.
#include <windows.h>

#include "core/NoteRect.h"

namespace NoteScreenPlace {

// Where the window for a stored rectangle (in pixels) goes: a note off every
// screen is brought onto the nearest, one whose top band (the part it is
// dragged by) is hidden above the screens is brought down.
NoteRect PlaceOnScreen(const NoteRect& rc, int topBand);

// The place that puts a shown window wholly into the work area of its
// screen (its top-left corner there, when it is larger).
NoteRect InWorkArea(HWND window);

}  // namespace NoteScreenPlace
