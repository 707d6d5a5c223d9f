#pragma once
// Starting with Windows. The choice lives in g_bAutoRun while the program
// runs: read from the registry once at start-up, changed only by the Options
// dialog, which writes it back (with the Run entry) at once, as the end of
// the program does again.

// 1: start with Windows; 0: do not.
extern int g_bAutoRun;

// Reads the option into g_bAutoRun (creating the option's key if missing).
void ReadAutoRun();
// Writes g_bAutoRun back as "TRUE"/"FALSE" and sets or removes the Run
// entry to match.
void WriteAutoRun();
// Adds the Run entry for this executable (on) or removes it (off).
void SetRunEntry(bool on);
