#include "framework/CSubclassedWindow.h"

namespace {
// The object travels in a window property: a control's GWLP_USERDATA belongs
// to the control.
constexpr const char* kObjectProperty = "Velumo.Subclass";
}  // namespace

CSubclassedWindow::~CSubclassedWindow()
{
    Detach();
}

bool CSubclassedWindow::Attach(HWND hwnd)
{
    if (!hwnd || m_hWnd)
        return false;
    m_hWnd = hwnd;
    PreSubclassWindow();
    SetPropA(hwnd, kObjectProperty, this);
    m_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    MessageLoop::RegisterFilter(hwnd, this);
    return true;
}

void CSubclassedWindow::Detach()
{
    if (!m_hWnd)
        return;
    if (IsWindow(m_hWnd)) {
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
        RemovePropA(m_hWnd, kObjectProperty);
    }
    MessageLoop::UnregisterFilter(m_hWnd);
    m_hWnd = nullptr;
}

LRESULT CALLBACK CSubclassedWindow::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    auto* self = static_cast<CSubclassedWindow*>(GetPropA(hwnd, kObjectProperty));
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        result = self->CallOriginal(msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY)
        self->Detach();
    return result;
}
