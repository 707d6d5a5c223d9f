#include "tray/CBmpMenu.h"

#include <algorithm>

#include "framework/WindowDpi.h"
#include "framework/ScaledPicture.h"
#include "tray/CBmpMenuBar.h"
#include "tray/PopupPlacement.h"

CBmpMenu::CBmpMenu(int stripWidth, bool submenuStrip, HBITMAP stripBitmap, bool stretch)
    : m_stripWidth(std::max(stripWidth, 0)), m_submenuStrip(submenuStrip), m_stretch(stretch)
{
    BITMAP info{};
    if (stripBitmap && GetObjectA(stripBitmap, sizeof info, &info) == sizeof info)
        m_stripBitmap = stripBitmap;
}

CBmpMenu::~CBmpMenu()
{
    Teardown();
}

void CBmpMenu::Teardown()
{
    // The popup takes its bar window with it; the bar's items go after.
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
    m_bar.reset();
}

bool CBmpMenu::Attach(HMENU menu)
{
    if (!menu || !IsMenu(menu))
        return false;
    m_menu.Reset(menu);
    return true;
}

HWND CBmpMenu::ItemBar() const
{
    return m_bar ? m_bar->GetHwnd() : nullptr;
}

bool CBmpMenu::RegisterPopupClass()
{
    // The plain window class of the program's windows under its own name, so
    // that a menu can tell another bitmap menu from any other window.
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassOnce(wc);
}

bool CBmpMenu::ShowResourceMenu(HWND owner, int menuId, int bannerId, UINT picturePos, int pictureId,
                                int defaultPos)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The pictures outlive the menu that shows them.
    UniqueBitmap banner(LoadBitmapA(instance, MAKEINTRESOURCEA(bannerId)));
    UniqueBitmap picture(LoadBitmapA(instance, MAKEINTRESOURCEA(pictureId)));
    // Drawn for 96 DPI: at the owner's scale, the banner and its strip grow
    // with the menu's text, the item picture with its check-mark square.
    const DisplayScale scale(WindowDpi(owner));
    if (!scale.IsBase()) {
        for (UniqueBitmap* bitmap : {&banner, &picture}) {
            BITMAP info{};
            if (*bitmap && GetObjectA(*bitmap, sizeof info, &info))
                if (HBITMAP scaled = ScalePicture(*bitmap, ScaledPictureSize(SIZE{info.bmWidth, info.bmHeight}, scale)))
                    bitmap->Reset(scaled);
        }
    }
    UniqueMenu loaded(LoadMenuA(instance, MAKEINTRESOURCEA(menuId)));
    if (!loaded)
        return false;
    SetMenuItemBitmaps(loaded, picturePos, MF_BYPOSITION, picture, nullptr);
    if (defaultPos >= 0)
        SetMenuDefaultItem(loaded, static_cast<UINT>(defaultPos), TRUE);
    CBmpMenu menu(scale.ToPixels(kBmpMenuStripWidth), false, banner, false);
    menu.Attach(loaded.Release());
    POINT at{};
    GetCursorPos(&at);
    menu.TrackPopupMenu(0, at.x, at.y, owner);
    return true;
}

int CBmpMenu::TrackPopupMenu(UINT, int x, int y, HWND owner, const RECT*)
{
    if (!owner || !IsWindow(owner) || !m_menu || m_hWnd)
        return 0;
    m_owner = owner;
    SendMessageA(owner, WM_INITMENU, reinterpret_cast<WPARAM>(m_menu.Get()), 0);

    if (!RegisterPopupClass() ||
        !CreateEx(kExStyle, kClassName, "", kStyle, 0, 0, 0, 0, owner, nullptr))
        return 0;
    m_closing = false;
    m_bar = std::make_unique<CBmpMenuBar>(*this);
    if (!m_bar->Create(m_hWnd)) {
        Teardown();
        return 0;
    }
    // The popup's frame (border and dialog frame) takes 3 pixels a side.
    const int itemWidth = m_bar->Fill(m_menu);
    const int width = itemWidth + m_stripWidth + 6;
    const int itemsHeight = m_bar->ItemsHeight();
    PlaceAt(x, y, width, itemsHeight + 6);
    SetWindowPos(m_bar->GetHwnd(), nullptr, m_stripWidth, 0, itemWidth + 6, itemsHeight + 6,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);

    SetForegroundWindow(owner);
    ShowWindow(m_hWnd, SW_SHOWNA);
    SetFocus(m_hWnd);
    SendMessageA(owner, WM_ENTERMENULOOP, reinterpret_cast<WPARAM>(m_menu.Get()),
                 reinterpret_cast<LPARAM>(m_hWnd));

    MessageLoop::RunUntil(&m_closing, nullptr);

    Teardown();
    // Before any command the menu posted reaches the owner.
    if (IsWindow(owner))
        SendMessageA(owner, WM_EXITMENULOOP, 0, 0);
    return 1;
}

