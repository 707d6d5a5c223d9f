// Entry of the Windows tests: common controls and the core's platform hooks
// are set up once, as the program does at start-up.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "app/CorePlatformHooks.h"
#include "notewnd/NoteWindowHooks.h"

int main(int argc, char** argv)
{
    // No error dialogs: a test must fail, not wait for a click.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    OleInitialize(nullptr);
    InstallCorePlatformHooks();
    InstallNoteWindowHooks();
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
