#pragma once
// From a date-time picker's local clock reading to the time value a note
// stores. A picker shows the last day a time value can reach (18 January
// 2038) in full, but in zones west of UTC the evening of that day lies past
// the last second a 32-bit time value holds; and a picker's time of day sits
// on whatever date it was given. Each picker's reading is kept for the part
// of it that the schedule uses.
#include <optional>

#include "notes/CNote.h"
#include "core/LocalTime.h"

enum class PickerPart {
    Date,       // only the local date counts (starting and ending date)
    TimeOfDay,  // only the local hour and minute count (starting time)
};

// The time value for the reading: the reading's own moment when a time value
// holds it; otherwise, for a date, the last storable moment if it still falls
// on that date, and for a time of day, the same clock time on the day before
// or after (or two away). Empty when no time value keeps the part that counts.
std::optional<NoteTime> NoteTimeForPicker(const LocalDateTime& reading, PickerPart part);
