#include "skin/CLinkLabel.h"

#include <shellapi.h>

#include "framework/WideText.h"
#include "skin/LinkLabelLayout.h"

static_assert(StaticStyle::kTypeMask == SS_TYPEMASK && StaticStyle::kRight == SS_RIGHT &&
              StaticStyle::kCentreImage == SS_CENTERIMAGE);

CLinkLabel::CLinkLabel()
    : m_crText(GetSysColor(COLOR_WINDOWTEXT)), m_brSystem(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)))
{
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof m_lf, &m_lf);
    m_font.Reset(CreateFontIndirectW(&m_lf));
}

CLinkLabel::~CLinkLabel()
{
    if (m_hWnd && IsWindow(m_hWnd) && m_bTimerRunning)
        KillTimer(m_hWnd, kBlinkTimer);
}

CLinkLabel& CLinkLabel::SetBackColour(COLORREF colour)
{
    m_crBack = colour;
    m_brBack.Reset(CreateSolidBrush(colour));
    return *this;
}

CLinkLabel& CLinkLabel::SetTextColour(COLORREF colour)
{
    m_crText = colour;
    Redraw();
    return *this;
}

CLinkLabel& CLinkLabel::SetBold(bool bold)
{
    m_lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    RemakeFont();
    Redraw();
    return *this;
}

CLinkLabel& CLinkLabel::SetUnderline(bool underline)
{
    m_lf.lfUnderline = underline ? TRUE : FALSE;
    RemakeFont();
    Redraw();
    return *this;
}

CLinkLabel& CLinkLabel::SetCharHeight(int height)
{
    m_lf.lfHeight = -height;
    RemakeFont();
    Redraw();
    return *this;
}

CLinkLabel& CLinkLabel::BlinkText(bool blink)
{
    if (m_bTimerRunning && m_hWnd)
        KillTimer(m_hWnd, kBlinkTimer);
    m_bTimerRunning = false;
    if (blink) {
        m_bBlinkPhase = false;
        if (m_hWnd)
            m_bTimerRunning = SetTimer(m_hWnd, kBlinkTimer, kBlinkMs, nullptr) != 0;
        m_nBlinkMode = 1;
    } else {
        m_nBlinkMode = 0;
    }
    // What shows follows the new mode at once: a label caught hidden by a
    // stop shows again without waiting for the next paint.
    Redraw();
    return *this;
}

CLinkLabel& CLinkLabel::SetHyperlink(bool link, bool openOnClick)
{
    if (m_hWnd) {
        const LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
        SetWindowLongPtrA(m_hWnd, GWL_STYLE, link ? (style | SS_NOTIFY) : (style & ~static_cast<LONG_PTR>(SS_NOTIFY)));
    }
    m_bOpenOnClick = openOnClick;
    return *this;
}

CLinkLabel& CLinkLabel::SetHoverCursor(HCURSOR cursor)
{
    m_hLinkCursor = cursor;
    return *this;
}

CLinkLabel& CLinkLabel::SetTarget(const std::string& target)
{
    m_strTarget = target;
    return *this;
}

void CLinkLabel::RemakeFont()
{
    m_font.Reset(CreateFontIndirectW(&m_lf));
}

void CLinkLabel::Redraw()
{
    if (!m_hWnd)
        return;
    InvalidateRect(m_hWnd, nullptr, TRUE);
    UpdateWindow(m_hWnd);
}

COLORREF CLinkLabel::BackgroundColour() const
{
    return m_brBack ? m_crBack : RGB(0, 0, 0);
}

void CLinkLabel::OnPaint()
{
    ScopedPaint paint(m_hWnd);
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    const std::u16string text = GetWindowTextUtf16(m_hWnd);

    // Drawn off screen and copied in one go, so the blinking does not flicker.
    UniqueMemDC memory(CreateCompatibleDC(paint));
    UniqueBitmap picture(CreateCompatibleBitmap(paint, client.right, client.bottom));
    if (!memory || !picture)
        return;
    ScopedSelect selectPicture(memory, picture);
    ScopedSelect selectFont(memory, m_font);
    FillRect(memory, &client, m_brBack ? m_brBack.Get() : m_brSystem.Get());
    SetBkMode(memory, TRANSPARENT);
    // In the hidden phase the text takes the background's colour.
    SetTextColor(memory, (m_nBlinkMode == 1 && !m_bBlinkPhase) ? BackgroundColour() : m_crText);

    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE));
    const LinkTextLayout layout = LayoutLinkText(style, text);
    UINT format = DT_NOCLIP;
    if (layout.horizontal == LinkTextLayout::kCentre)
        format |= DT_CENTER;
    else if (layout.horizontal == LinkTextLayout::kRight)
        format |= DT_RIGHT;
    if (layout.singleLineCentred)
        format |= DT_VCENTER | DT_SINGLELINE;
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    DrawTextW(memory, WideChars(text), static_cast<int>(text.size()), &client, format);
    BitBlt(paint, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
}

void CLinkLabel::OnBlinkTick()
{
    m_bBlinkPhase = !m_bBlinkPhase;
    Redraw();
}

void CLinkLabel::OnLeftButtonDown()
{
    if (!m_bOpenOnClick)
        return;
    if (m_strTarget.empty())
        m_strTarget = Utf8FromUtf16(GetWindowTextUtf16(m_hWnd));
    OpenTarget(m_strTarget);
}

void CLinkLabel::OpenTarget(const std::string& target)
{
    // Nothing is shown when the shell cannot open it: a link is an offer.
    ShellExecuteW(GetParent(m_hWnd), L"open", WideFromUtf8(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CLinkLabel::OnSysColourChange()
{
    m_brSystem.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    Redraw();
}

LRESULT CLinkLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_SETTEXT:
    case WM_ENABLE: {
        // The static paints itself straight away for these; ours goes over it.
        const LRESULT result = CallOriginal(msg, wParam, lParam);
        Redraw();
        return result;
    }
    case WM_TIMER:
        if (wParam == kBlinkTimer && m_nBlinkMode == 1)
            OnBlinkTick();
        break;
    case WM_SETCURSOR:
        if (m_hLinkCursor) {
            SetCursor(m_hLinkCursor);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown();
        break;
    case WM_SYSCOLORCHANGE:
        OnSysColourChange();
        break;
    case WM_NCDESTROY:
        m_bTimerRunning = false;
        break;
    }
    return CallOriginal(msg, wParam, lParam);
}
