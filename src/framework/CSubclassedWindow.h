#pragma once
// Takes over the window procedure of an existing control (a push button made
// by the system) so a class of ours can handle its messages. Unhandled
// messages go to the control's own procedure through CallOriginal.
#include <windows.h>

#include "framework/MessageLoop.h"

class CSubclassedWindow : public IPreTranslator {
public:
    CSubclassedWindow() = default;
    virtual ~CSubclassedWindow();
    CSubclassedWindow(const CSubclassedWindow&) = delete;
    CSubclassedWindow& operator=(const CSubclassedWindow&) = delete;

    // Calls PreSubclassWindow, then routes the control's messages here.
    bool Attach(HWND hwnd);
    // Gives the control its own procedure back.
    void Detach();
    HWND GetHwnd() const { return m_hWnd; }

    bool PreTranslateMessage(MSG&) override { return false; }

protected:
    virtual void PreSubclassWindow() {}
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
    {
        return CallOriginal(msg, wParam, lParam);
    }
    LRESULT CallOriginal(UINT msg, WPARAM wParam, LPARAM lParam)
    {
        return CallWindowProcA(m_original, m_hWnd, msg, wParam, lParam);
    }

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    WNDPROC m_original = nullptr;
};
