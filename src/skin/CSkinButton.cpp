#include "skin/CSkinButton.h"

#include <windowsx.h>

#include "skin/CSkinDialog.h"

LRESULT CSkinButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_LBUTTONUP:
        return OnLButtonUp(wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam);
    }
    return CFaceButton::HandleMessage(msg, wParam, lParam);
}

LRESULT CSkinButton::OnLButtonUp(WPARAM wParam, LPARAM lParam)
{
    // Released inside: the command runs first, while the button still holds
    // the capture and its pushed look; released outside, no click.
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client{};
    GetClientRect(m_hWnd, &client);
    if (PtInRect(&client, point)) {
        ClearHighlight();
        m_dialog.ReportSkinButtonClick(m_nNumber);
    }
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
