// Velumo.exe: desktop notes.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/CNotesApp.h"

namespace {

CNotesApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // Skin pictures are decoded through OLE.
    OleInitialize(nullptr);
    const int exitCode = theApp.Run(instance, CWinAppBase::ArgumentsOf(GetCommandLineW()));
    OleUninitialize();
    return exitCode;
}
