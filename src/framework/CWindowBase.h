#pragma once
// Base of every window class of the program: one window procedure thunk that
// finds the object through GWLP_USERDATA and hands each message to
// HandleMessage. No exception ever leaves the window procedure.
#include <windows.h>

#include "framework/MessageLoop.h"

// The point a mouse message carries, in the window's client coordinates
// (negative beyond its left or top edge).
inline POINT PointFromLParam(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

class CWindowBase : public IPreTranslator {
public:
    CWindowBase() = default;
    virtual ~CWindowBase();
    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;

    HWND GetHwnd() const { return m_hWnd; }

    // Registers the class once per process (name unique to the caller).
    static bool RegisterClassOnce(const WNDCLASSEXA& wc);
    // A modal loop run from a handler (a menu, a dialog) may end with the
    // window destroyed and its object deleted: true only while hwnd is still
    // a window and still wnd's.
    static bool StillOwns(HWND hwnd, const CWindowBase* wnd);

    // Creates the window; the thunk ties it to this object.
    HWND CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style,
                  int x, int y, int cx, int cy, HWND parent, HMENU menu);

    // Tells whether the window is gone and the object may be deleted. Default:
    // nothing; self-owned windows override OnFinalMessage to delete themselves.
    virtual void OnFinalMessage() {}

    bool PreTranslateMessage(MSG&) override { return false; }

protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
    {
        return DefWindowProcA(m_hWnd, msg, wParam, lParam);
    }

    HWND m_hWnd = nullptr;

public:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
};