void CBmpMenu::PlaceAt(int x, int y, int width, int height)
{
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const PopupOrigin origin =
        PlacePopup(x, y, width, height, ScreenRect{desktop.left, desktop.top, desktop.right, desktop.bottom});
    SetWindowPos(m_hWnd, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBmpMenu::Close()
{
    if (m_closing)
        return;
    m_closing = true;
    // Whatever ends the wait for the release, the choice stands.
    if (m_bAwaitingRelease) {
        m_bAwaitingRelease = false;
        PostMessageA(m_owner, WM_COMMAND, m_chosenId, 0);
    }
    PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the loop if it waits
}

void CBmpMenu::ChooseCommand(UINT id)
{
    if (m_closing || m_bAwaitingRelease)
        return;
    // Items are chosen on the press. Were the menu gone before the release,
    // the release would fall on whatever window lies under the mouse (a
    // button of the main window) and count as a click there: the menu
    // keeps the mouse until the button comes up.
    if (m_hWnd && (GetKeyState(VK_LBUTTON) & 0x8000)) {
        m_chosenId = id;
        m_bAwaitingRelease = true;
        SetCapture(m_hWnd);
        if (GetCapture() == m_hWnd)
            return;
        m_bAwaitingRelease = false;
    }
    // Posted: the owner runs the command once the menu has gone.
    PostMessageA(m_owner, WM_COMMAND, id, 0);
    Close();
}

void CBmpMenu::OnPaint()
{
    ScopedPaint paint(m_hWnd);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    FillRect(paint, &client, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    if (!m_stripBitmap || m_stripWidth <= 0)
        return;
    const RECT strip{0, 0, m_stripWidth, client.bottom};
    if (m_stretch) {
        BITMAP info{};
        GetObjectA(m_stripBitmap, sizeof info, &info);
        UniqueMemDC source(CreateCompatibleDC(paint));
        ScopedSelect select(source, m_stripBitmap);
        SetStretchBltMode(paint, COLORONCOLOR);
        StretchBlt(paint, 0, 0, strip.right, strip.bottom, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    } else {
        // Tiled from the window's corner: a strip wider than the picture
        // repeats its first columns.
        UniqueBrush pattern(CreatePatternBrush(m_stripBitmap));
        SetBrushOrgEx(paint, 0, 0, nullptr);
        FillRect(paint, &strip, pattern);
    }
}

void CBmpMenu::OnActivate(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != WA_INACTIVE)
        return;
    // Another bitmap menu (a submenu) may take the activation; anything
    // else ends this menu.
    HWND other = reinterpret_cast<HWND>(lParam);
    char className[32] = {};
    if (other && GetClassNameA(other, className, sizeof className) && lstrcmpA(className, kClassName) == 0)
        return;
    Close();
}

LRESULT CBmpMenu::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers every pixel
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (m_bar && header->hwndFrom == m_bar->GetHwnd() && header->code == NM_CUSTOMDRAW)
            return m_bar->OnCustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(lParam));
        return 0;
    }
    case WM_KEYDOWN:
        if (m_bar)
            return SendMessageA(m_bar->GetHwnd(), WM_KEYDOWN, wParam, lParam);
        return 0;
    case WM_SYSKEYDOWN:
        Close();
        break;
    case WM_LBUTTONUP:
        // The release of the press that chose an item ends here.
        if (m_bAwaitingRelease) {
            Close();
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (m_bAwaitingRelease && reinterpret_cast<HWND>(lParam) != m_hWnd)
            Close();
        break;
    case WM_ACTIVATE:
        OnActivate(wParam, lParam);
        break;
    case WM_COMMAND:
        // A command the toolbar sends on its own goes where menu commands go.
        PostMessageA(m_owner, WM_COMMAND, wParam, lParam);
        return 0;
    case WM_DESTROY:
        m_closing = true;  // also when the owner takes the menu with it
        break;
    default:
        break;
    }
    return DefaultProc(msg, wParam, lParam);
}
