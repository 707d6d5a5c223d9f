#include "MainWindowTiming.h"

#include <commctrl.h>
#include <objbase.h>

#include "TestFiles.h"
#include "app/CNotesApp.h"
#include "app/CorePlatformHooks.h"
#include "mainwnd/CMainDlg.h"
#include "notewnd/NoteWindowHooks.h"
#include "res/resource.h"

namespace {

struct FindMain {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM lParam)
{
    auto* args = reinterpret_cast<FindMain*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == args->pid && IsWindowVisible(hwnd) && GetDlgItem(hwnd, IDC_NOTE_LIST)) {
        args->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::string TempPath(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

void SetUpLikeVelumo()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    OleInitialize(nullptr);
    InstallCorePlatformHooks();
    InstallNoteWindowHooks();
}

void TearDownLikeVelumo()
{
    OleUninitialize();
}

std::string UseTemporaryFiles(CNotesApp& app, const std::string& name)
{
    app.SetProfileFile(TempPath(name + ".ini"));
    const std::string path = TempPath(name + ".dat");
    DeleteFileA(path.c_str());
    app.m_notes.Load(path);
    return path;
}

void PumpWaiting()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HWND OpenMainWindow(CNotesApp& app, CMainDlg& dlg)
{
    dlg.SetSkinFile(VELUMO_SKIN_PACKED_DIR "/skin.ini");
    HWND hwnd = dlg.CreateModeless(nullptr);
    app.m_hMainWnd = hwnd;
    return hwnd;
}

void WaitForNoteWindows(CNotesApp& app)
{
    // The main window makes the note windows from a posted message.
    const auto allMade = [&app] {
        for (NotePos pos = app.m_notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos))
            if (!app.m_notes.GetAt(pos)->m_pWnd)
                return false;
        return true;
    };
    for (int i = 0; i < 200 && !allMade(); ++i) {
        PumpWaiting();
        Sleep(10);
    }
}

void CloseMainWindow(CNotesApp& app, HWND hwnd)
{
    DestroyWindow(hwnd);
    app.m_hMainWnd = nullptr;
    PumpWaiting();
}

std::string CopyOfProgramFolder(const std::string& programFolder, const std::string& name)
{
    const std::string folder = TempPath(name);
    CopyTree(programFolder, folder);
    DeleteFileA((folder + "\\Velumo.ini").c_str());
    return folder;
}

double TimeStartUntilListHolds(const std::string& folder, int rows)
{
    const auto listHolds = [rows](DWORD pid) -> HWND {
        FindMain find{pid, nullptr};
        EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&find));
        if (find.found && SendMessageA(GetDlgItem(find.found, IDC_NOTE_LIST), LVM_GETITEMCOUNT, 0, 0) == rows)
            return find.found;
        return nullptr;
    };
    return TimeProcessUntil("\"" + folder + "\\Velumo.exe\"", folder, listHolds, 1);
}
