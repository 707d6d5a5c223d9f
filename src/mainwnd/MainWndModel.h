#pragma once
// Decisions of the main window that need no window: the look of new notes,
// what a row shows, where the window can be dragged.
#include <string>

#include "notes/CNote.h"

// Paper colour of new notes: plain yellow on 256-colour screens, where the
// pale yellow would be dithered.
ColorRef DefaultNoteBackColor(int screenColorCount);

// The Text cell: the note's text with line breaks shown as spaces, at most
// its first `length` characters (npos: all of it); a pair cut in two at the
// end is left out whole.
std::u16string RowTextOf(const std::u16string& noteText, size_t length);

// Images of the Vis and Schd cells (indexes into the list's image strip).
enum ListImage { kImageBlank = 0, kImageClock = 1, kImageUnticked = 2, kImageTicked = 3 };
int VisImageOf(const CNote& note);
int SchdImageOf(const CNote& note);

// The title band that moves the window: left/top inclusive, right/bottom
// exclusive, client coordinates.
bool IsInDragBand(int x, int y);

// The row to select after deleting: the highest deleted row index (0 when
// nothing was deleted), clamped to the rows that remain (-1 when none remain).
int RowToSelectAfterDelete(int highestDeletedRow, int rowsLeft);

// Caption of the program's own messages about its notes file and commands.
constexpr const char* kMessageCaption = "Velumo";

// Whether a failed save is told to the user. A locked file or a read-only
// folder makes every housekeeping save fail, five seconds apart: the user
// hears of it once, when saves start failing, and again only after a save
// has succeeded in between.
enum class SaveOutcome { kNothingToSave, kSaved, kFailed };
class SaveFailureNotice {
public:
    // Feeds one save; true when this failure is to be told now.
    bool ShouldTell(SaveOutcome outcome);

private:
    bool m_bFailing = false;
};
