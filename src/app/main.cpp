// Velumo.exe: desktop notes.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/CNotesApp.h"

namespace {

// The command line's arguments after the program name, in the ANSI code page.
std::vector<std::string> CommandLineArguments()
{
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return args;
    for (int i = 1; i < count; ++i) {
        const int needed = WideCharToMultiByte(CP_ACP, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(needed > 0 ? static_cast<size_t>(needed - 1) : 0, '\0');
        if (needed > 1)
            WideCharToMultiByte(CP_ACP, 0, wide[i], -1, arg.data(), needed, nullptr, nullptr);
        args.push_back(arg);
    }
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
