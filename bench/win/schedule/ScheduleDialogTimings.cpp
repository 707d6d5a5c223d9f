// Opening the scheduling dialog from a note's "&Schedule" command until the
// dialog and both its pages' first one are painted: the first open of the run
// (window classes and the common controls' first use) and the median of the
// opens after it. Run under Wine:
//   wine build/win/bench/win/velumo_schedule_bench.exe [number of later opens, 15]
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "WinTiming.h"
#include "app/CNotesApp.h"
#include "app/CorePlatformHooks.h"
#include "mainwnd/MainWindowNoteHost.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/NoteWindowHooks.h"
#include "res/resource.h"
#include "schedule/CNWSchedDlg.h"

namespace {

double g_paintedAt = 0;

// A timer message comes only once nothing is left to paint: the first one
// after the dialog is up marks the dialog painted, and closes it.
void CALLBACK CheckPainted(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindWindowA("#32770", CNWSchedDlg::kTitle);
    if (g_paintedAt != 0 || !dialog || !IsWindowVisible(dialog) || (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT))
        return;
    g_paintedAt = NowSeconds();
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// Seconds from the command to the painted dialog.
double TimeOneOpen(HWND noteWindow)
{
    g_paintedAt = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &CheckPainted);
    const double start = NowSeconds();
    SendMessageA(noteWindow, WM_COMMAND, ID_NOTE_SCHEDULE, 0);
    KillTimer(nullptr, timer);
    return g_paintedAt - start;
}

}  // namespace

int main(int argc, char** argv)
{
    const int opens = argc > 1 ? std::atoi(argv[1]) : 15;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    OleInitialize(nullptr);
    InstallCorePlatformHooks();
    InstallNoteWindowHooks();
    InstallScheduleDialog();

    CNotesApp app;
    MainWindowNoteHost host(app.m_notes);  // no main window to tell
    CNote* note = app.m_notes.GetAt(app.m_notes.Add(std::make_unique<CNote>()));
    note->m_pWnd = CNoteWnd::Create(note, false, host);
    if (!note->m_pWnd) {
        std::fprintf(stderr, "no note window\n");
        return 1;
    }
    const HWND noteWindow = note->m_pWnd->GetHwnd();

    const double first = TimeOneOpen(noteWindow);
    std::vector<double> later;
    for (int i = 0; i < opens; ++i)
        later.push_back(TimeOneOpen(noteWindow));
    std::printf("scheduling dialog, command to painted: first open %.1f ms, later opens median %.1f ms\n",
                first * 1000, Median(later) * 1000);
    OleUninitialize();
    return 0;
}
