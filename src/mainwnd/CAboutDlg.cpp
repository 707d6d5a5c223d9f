#include "mainwnd/CAboutDlg.h"

#include <windowsx.h>

#include <iterator>

#include "framework/ScopedHandles.h"
#include "framework/WideText.h"
#include "framework/WindowDpi.h"
#include "mainwnd/AboutText.h"
#include "res/resource.h"

namespace {
constexpr int kEditMargin = 5;
constexpr int kLinkHeight = 14;
constexpr const wchar_t kTitle[] = L"Velumo ";
// SimHei by its own (Chinese) name; where it is missing the system picks a
// stand-in of the Roman family.
constexpr const wchar_t kTitleFace[] = L"\u9ED1\u4F53";
}  // namespace

CAboutDlg::CAboutDlg() : CDialogBase(IDD_ABOUTBOX) {}

HBRUSH CAboutDlg::BackBrush()
{
    // Made on first use and kept for the life of the program.
    static UniqueBrush brush(CreateSolidBrush(kBackColour));
    return brush;
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialogBase::OnInitDialog();
    HWND edit = GetItem(IDC_ABOUT_TEXT);
    m_link.Attach(GetItem(IDC_ABOUT_LINK));

    // Pixel sizes here are for 96 DPI and grow with the box's display.
    const DisplayScale scale = WindowScale(m_hWnd);
    const int margin = scale.ToPixels(kEditMargin);
    SendMessageA(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    SetWindowTextW(edit, WideFromUtf8(ComposeAboutText()).c_str());

    m_link.SetBackColour(kBackColour).SetBold(true).SetTextColour(kLinkColour);
    SetWindowTextW(m_link.GetHwnd(), L"Visit website");
    m_link.SetTarget(kHomePageUrl)
        .SetCharHeight(scale.ToPixels(kLinkHeight))
        .BlinkText(true)
        .SetUnderline(true)
        .SetHoverCursor(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR_ABOUT)))
        .SetHyperlink(true, true);
    return TRUE;
}

void CAboutDlg::PaintTitle()
{
    ScopedPaint paint(m_hWnd);
    const DisplayScale scale = WindowScale(m_hWnd);
    UniqueFont font(CreateFontW(scale.ToPixels(15), 0, 0, 0, FW_DONTCARE, TRUE, TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_ROMAN, kTitleFace));
    ScopedSelect select(paint, font);
    const int oldMode = SetBkMode(paint, TRANSPARENT);
    // White one pixel down and right, navy on top: a light shadow.
    const COLORREF oldColour = SetTextColor(paint, RGB(255, 255, 255));
    const int length = static_cast<int>(std::size(kTitle)) - 1;
    TextOutW(paint, scale.ToPixels(4), scale.ToPixels(11), kTitle, length);
    SetTextColor(paint, RGB(0, 0, 128));
    TextOutW(paint, scale.ToPixels(3), scale.ToPixels(10), kTitle, length);
    SetTextColor(paint, oldColour);
    SetBkMode(paint, oldMode);
}

bool CAboutDlg::PreTranslateMessage(MSG& msg)
{
    // The box ignores the keyboard: Enter and Escape do not close it and
    // nothing can be typed into the description.
    if (msg.message >= WM_KEYDOWN && msg.message <= WM_CHAR && (msg.hwnd == m_hWnd || IsChild(m_hWnd, msg.hwnd)))
        return true;
    return CDialogBase::PreTranslateMessage(msg);
}

INT_PTR CAboutDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        PaintTitle();
        return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), kBackColour);
        return reinterpret_cast<INT_PTR>(BackBrush());
    case WM_LBUTTONDOWN: {
        // Held anywhere, the box moves as if by its caption. The caption
        // press takes a screen point.
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(m_hWnd, &pt);
        PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
        return FALSE;
    }
    case WM_SYSCOLORCHANGE:
        // Children hear of it only from their dialog.
        SendMessageA(m_link.GetHwnd(), WM_SYSCOLORCHANGE, wParam, lParam);
        return FALSE;
    }
    return CDialogBase::HandleMessage(msg, wParam, lParam);
}
