#pragma once
// Decisions of the main window that need no window: the look of new notes,
// what a row shows, where the window can be dragged.
#include <string>

#include "notes/CNote.h"

// Paper colour of new notes: plain yellow on 256-colour screens, where the
// pale yellow would be dithered.
ColorRef DefaultNoteBackColor(int screenColorCount);

// The Text cell: the note's text with line breaks shown as spaces.
std::u16string RowTextOf(const std::u16string& noteText);

// Images of the Vis and Schd cells (indexes into the list's image strip).
enum ListImage { kImageBlank = 0, kImageClock = 1, kImageUnticked = 2, kImageTicked = 3 };
int VisImageOf(const CNote& note);
int SchdImageOf(const CNote& note);

// The title band that moves the window: left/top inclusive, right/bottom
// exclusive, client coordinates.
bool IsInDragBand(int x, int y);

// The row to select after deleting: the lowest deleted row index, clamped
// to the rows that remain (-1 when none remain).
int RowToSelectAfterDelete(int lowestDeletedRow, int rowsLeft);
