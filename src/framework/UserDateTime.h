#pragma once
// Dates and times as the user has chosen to see them in the system's
// settings (the short date and the short time formats), so that every list
// of the program writes a moment the same way, and the way the rest of the
// user's desktop does.
#include <windows.h>

#include <cstdint>
#include <string>

struct LocalDateTime;

// "12/9/2026 7:05 PM" in the United States, "09/12/2026 19:05" in Britain:
// the local date and time of a moment (seconds since 1970, UTC). Empty for a
// moment with no local reading (before 1970).
std::wstring UserDateTimeText(int64_t t);
// A local calendar day alone, for when only the day is known.
std::wstring UserDateText(int year, int month, int day);
// The system's form of a local reading, for the date and time functions and
// controls of Windows (the weekday is filled in too).
SYSTEMTIME SystemTimeOf(const LocalDateTime& local);
