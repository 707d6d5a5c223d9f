#include "mainwnd/ListMessageHook.h"

namespace {

// The procedure before ours, for the messages that reach ours after the
// hook was released while a later procedure kept ours in the chain.
constexpr wchar_t kBeforeProp[] = L"VelumoListControlProc";

}  // namespace

void ListMessageHook::Hook(HWND hwnd, Target& target)
{
    Release();
    m_hwnd = hwnd;
    m_target = &target;
    SetPropW(hwnd, kBeforeProp, reinterpret_cast<HANDLE>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)));
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_before = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListMessageHook::Proc)));
}

void ListMessageHook::Release()
{
    if (m_hwnd && IsWindow(m_hwnd))
        Unhook(m_hwnd);
    m_hwnd = nullptr;
    m_target = nullptr;
}

void ListMessageHook::Unhook(HWND hwnd)
{
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&ListMessageHook::Proc))
        return;
    if (const auto before = reinterpret_cast<LONG_PTR>(GetPropW(hwnd, kBeforeProp)))
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, before);
    RemovePropW(hwnd, kBeforeProp);
}

LRESULT ListMessageHook::CallControl(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return CallWindowProcW(m_before, m_hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ListMessageHook::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    auto* self = reinterpret_cast<ListMessageHook*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const auto before = self ? self->m_before : reinterpret_cast<WNDPROC>(GetPropW(hwnd, kBeforeProp));
    if (msg == WM_NCDESTROY) {
        Unhook(hwnd);
        RemovePropW(hwnd, kBeforeProp);
        if (self)
            self->m_hwnd = nullptr;
    } else if (self && self->m_target) {
        try {
            return self->m_target->OnHookedMessage(msg, wParam, lParam);
        } catch (...) {
        }
    }
    return before ? CallWindowProcW(before, hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}
