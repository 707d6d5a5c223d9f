#pragma once
// A popup menu drawn by the program: the items of an ordinary menu shown as
// the buttons of a toolbar (CBmpMenuBar) in a bordered popup window with a
// bitmap strip down its left side. It posts the chosen command to its owner
// and runs a modal loop until it closes, like the platform's own popup menus.
#include <windows.h>

#include <memory>

#include "framework/CWindowBase.h"
#include "framework/ScopedHandles.h"

class CBmpMenuBar;

// The width of the side strip of the program's bitmap menus, in pixels.
constexpr int kBmpMenuStripWidth = 25;

class CBmpMenu : public CWindowBase {
public:
    static constexpr const char* kClassName = "BitmapMenu";
    static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_TOOLWINDOW |
                                      WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;
    static constexpr DWORD kStyle = WS_POPUP | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER;
    static_assert(kExStyle == 0x10189 && kStyle == 0xC6800000);

    // stripBitmap stays the caller's; it is used only when it is a valid
    // bitmap. submenuStrip is kept for menus with submenus, which the
    // program's menus do not have.
    CBmpMenu(int stripWidth, bool submenuStrip, HBITMAP stripBitmap, bool stretch);
    ~CBmpMenu() override;

    // The menu to show; it now belongs to this object. False when the
    // handle is not a menu.
    bool Attach(HMENU menu);
    HMENU GetMenu() const { return m_menu; }

    // Shows the menu with its top-left corner at (x, y) in screen pixels (or
    // flipped where the screen ends) and returns once it has closed: 1 when
    // it was shown, 0 when the owner is not a window or the popup could not
    // be made. flags and exclude are accepted for the platform's signature
    // and not used.
    int TrackPopupMenu(UINT flags, int x, int y, HWND owner, const RECT* exclude = nullptr);

    // The program's way to show one of its menu resources: at the cursor,
    // the banner bitmap down its side, the picture bitmap on the item at
    // picturePos and, when defaultPos is not negative, that item as the
    // default. Returns once the menu has closed; false when the menu
    // resource could not be loaded.
    static bool ShowResourceMenu(HWND owner, int menuId, int bannerId, UINT picturePos, int pictureId,
                                 int defaultPos = -1);

    // For the item bar: the window that gets commands and notifications,
    // and the end of the menu.
    HWND Owner() const { return m_owner; }
    void Close();
    // Posts the item's command to the owner and closes the menu; chosen
    // with the left button down, both wait for its release.
    void ChooseCommand(UINT id);
    // The item bar while the menu is shown (tests look at it).
    HWND ItemBar() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static bool RegisterPopupClass();
    // Destroys the popup and its bar, then frees the bar's items.
    void Teardown();
    void PlaceAt(int x, int y, int width, int height);
    void OnPaint();
    void OnActivate(WPARAM wParam, LPARAM lParam);

    UniqueMenu m_menu;
    HWND m_owner = nullptr;
    HBITMAP m_stripBitmap = nullptr;
    int m_stripWidth;
    bool m_submenuStrip;
    bool m_stretch;
    bool m_closing = false;
    // An item chosen by a mouse press: the menu stays, holding the mouse,
    // until the button is released, and posts the command as it closes.
    bool m_bAwaitingRelease = false;
    UINT m_chosenId = 0;
    std::unique_ptr<CBmpMenuBar> m_bar;
};
