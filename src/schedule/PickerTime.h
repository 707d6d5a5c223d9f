#pragma once
// Date-time pickers and stored time values: a picker shows and returns local
// clock readings, a note keeps seconds since 1970.
#include <windows.h>

#include <optional>

#include "notes/CNote.h"

// Puts a time value into a picker (checked). False when it has no local
// reading; the picker is then left as it was.
bool SetPickerTime(HWND picker, NoteTime t);
// The picker's value; empty when it holds none (its check box cleared).
std::optional<NoteTime> GetPickerTime(HWND picker);
// Limits a picker to the moments a stored time value can hold.
void LimitPickerToNoteTimes(HWND picker);
