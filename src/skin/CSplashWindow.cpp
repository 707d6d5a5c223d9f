#include "skin/CSplashWindow.h"

#include <algorithm>

#include "framework/CWinAppBase.h"
#include "framework/WindowDpi.h"
#include "res/resource.h"
#include "framework/MonitorWorkArea.h"
#include "framework/ScaledPicture.h"

namespace {
bool g_bSplashEnabled = false;
}  // namespace

CSplashWindow* CSplashWindow::s_current = nullptr;

void SetSplashEnabled(bool enabled)
{
    g_bSplashEnabled = enabled;
}

void OpenSplash(HWND owner)
{
    if (!g_bSplashEnabled || CSplashWindow::s_current)
        return;
    auto* splash = new CSplashWindow;
    if (splash->Create(owner)) {
        // Shown without taking the keyboard from the window the user is in.
        ShowWindow(splash->GetHwnd(), SW_SHOWNOACTIVATE);
        UpdateWindow(splash->GetHwnd());
    }
    else if (CSplashWindow::s_current == splash)
        delete splash;  // (a window that was made and refused took its object with it)
}

void CloseSplash()
{
    if (CSplashWindow* splash = CSplashWindow::Current())
        DestroyWindow(splash->GetHwnd());  // the object goes with its window
    // Whatever the picture covered is repainted now, not after the next message.
    if (CWinAppBase* app = CWinAppBase::Get(); app && app->m_hMainWnd)
        UpdateWindow(app->m_hMainWnd);
}

CSplashWindow::CSplashWindow()
{
    s_current = this;
}

CSplashWindow::~CSplashWindow()
{
    if (s_current == this)
        s_current = nullptr;
}

bool CSplashWindow::Create(HWND owner)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    m_bitmap.Reset(static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_SPLASH), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP info{};
    if (!m_bitmap || !GetObjectA(m_bitmap, sizeof info, &info))
        return false;
    m_size = SIZE{info.bmWidth, info.bmHeight};
    // The picture is drawn for 96 DPI; on a screen of another scale it is
    // shown at that scale, as the window it stands for is.
    if (const DisplayScale scale(WindowDpi(owner)); !scale.IsBase()) {
        const SIZE shown = ScaledPictureSize(m_size, scale);
        if (HBITMAP scaled = ScalePicture(m_bitmap, shown)) {
            m_bitmap.Reset(scaled);
            m_size = shown;
        }
    }

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassOnce(wc))
        return false;
    return CreateEx(0, kClassName, "", WS_POPUP, 0, 0, m_size.cx, m_size.cy, owner, nullptr) != nullptr;
}

void CSplashWindow::CentreOnWorkArea()
{
    // In the middle of the owner's work area, not over the owner: the main
    // window is on the screen when it opens, and over it the picture would
    // cover the list the user is about to use (and a desktop without a
    // window manager keeps it under the main window, which raises itself as
    // it takes the focus).
    const HWND owner = GetWindow(m_hWnd, GW_OWNER);
    const RECT area = WorkAreaOfWindow(owner ? owner : m_hWnd);
    int x = (area.left + area.right - m_size.cx) / 2;
    int y = (area.top + area.bottom - m_size.cy) / 2;
    // Never partly off the work area.
    x = std::max<int>(area.left, std::min<int>(x, area.right - m_size.cx));
    y = std::max<int>(area.top, std::min<int>(y, area.bottom - m_size.cy));
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSplashWindow::OnPaint()
{
    ScopedPaint paint(m_hWnd);
    UniqueMemDC memory(CreateCompatibleDC(paint));
    if (!memory)
        return;
    ScopedSelect select(memory, m_bitmap);
    BitBlt(paint, 0, 0, m_size.cx, m_size.cy, memory, 0, 0, SRCCOPY);
}

LRESULT CSplashWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        if (DefaultProc(msg, wParam, lParam) == -1)
            return -1;
        CentreOnWorkArea();
        SetTimer(m_hWnd, kCloseTimer, kShowMs, nullptr);
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        if (wParam == kCloseTimer) {
            CloseSplash();  // deletes this object
            return 0;
        }
        break;
    }
    return DefaultProc(msg, wParam, lParam);
}
