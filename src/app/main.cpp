// Velumo.exe: desktop notes.
#include <windows.h>

#include <commctrl.h>

#include "app/CNotesApp.h"
#include "framework/OleUse.h"

namespace {

CNotesApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // OLE starts with its first use (OleUse), after the main window shows.
    const int exitCode = theApp.Run(instance, CWinAppBase::ArgumentsOf(GetCommandLineW()));
    OleUse::End();
    return exitCode;
}
