#pragma once
// How a note's look is chosen: the swatches of its Colour menu and the
// system's colour and font dialogs. The dialogs plug in behind hooks, so
// that tests can answer them in the user's place.
#include <windows.h>

#include <optional>
#include <vector>

#include "framework/ScopedHandles.h"
#include "notes/CNote.h"

// Each returns true when the user chose OK, and only then changes its
// arguments.
using ColourChooser = bool (*)(HWND owner, ColorRef& colour);
using FontChooser = bool (*)(HWND owner, LogFont& font, ColorRef& textColour);

// Null puts the system's dialog back.
void SetLookChoosers(ColourChooser colour, FontChooser font);

// The paper colour, in the dialog the hooks choose.
bool ChooseNoteColour(HWND owner, ColorRef& colour);
// The font (its height for 96 DPI, as a note keeps it) and the ink.
bool ChooseNoteFont(HWND owner, LogFont& font, ColorRef& textColour);

// Gives the paper items of the note's menu their swatches and checks the
// note's paper (none for a window that has let go of its note). The menu
// shows the bitmaps: they must outlive it.
void PrepareColourMenu(HMENU popup, std::optional<ColorRef> paper, std::vector<UniqueBitmap>& swatches);
