#pragma once
// A note snoozed from its window: the window hides it as Hide does, and the
// scheduler pass brings it back at the time chosen from the note's Snooze
// submenu.
#include "notes/CNote.h"
#include "schedule/SnoozeChoice.h"

// True when the menu command is one of the Snooze submenu's; choice then
// holds its length.
bool SnoozeChoiceOfCommand(int command, SnoozeChoice& choice);

// Sets the time the note comes back; the caller then hides it. The schedule
// and the day the note was last shown stay as they are. False, and the note
// unchanged, when no time can be worked out: the note then stays shown.
bool SnoozeNote(CNote& note, SnoozeChoice choice, NoteTime now);
