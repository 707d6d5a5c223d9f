// Time from the tray icon's right-button-up notification to the tray menu
// painted (popup and items), with the main window shown and hidden (the
// usual case: the program lives in the tray). Run under Wine:
//   wine build/win/bench/win/velumo_tray_bench.exe
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "WinTiming.h"
#include "app/CNotesApp.h"
#include "res/resource.h"
#include "tray/CSystemTray.h"

namespace {

double g_painted = 0.0;

// Stands in for the main window: when the menu reports that it is up, its
// windows are painted at once and the clock stops; then it is closed.
LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_ENTERMENULOOP) {
        HWND popup = reinterpret_cast<HWND>(lParam);
        UpdateWindow(popup);
        UpdateWindow(FindWindowExA(popup, nullptr, TOOLBARCLASSNAMEA, nullptr));
        g_painted = NowSeconds();
        PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CNotesApp app;

    WNDCLASSA wc{};
    wc.lpfnWndProc = &OwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VelumoTrayBenchOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowExA(0, wc.lpszClassName, "Velumo", WS_OVERLAPPEDWINDOW, 600, 400, 300, 200,
                                 nullptr, nullptr, wc.hInstance, nullptr);
    app.m_hMainWnd = owner;
    CSystemTray tray;
    tray.Create(owner, WM_TRAYNOTIFY, "Velumo", LoadIconA(wc.hInstance, MAKEINTRESOURCEA(IDI_TRAY)), IDR_TRAY_MENU);
    SetCursorPos(200, 200);

    std::printf("right button up on the tray icon to the tray menu painted (ms):\n");
    for (bool shown : {true, false}) {
        ShowWindow(owner, shown ? SW_SHOW : SW_HIDE);
        std::vector<double> ms;
        for (int i = 0; i < 25; ++i) {
            const double start = NowSeconds();
            tray.OnTrayNotification(IDR_TRAY_MENU, WM_RBUTTONUP);
            ms.push_back((g_painted - start) * 1000.0);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
        }
        std::printf("  main window %-6s first %6.2f  median %6.2f  slowest %6.2f\n", shown ? "shown" : "hidden",
                    ms.front(), Median(ms), *std::max_element(ms.begin(), ms.end()));
    }
    tray.RemoveIcon();
    DestroyWindow(owner);
    return 0;
}
