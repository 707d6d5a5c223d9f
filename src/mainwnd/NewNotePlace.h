#pragma once
// The place of a new note on the real desktop: the notes shown there and the
// work area of the screen it comes up on, given to PlaceClearOfNotes.
#include "notes/CNoteList.h"

// Where a new note that wants `wanted` (96-DPI units, as notes store their
// places) goes so that it hides none of the notes shown wholly.
NoteRect NewNotePlace(const CNoteList& notes, const NoteRect& wanted);
