#pragma once
// The item bar of a bitmap popup menu: a toolbar control with one button per
// menu item, each drawn by the bar itself (highlight, item bitmap, text with
// its mnemonic underlined), answering the mouse and the keyboard as a menu
// does.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "framework/CSubclassedWindow.h"
#include "framework/ScopedHandles.h"

class CBmpMenu;

// Posted by the item bar to itself for a left-button press on an item:
// wParam the key flags, lParam the point.
constexpr UINT WM_BMPMENU_CLICK = WM_USER + 101;
static_assert(WM_BMPMENU_CLICK == 0x465);

class CBmpMenuBar : public CSubclassedWindow {
public:
    static constexpr int kControlId = 0xE800;
    static constexpr DWORD kBarStyle = TBSTYLE_WRAPABLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_CUSTOMERASE;
    static_assert(kBarStyle == 0x3A00);

    explicit CBmpMenuBar(CBmpMenu& menu) : m_menu(menu) {}
    ~CBmpMenuBar() override;

    // Makes the hidden toolbar inside the popup.
    bool Create(HWND popup);
    // One button per item of the menu, each as wide as the widest plus the
    // check-mark width, which it returns.
    int Fill(HMENU menu);
    // The height of the column of items at the bar's final width.
    int ItemsHeight();
    // Draws the items; the popup passes on the bar's NM_CUSTOMDRAW.
    LRESULT OnCustomDraw(NMTBCUSTOMDRAW& draw);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // What the bar keeps of each menu item: its record and its text.
    struct Item {
        MENUITEMINFOA info{};
        char text[260] = {};
    };

    void DrawItem(const NMTBCUSTOMDRAW& draw, const Item& item);
    void DrawItemBitmap(HDC dc, HBITMAP bitmap, const RECT& square, bool hot) const;
    void DrawSeparators(HDC dc) const;
    void OnMouseMove(LPARAM lParam);
    void OnLButtonDown(WPARAM keys, LPARAM lParam);
    void OnClick(LPARAM lParam);
    bool OnKeyDown(WPARAM key);
    void ClickButton(int index, WPARAM keys);
    // The index of the item under a client point, or -1 (separators and
    // the space between items included).
    int ItemAt(POINT pt) const;
    const Item* ItemOf(int index) const;

    CBmpMenu& m_menu;
    UniqueFont m_font;
    UniqueFont m_boldFont;
    std::vector<std::unique_ptr<Item>> m_items;
    int m_itemWidth = 0;
    int m_lastHotId = -1;
    int m_lastClicked = -1;
    int m_lastHover = -1;
};
