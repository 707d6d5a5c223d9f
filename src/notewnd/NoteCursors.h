#pragma once
// The cursor a note window shows over each of its parts: the program's hand
// over the margin that moves it, the platform's arrows over the edges and
// corners that size it.
#include <windows.h>

#include "notewnd/NoteHitTest.h"

// Shared cursors, looked up once rather than on every mouse move; never
// destroyed.
HCURSOR CursorForHit(NoteHit hit);
