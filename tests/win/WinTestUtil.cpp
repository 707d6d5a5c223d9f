#include "WinTestUtil.h"

#include <cstdio>

TempFolder::TempFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static int counter = 0;
    char name[64];
    std::snprintf(name, sizeof name, "velumo-test-%lu-%d", GetCurrentProcessId(), ++counter);
    m_path = std::string(temp) + name;
    DeleteTree(m_path);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    DeleteTree(m_path);
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
