#pragma once
// A second copy of the program does not run, but it brings the running
// copy's main window back into view before it ends: users start a program
// again when they cannot find it.
#include <windows.h>

// The message a second copy sends to the main window of the running copy;
// the main window answers kRunningCopyAnswer once it is in view again.
UINT RunningCopyMessage();
constexpr LRESULT kRunningCopyAnswer = 0x56454C55;  // "VELU"

// The main window carries this mark while it lives, so that a second copy
// asks no other program's dialogs (each could keep it waiting).
void MarkMainWindow(HWND hwnd);
void UnmarkMainWindow(HWND hwnd);

// Finds the running copy's main window and asks it to show itself. True
// when a main window answered.
bool BringBackRunningCopy();
