#pragma once
// When a note's schedule will next bring it up: the first moment, at or
// after a given one, at which the due test (IsDue.h) answers yes, the lead
// time included, supposing no pass brings the note up before then.
#include <optional>

#include "notes/CNote.h"
#include "schedule/OccurrenceDays.h"

// How far ahead a single question looks: past a year, so that every
// schedule the dialog can make (52 weeks, a month of the year) shows its next
// time, and a damaged one ends the search.
constexpr int kOccurrenceSearchDays = 400;

// Empty when the note is not due within kOccurrenceSearchDays days.
std::optional<NoteTime> NextOccurrence(const CNote& note, NoteTime after);

// The same over the first dayCount days of days, which must start on the
// local date of after: the form for many notes at once.
std::optional<NoteTime> NextOccurrence(const CNote& note, NoteTime after, OccurrenceDays& days, int dayCount);
