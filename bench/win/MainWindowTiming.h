#pragma once
// What the main window's timing programs share: the process set up as
// Velumo's WinMain sets it up, a main window of the program in this process
// with the built skin, and the real program started from a copy of its
// folder, timed until its list holds a number of rows.
#include <windows.h>

#include <string>

#include "WinTiming.h"

class CMainDlg;
class CNotesApp;

// A path in the temporary folder.
std::string TempPath(const std::string& name);

// The common controls, OLE and the program's own hooks, as at Velumo's start.
void SetUpLikeVelumo();
// Ends what SetUpLikeVelumo started.
void TearDownLikeVelumo();

// The app's settings in <name>.ini and an empty notes list bound to
// <name>.dat in the temporary folder; answers the notes file's path.
std::string UseTemporaryFiles(CNotesApp& app, const std::string& name);

// Handles every message waiting, and no more.
void PumpWaiting();

// The window of dlg made with the built skin, as the app's main window.
HWND OpenMainWindow(CNotesApp& app, CMainDlg& dlg);
// Lets messages pass until every note of app has its window (2 s at most).
void WaitForNoteWindows(CNotesApp& app);
// Destroys it and lets everything it posted pass.
void CloseMainWindow(CNotesApp& app, HWND hwnd);

// A copy of the folder of Velumo.exe in the temporary folder, without a
// settings file (the built-in column widths); answers its path.
std::string CopyOfProgramFolder(const std::string& programFolder, const std::string& name);

// Seconds from starting the Velumo.exe of folder until its main window is
// on screen with `rows` rows in its list, or -1; the program is then closed.
double TimeStartUntilListHolds(const std::string& folder, int rows);
