#pragma once
// Date-time pickers and stored time values: a picker shows and returns local
// clock readings, a note keeps seconds since 1970.
#include <windows.h>

#include <optional>

#include "notes/CNote.h"
#include "schedule/PickerValue.h"

// A time value as the local clock read then (weekday included); false when
// it has no local reading.
bool LocalReadingOf(NoteTime t, SYSTEMTIME& st);
// Puts a time value into a picker (checked). False when it has no local
// reading or the picker cannot show it (outside its range).
bool SetPickerTime(HWND picker, NoteTime t);
// A picker's value, read for the part of it that the schedule uses.
struct PickerReading {
    bool hasValue = false;         // false: its check box is cleared
    std::optional<NoteTime> time;  // empty while hasValue: no time value can hold it
};
PickerReading ReadPicker(HWND picker, PickerPart part);
// Limits a picker to the days a stored time value can hold in every zone.
void LimitPickerToNoteTimes(HWND picker);
// The first and last day LimitPickerToNoteTimes allows.
SYSTEMTIME FirstPickerDay();
SYSTEMTIME LastPickerDay();
