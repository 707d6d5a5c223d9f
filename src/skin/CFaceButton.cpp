#include "skin/CFaceButton.h"

#include <commctrl.h>
#include <windowsx.h>

void CutFace(HDC dc, UniqueBitmap& target, HBITMAP source, const RECT& rect)
{
    if (!source)
        return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    // A 32-bit DIB section, not a device bitmap: cutting stays in the
    // program's memory, where a device bitmap costs the display server a
    // pixmap and an upload per face (24 of them) before the main window can
    // show; the faces reach the screen when they are first drawn.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    target.Reset(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemDC from(CreateCompatibleDC(dc));
    UniqueMemDC to(CreateCompatibleDC(dc));
    if (!target || !from || !to)
        return;
    ScopedSelect selectSource(from, source);
    ScopedSelect selectTarget(to, target);
    BitBlt(to, 0, 0, width, height, from, rect.left, rect.top, SRCCOPY);
}

CFaceButton::~CFaceButton()
{
    if (m_hTooltip && IsWindow(m_hTooltip))
        DestroyWindow(m_hTooltip);
}

void CFaceButton::PreSubclassWindow()
{
    const LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        m_bHighlighted = true;
    SendMessageA(m_hWnd, BM_SETSTYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW, TRUE);
    CSubclassedWindow::PreSubclassWindow();
    SetWindowLongPtrA(m_hWnd, GWL_STYLE, GetWindowLongPtrA(m_hWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_TABSTOP));
}

void CFaceButton::CutFaces(HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled, const RECT& rect)
{
    ScopedGetDC dc(m_hWnd);
    CutFace(dc, m_bmpNormal, normal, rect);
    CutFace(dc, m_bmpOver, over, rect);
    CutFace(dc, m_bmpDown, down, rect);
    CutFace(dc, m_bmpDisabled, disabled, rect);
}

void CFaceButton::CutOneFace(ButtonFace face, HBITMAP source, const RECT& rect)
{
    ScopedGetDC dc(m_hWnd);
    switch (face) {
    case ButtonFace::Over: ::CutFace(dc, m_bmpOver, source, rect); break;
    case ButtonFace::Down: ::CutFace(dc, m_bmpDown, source, rect); break;
    case ButtonFace::Disabled: ::CutFace(dc, m_bmpDisabled, source, rect); break;
    case ButtonFace::Normal: ::CutFace(dc, m_bmpNormal, source, rect); break;
    }
}

HBITMAP CFaceButton::FaceBitmap(ButtonFace face) const
{
    HBITMAP chosen = nullptr;
    switch (face) {
    case ButtonFace::Over: chosen = m_bmpOver; break;
    case ButtonFace::Down: chosen = m_bmpDown; break;
    case ButtonFace::Disabled: chosen = m_bmpDisabled; break;
    case ButtonFace::Normal: chosen = m_bmpNormal; break;
    }
    // A face still to come (its picture is read once the window is on the
    // screen) shows as the normal one meanwhile, not as an empty square.
    return chosen || !m_bFacesPending ? chosen : m_bmpNormal.Get();
}

void CFaceButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    ButtonFaceState state;
    state.latching = m_bLatching;
    state.latched = m_bLatched;
    state.highlighted = m_bHighlighted;
    state.selected = (item.itemState & ODS_SELECTED) != 0;
    state.disabled = (item.itemState & ODS_DISABLED) != 0;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    // A missing face leaves the context with its own placeholder bitmap.
    UniqueMemDC faceDC(CreateCompatibleDC(item.hDC));
    if (!faceDC)
        return;
    ScopedSelect select(faceDC, FaceBitmap(ChooseButtonFace(state)));
    BitBlt(item.hDC, 0, 0, client.right - client.left, client.bottom - client.top, faceDC, 0, 0, SRCCOPY);
    // The keyboard's place: a dotted frame just inside the face.
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT mark = client;
        InflateRect(&mark, -2, -2);
        DrawFocusRect(item.hDC, &mark);
    }
}

void CFaceButton::EnsureTooltip()
{
    if (m_hTooltip)
        return;
    m_hTooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, GetModuleHandleA(nullptr),
                                 nullptr);
    if (!m_hTooltip)
        return;
    SendMessageA(m_hTooltip, TTM_ACTIVATE, FALSE, 0);
    if (!m_strTip.empty())
        ApplyTip();
}

HWND CFaceButton::GetTooltip()
{
    EnsureTooltip();
    return m_hTooltip;
}

void CFaceButton::SetTip(const std::string& text, bool activate)
{
    if (text.empty())
        return;
    m_strTip = text;
    m_bTipActive = activate;
    // A tooltip is a window of its own, and a dozen of them cost the start-up
    // a noticeable moment: until the mouse first comes, the text waits here.
    if (m_hTooltip)
        ApplyTip();
}

void CFaceButton::ApplyTip()
{
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = m_hWnd;
    tool.uId = 1;
    tool.hinst = GetModuleHandleA(nullptr);
    tool.lpszText = const_cast<char*>(m_strTip.c_str());
    if (SendMessageA(m_hTooltip, TTM_GETTOOLCOUNT, 0, 0) == 0) {
        GetClientRect(m_hWnd, &tool.rect);
        SendMessageA(m_hTooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageA(m_hTooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(m_hTooltip, TTM_ACTIVATE, m_bTipActive ? TRUE : FALSE, 0);
}

bool CFaceButton::PreTranslateMessage(MSG& msg)
{
    // The tooltip only needs the mouse.
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
        EnsureTooltip();
        if (m_hTooltip)
            SendMessageA(m_hTooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    return CSubclassedWindow::PreTranslateMessage(msg);
}

LRESULT CFaceButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_KILLFOCUS:
        return OnKillFocus(wParam, lParam);
    case WM_MOUSEMOVE: {
        const LRESULT result = CallOriginal(msg, wParam, lParam);
        if (m_hWnd)
            TrackHover(wParam, lParam);
        return result;
    }
    case WM_CAPTURECHANGED:
        OnCaptureChanged();
        return CallOriginal(msg, wParam, lParam);
    case WM_ERASEBKGND:
        // The face covers every pixel: nothing is erased, so nothing flickers.
        return FALSE;
    }
    return CallOriginal(msg, wParam, lParam);
}

LRESULT CFaceButton::OnKillFocus(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallOriginal(WM_KILLFOCUS, wParam, lParam);
    if (m_hWnd)
        ClearHighlight();
    return result;
}

void CFaceButton::OnCaptureChanged()
{
    // The flag stays: the next mouse move over the button decides again.
    if (m_bHighlighted) {
        ReleaseCapture();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void CFaceButton::TrackHover(WPARAM keys, LPARAM position)
{
    const bool leftDown = (keys & MK_LBUTTON) != 0;
    if (leftDown && !m_bHighlighted)
        return;
    // Hovering starts only while the application has an active window.
    HWND active = GetActiveWindow();
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    if (!owner)
        owner = GetParent(m_hWnd);
    if (GetCapture() != m_hWnd && active && owner) {
        m_bHighlighted = true;
        SetCapture(m_hWnd);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return;
    }
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ClientToScreen(m_hWnd, &point);
    HWND under = WindowFromPoint(point);
    if (!under || under == m_hWnd)
        return;
    // The mouse has left the button.
    if (m_bHighlighted)
        ClearHighlight();
    if (!leftDown)
        ReleaseCapture();
}

void CFaceButton::ClearHighlight()
{
    m_bHighlighted = false;
    InvalidateRect(m_hWnd, nullptr, TRUE);
}
