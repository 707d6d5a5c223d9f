#include "app/RunningCopy.h"

#include <cstring>

namespace {

// The main window is a dialog; other dialogs (message boxes) ignore the
// message and answer 0.
constexpr const char* kMainWindowClass = "#32770";
constexpr UINT kAnswerTimeoutMs = 5000;

BOOL CALLBACK AskWindow(HWND hwnd, LPARAM lParam)
{
    char className[16] = {};
    if (!GetClassNameA(hwnd, className, sizeof className) || std::strcmp(className, kMainWindowClass) != 0)
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

bool BringBackRunningCopy()
{
    bool answered = false;
    EnumWindows(&AskWindow, reinterpret_cast<LPARAM>(&answered));
    return answered;
}
