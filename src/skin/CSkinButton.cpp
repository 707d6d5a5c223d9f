#include "skin/CSkinButton.h"

#include <windowsx.h>

#include "skin/CSkinDialog.h"

LRESULT CSkinButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(msg, wParam, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam);
    case WM_CAPTURECHANGED:
        // Someone else took the mouse between press and release (a message
        // box, a menu): the press is over.
        if (reinterpret_cast<HWND>(lParam) != m_hWnd)
            m_bPressed = false;
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_KILLFOCUS:
        return OnKey(msg, wParam, lParam);
    }
    return CFaceButton::HandleMessage(msg, wParam, lParam);
}

LRESULT CSkinButton::OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The button takes the capture while it handles the press; only then
    // does the press count, so that change of capture does not undo it.
    const LRESULT result = CFaceButton::HandleMessage(msg, wParam, lParam);
    m_bPressed = m_hWnd != nullptr;
    return result;
}

void CSkinButton::Click()
{
    ClearHighlight();
    m_dialog.ReportSkinButtonClick(m_nNumber);
}

LRESULT CSkinButton::OnKey(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Space presses the button as it does any button: down shows it pushed,
    // up clicks it. The dialog turns Enter into a click of its own.
    if (msg == WM_KEYDOWN && wParam == VK_SPACE && !(lParam & (1 << 30)))
        m_bSpacePressed = true;
    else if (msg == WM_KILLFOCUS)
        m_bSpacePressed = false;
    else if (msg == WM_KEYUP && wParam == VK_SPACE && m_bSpacePressed) {
        m_bSpacePressed = false;
        Click();
        if (!m_hWnd)
            return 0;
    }
    return CFaceButton::HandleMessage(msg, wParam, lParam);
}

LRESULT CSkinButton::OnLButtonUp(WPARAM wParam, LPARAM lParam)
{
    // Pressed here and released inside: the command runs first, while the
    // button still holds the capture and its pushed look; released outside,
    // or never pressed here, no click.
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const bool pressed = m_bPressed;
    m_bPressed = false;
    if (pressed && PtInRect(&client, point))
        Click();
    // The command may have released the skin, and this button's window with it.
    if (!m_hWnd)
        return 0;
    return CallOriginal(WM_LBUTTONUP, wParam, lParam);
}

LRESULT CSkinButton::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    m_dialog.ReportSkinHover(m_strName, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (!m_hWnd)
        return 0;
    return CFaceButton::HandleMessage(WM_MOUSEMOVE, wParam, lParam);
}
