#include "app/RunningCopy.h"

namespace {

constexpr const char* kMainWindowMark = "Velumo.MainWindow";
constexpr UINT kAnswerTimeoutMs = 5000;

BOOL CALLBACK AskWindow(HWND hwnd, LPARAM lParam)
{
    if (!GetPropA(hwnd, kMainWindowMark))
        return TRUE;
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    if (processId == GetCurrentProcessId())
        return TRUE;
    // This copy was just started by the user, so it may hand the right to
    // come to the front on to the running one.
    AllowSetForegroundWindow(processId);
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(hwnd, RunningCopyMessage(), 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs,
                            &answer) &&
        static_cast<LRESULT>(answer) == kRunningCopyAnswer) {
        *reinterpret_cast<bool*>(lParam) = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

UINT RunningCopyMessage()
{
    static const UINT message = RegisterWindowMessageA("Velumo.ShowRunningCopy");
    return message;
}

void MarkMainWindow(HWND hwnd)
{
    SetPropA(hwnd, kMainWindowMark, reinterpret_cast<HANDLE>(1));
}

void UnmarkMainWindow(HWND hwnd)
{
    RemovePropA(hwnd, kMainWindowMark);
}

bool BringBackRunningCopy()
{
    bool answered = false;
    EnumWindows(&AskWindow, reinterpret_cast<LPARAM>(&answered));
    return answered;
}
