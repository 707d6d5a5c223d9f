#pragma once
// What the schedule page holds when OK is pressed. It is checked as a whole
// before any of it reaches the note, so a refused OK (and a Cancel after it)
// leaves the note exactly as it was.
#include <cstdint>

#include "notes/CNote.h"

struct ScheduleForm {
    uint32_t kind = 0;  // the When list: 0 one time, 1 daily, 2 weekly, 3 monthly
    NoteTime startDate = 0;
    NoteTime startTime = 0;
    bool hasEndDate = false;
    NoteTime endDate = 0;
    // Daily
    bool every = true;  // "Every" N days; false: "Weekdays"
    int everyDays = 1;
    // Weekly
    int everyWeeks = 1;
    uint16_t dayMask = 0;  // bit 0 Sunday .. bit 6 Saturday
    // Monthly
    bool onThe = true;  // "On the" ordinal weekday; false: "On day" N
    int ordinal = 0;
    int weekday = 1;
    int monthDay = 1;
    uint16_t monthMask = 0;  // bit 0 January .. bit 11 December
};

// The scheduling dialog's "RiviViro" warnings.
namespace ScheduleWarning {
inline constexpr const char* kCaption = "RiviViro";
inline constexpr const char* kStartBeforeToday =
    "Please enter a starting date equal to or later than the current date.";
inline constexpr const char* kEndBeforeStart =
    "Please enter an ending date that is equal or later than the starting date.";
inline constexpr const char* kDays = "Please enter between 1 and 99 days";
inline constexpr const char* kWeeks = "Please enter between 1 and 52 weeks";
inline constexpr const char* kNoDay = "Please select at least one day of the week to run the script";
inline constexpr const char* kNoMonth = "Please select at least one month to run the script";
}  // namespace ScheduleWarning

// The warning that refuses the form, in the order the page checks, or
// nullptr when it is accepted. today: the local midnight of now.
const char* ScheduleFormWarning(const ScheduleForm& form, NoteTime today);

// Writes an accepted form into the note: the ending date (or its absence),
// start date and time, kind, and the bytes of the recurrence block that the
// kind names.
void ApplyScheduleForm(const ScheduleForm& form, CNote& note);
