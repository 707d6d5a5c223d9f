#pragma once
// The dialogs the program has open on its thread: its own, and the system's
// that it runs (message boxes, the colour and font choosers, file pickers),
// found as the system knows them, so that none is missed wherever it was
// opened from. Used to end them all, as Cancel, when the program ends.
#include <windows.h>

#include <cstddef>

// Ends every open dialog of the calling thread but `except` the way Cancel
// would, the innermost of nested ones first: the dialogs under them wait,
// disabled, until they close, and are ended on a later call. Answers how many
// dialogs were open; 0 means every dialog's modal run has returned.
size_t CancelOpenDialogs(HWND except);
