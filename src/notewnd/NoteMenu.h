#pragma once
// The note's own menu (right button on a note): loaded from the resources,
// its checks and swatches set from the note, shown at the cursor.
#include <windows.h>

#include "notes/CNote.h"

// Shows the menu for note (null for a window that has let go of its note)
// and returns once it is closed; the chosen item arrives afterwards at owner
// as a WM_COMMAND.
// formats: those of the text at the caret, checked in the Format menu.
void TrackNoteMenu(HWND owner, const CNote* note, uint8_t formats);
