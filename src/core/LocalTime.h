#pragma once
// Local calendar readings of time values, through the C runtime's local time
// (localtime; the runtime's own rules for daylight saving).
//
// The two runtimes we build for disagree at the edges: the Windows runtime
// refuses moments before 1970, and each picks its own moment for a clock
// reading that daylight saving skips or repeats. These helpers settle both the
// same way everywhere, so a schedule behaves alike on every build.
#include <cstdint>
#include <optional>

// One local clock reading. month 1..12, day 1..31, weekday 0 Sunday..6.
struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 0;
};

// Reads the local zone's rules again, so a change of the system's zone is
// followed. The conversions below use the rules read last.
void RefreshLocalZone();

// The local reading of a time value; false for moments before 1970, which
// not every runtime can read.
bool ToLocal(int64_t t, LocalDateTime& out);

// The earliest moment whose local clock reading is at or after the given one:
// the plain conversion for an ordinary reading, the first of the two moments
// for a reading the clock repeats, and the moment of the jump for a reading
// the clock skips (so a day whose midnight is skipped starts at the jump, and
// still on its own date). month and day may run past their ranges; they are
// carried over as in mktime. Empty when the moment would lie before 1970.
// When reading is given it receives the moment's own local reading.
std::optional<int64_t> FromLocal(int year, int month, int day, int hour, int minute, int second,
                                 LocalDateTime* reading = nullptr);

// The first moment of the local day of the given date.
inline std::optional<int64_t> LocalMidnight(int year, int month, int day)
{
    return FromLocal(year, month, day, 0, 0, 0);
}

// Days in the month (month 1..12) of the proleptic Gregorian calendar.
int DaysInMonth(int year, int month);

// The date of a reading as a count of days from 1970-01-01: dates subtract
// to whole calendar days, whatever daylight saving did in between.
int64_t DayNumber(const LocalDateTime& t);

// The day number of a day's Sunday-to-Saturday week, counted in weeks: the
// same for every day of one such week, one more for the next.
inline int64_t WeekNumber(int64_t dayNumber)
{
    // 1970-01-01 was a Thursday: four days after the Sunday that starts its week.
    const int64_t shifted = dayNumber + 4;
    return shifted / 7 - (shifted % 7 < 0 ? 1 : 0);
}

// How far the local clock runs ahead of UTC at the moment t, in seconds;
// empty for moments before 1970.
std::optional<int64_t> UtcOffsetAt(int64_t t);

// A date as one comparable number (yyyymmdd).
inline int DateKey(const LocalDateTime& t)
{
    return t.year * 10000 + t.month * 100 + t.day;
}
