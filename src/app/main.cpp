// Velumo.exe: desktop notes.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/CNotesApp.h"
#include "framework/WideText.h"

namespace {

// The command line's arguments after the program name, as UTF-8: a notes
// path named in any script reaches the file functions whole.
std::vector<std::string> CommandLineArguments()
{
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return args;
    for (int i = 1; i < count; ++i)
        args.push_back(Utf8FromWide(wide[i]));
    LocalFree(wide);
    return args;
}

CNotesApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // Skin pictures are decoded through OLE.
    OleInitialize(nullptr);
    const int exitCode = theApp.Run(instance, CommandLineArguments());
    OleUninitialize();
    return exitCode;
}
