#pragma once
// Where new notes go. A note made by the global shortcut goes around the
// mouse, on the screen the mouse is on, wholly inside that screen's work area
// (the desktop without the taskbar) wherever it fits. Any new note moves on
// from a place where it would hide another note wholly.
#include <span>

#include "notes/CNote.h"

// A width x height rectangle centred on (x, y), moved inside workArea; a
// note bigger than the work area keeps its top-left corner in it.
NoteRect NoteRectAround(int width, int height, int x, int y, const NoteRect& workArea);

// How far a new note moves on, right and down, from a place where it would
// hide another note (96-DPI pixels: about a caption's height, so the note
// below still shows its top line).
constexpr int kNewNoteStep = 24;
// Places a new note tries before it gives up and takes the one it wanted.
constexpr int kNewNotePlaceTries = 100;

// The place for a new note that wants `wanted`, among the notes on screen
// (`shown`): the first place, from wanted on, stepping down and right by
// `step` and wrapping round inside workArea, at which it hides none of them
// wholly. A desktop so full that none of `tries` places is free gives wanted.
NoteRect PlaceClearOfNotes(const NoteRect& wanted, std::span<const NoteRect> shown, const NoteRect& workArea,
                           int step = kNewNoteStep, int tries = kNewNotePlaceTries);
