#pragma once
// Where a note made by the global shortcut goes: around the mouse, on the
// screen the mouse is on, wholly inside that screen's work area (the desktop
// without the taskbar) wherever it fits.
#include "notes/CNote.h"

// A width x height rectangle centred on (x, y), moved inside workArea; a
// note bigger than the work area keeps its top-left corner in it.
NoteRect NoteRectAround(int width, int height, int x, int y, const NoteRect& workArea);
