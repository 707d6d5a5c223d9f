// Entry of the end-to-end driver. --velumo-dir=<folder> names the runnable
// folder (Velumo.exe and its skin) that each test copies into a folder of its
// own before starting the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "E2eDriver.h"

int main(int argc, char** argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--velumo-dir=", 13) == 0)
            E2eDriver::SetProgramFolder(argv[i] + 13);
    }
    return RUN_ALL_TESTS();
}
