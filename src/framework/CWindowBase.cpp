#include "framework/CWindowBase.h"

CWindowBase::~CWindowBase()
{
    if (m_hWnd && IsWindow(m_hWnd)) {
        // The object goes first: detach, then let the window go.
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
        MessageLoop::UnregisterFilter(m_hWnd);
        DestroyWindow(m_hWnd);
    }
}

bool CWindowBase::RegisterClassOnce(const WNDCLASSEXA& wc)
{
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(wc.hInstance, wc.lpszClassName, &existing))
        return true;
    WNDCLASSEXA copy = wc;
    copy.cbSize = sizeof copy;
    copy.lpfnWndProc = &CWindowBase::WindowProc;
    return RegisterClassExA(&copy) != 0;
}

HWND CWindowBase::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style,
                           int x, int y, int cx, int cy, HWND parent, HMENU menu)
{
    return CreateWindowExA(exStyle, className, title, style, x, y, cx, cy, parent, menu,
                           GetModuleHandleA(nullptr), this);
}

LRESULT CWindowBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CALLBACK CWindowBase::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    CWindowBase* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<CWindowBase*>(cs->lpCreateParams);
        if (self) {
            self->m_hWnd = hwnd;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            MessageLoop::RegisterFilter(hwnd, self);
        }
    } else {
        self = reinterpret_cast<CWindowBase*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        result = DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        MessageLoop::UnregisterFilter(hwnd);
        self->m_hWnd = nullptr;
        self->OnFinalMessage();  // may delete the object
    }
    return result;
}

bool CWindowBase::StillOwns(HWND hwnd, const CWindowBase* wnd)
{
    return IsWindow(hwnd) && GetWindowLongPtrA(hwnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(wnd);
}
