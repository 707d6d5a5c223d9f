#pragma once
// "Coming up": the times in the next seven days at which the pass will bring
// notes up, earliest first. Each scheduled note gives its next occurrence
// (NextOccurrence.h), each snoozed note the time it comes back; a note that
// is both gives both.
#include <vector>

#include "notes/CNoteList.h"

struct ComingUpRow {
    NoteTime at = 0;
    NotePos pos = nullptr;
    bool snoozed = false;  // the row is the note's return from a snooze
};

// How far ahead the list looks.
constexpr int kComingUpDays = 7;

// The rows from now to now + kComingUpDays days, in time order (list order
// among equal times). A snooze already over comes now: the next pass brings
// it.
std::vector<ComingUpRow> ComingUpRows(const CNoteList& notes, NoteTime now);
