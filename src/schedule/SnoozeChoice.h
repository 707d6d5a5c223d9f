#pragma once
// The lengths a note can be snoozed for, in the order of the note menu's
// Snooze submenu, and when a note snoozed now comes back.
#include <optional>

#include "notes/CNote.h"

enum class SnoozeChoice { kFiveMinutes, kTenMinutes, kThirtyMinutes, kOneHour, kTomorrow };
constexpr int kSnoozeChoiceCount = 5;

// Tomorrow is the same clock time on the next date, whatever a change of the
// clocks does to the length of the night. Empty when now has no local
// reading or the time would not fit a stored time.
std::optional<NoteTime> SnoozeUntil(SnoozeChoice choice, NoteTime now);
