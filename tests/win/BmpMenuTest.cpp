// The bitmap popup menu on real windows: its items and strip, the keys and
// clicks that choose or close it, what its owner hears, and how a
// highlighted item is drawn.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "WinTestUtil.h"
#include "framework/ScopedHandles.h"
#include "res/resource.h"
#include "tray/CBmpMenu.h"

namespace {

constexpr char kOwnerClass[] = "VelumoTestMenuOwner";

// The owner of the menus under test: records what the menu tells it and
// lets a test act once the menu is up.
struct MenuOwner {
    HWND hwnd = nullptr;
    std::vector<UINT> events;        // WM_INITMENU, WM_ENTERMENULOOP, WM_EXITMENULOOP, WM_COMMAND
    std::vector<UINT> commands;      // ids of WM_COMMAND, sent or posted
    std::vector<UINT> selected;      // ids of WM_MENUSELECT
    std::vector<WPARAM> menuChars;   // wParam of WM_MENUCHAR
    LRESULT menuCharAnswer = 0;
    HMENU initMenu = nullptr;
    std::function<void(HWND popup, HWND bar)> onOpen;
    CBmpMenu* menu = nullptr;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<MenuOwner*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (!self)
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        switch (msg) {
        case WM_INITMENU:
            self->events.push_back(msg);
            self->initMenu = reinterpret_cast<HMENU>(wParam);
            return 0;
        case WM_ENTERMENULOOP:
            self->events.push_back(msg);
            if (self->onOpen)
                self->onOpen(reinterpret_cast<HWND>(lParam), self->menu->ItemBar());
            return 0;
        case WM_EXITMENULOOP:
        case WM_COMMAND:
            self->events.push_back(msg);
            if (msg == WM_COMMAND)
                self->commands.push_back(LOWORD(wParam));
            return 0;
        case WM_MENUSELECT:
            self->selected.push_back(LOWORD(wParam));
            return 0;
        case WM_MENUCHAR:
            self->menuChars.push_back(wParam);
            return self->menuCharAnswer;
        case WM_TIMER:
            // A menu that should have closed long ago: fail, do not hang.
            KillTimer(hwnd, wParam);
            if (HWND open = FindWindowA(CBmpMenu::kClassName, nullptr)) {
                ADD_FAILURE() << "the menu stayed open";
                PostMessageA(open, WM_CLOSE, 0, 0);
            }
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        }
    }

    MenuOwner()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kOwnerClass;
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, kOwnerClass, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 500, 300, 200,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        PumpPending();
    }
    ~MenuOwner()
    {
        DestroyWindow(hwnd);
        PumpPending();
    }
};

// The tray menu as the tray shows it: banner strip, the list bitmap beside
// "&View note list...".
class BmpMenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_itemBitmap.Reset(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_VIEW_LIST_ITEM)));
        ASSERT_TRUE(m_itemBitmap);
    }

    // Opens the tray menu at `at`, runs onOpen once it is up, and returns
    // TrackPopupMenu's answer after the menu has closed and the posted
    // command has arrived.
    int Run(std::function<void(HWND popup, HWND bar)> onOpen, HBITMAP strip = nullptr, POINT at = {100, 100})
    {
        HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU));
        EXPECT_NE(loaded, nullptr);
        SetMenuItemBitmaps(loaded, 1, MF_BYPOSITION, m_itemBitmap, nullptr);
        CBmpMenu menu(kBmpMenuStripWidth, false, strip, false);
        EXPECT_TRUE(menu.Attach(loaded));
        m_menuHandle = loaded;
        m_owner.menu = &menu;
        m_owner.onOpen = std::move(onOpen);
        SetTimer(m_owner.hwnd, 1, 5000, nullptr);
        const int shown = menu.TrackPopupMenu(0, at.x, at.y, m_owner.hwnd);
        KillTimer(m_owner.hwnd, 1);
        EXPECT_EQ(FindWindowA(CBmpMenu::kClassName, nullptr), nullptr) << "the popup is gone";
        PumpPending();
        m_owner.menu = nullptr;
        return shown;
    }

    static RECT ItemRect(HWND bar, int index)
    {
        RECT rc{};
        SendMessageA(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
        return rc;
    }
    static void PostKey(HWND popup, WPARAM key) { PostMessageA(popup, WM_KEYDOWN, key, 0); }
    static void PostClick(HWND bar, POINT pt)
    {
        PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        PostMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    static POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

    MenuOwner m_owner;
    UniqueBitmap m_itemBitmap;
    HMENU m_menuHandle = nullptr;
};

// A 23-pixel-wide strip picture whose columns all differ.
UniqueBitmap ColumnBanner(int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 23;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 23; ++x)
            pixels[y * 23 + x] = (static_cast<uint32_t>(x * 11) << 16) | static_cast<uint32_t>(200 - x * 5) << 8 | 40;
    return bitmap;
}

}  // namespace

TEST_F(BmpMenuTest, TrayMenuIsOneColumnOfEqualItemsBesideATiledStrip)
{
    UniqueBitmap banner = ColumnBanner(40);
    Run([&](HWND popup, HWND bar) {
        ASSERT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 13);
        const RECT first = ItemRect(bar, 0);
        const int width = first.right - first.left;
        // Room for the widest text beside the bitmap square: nothing is cut.
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0));
        ScopedGetDC dc(bar);
        ScopedSelect selectFont(dc, font);
        SIZE widest{};
        GetTextExtentPoint32A(dc, "Bring notes to top", 18, &widest);
        EXPECT_GE(width, widest.cx + (first.bottom - first.top) + 2);
        // One column of items, each right under the one before it or, after
        // a separator, under a small gap that holds the separator's line.
        std::vector<int> gapMiddles;
        int separators = 0;
        int bottom = first.top;
        bool afterSeparator = false;
        for (int i = 0; i < 13; ++i) {
            SCOPED_TRACE(i);
            TBBUTTON button{};
            SendMessageA(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
            if (button.fsStyle & BTNS_SEP) {
                ++separators;
                afterSeparator = true;
                continue;
            }
            const RECT rc = ItemRect(bar, i);
            EXPECT_EQ(rc.left, first.left);
            EXPECT_EQ(rc.right - rc.left, width);
            if (afterSeparator) {
                EXPECT_GE(rc.top, bottom + 3);
                EXPECT_LE(rc.top, bottom + 12);
                gapMiddles.push_back((bottom + rc.top) / 2);
            } else {
                EXPECT_EQ(rc.top, bottom);
            }
            afterSeparator = false;
            bottom = rc.bottom;
        }
        EXPECT_EQ(separators, 3);
        const int top = bottom;

        RECT client{};
        GetClientRect(popup, &client);
        EXPECT_EQ(client.right, kBmpMenuStripWidth + width);
        EXPECT_EQ(client.bottom, top - first.top);
        RECT window{};
        GetWindowRect(popup, &window);
        EXPECT_EQ(window.left, 100);
        EXPECT_EQ(window.top, 100);
        EXPECT_EQ(PlacedRect(bar).left, kBmpMenuStripWidth);

        // Tiled: columns 23 and 24 of the strip repeat the picture's first
        // two, and rows repeat below the 40-row picture.
        UpdateWindow(popup);
        ScopedGetDC popupDc(popup);
        for (int y : {0, 17, 39, 45}) {
            SCOPED_TRACE(y);
            EXPECT_EQ(GetPixel(popupDc, 23, y), GetPixel(popupDc, 0, y));
            EXPECT_EQ(GetPixel(popupDc, 24, y), GetPixel(popupDc, 1, y));
            EXPECT_NE(GetPixel(popupDc, 22, y), GetPixel(popupDc, 0, y));
        }
        EXPECT_EQ(GetPixel(popupDc, 5, 45), GetPixel(popupDc, 5, 5));

        // Each separator is a line across the whole width of the items.
        UpdateWindow(bar);
        ScopedGetDC barDc(bar);
        for (int middle : gapMiddles) {
            SCOPED_TRACE(middle);
            for (int x : {first.left + 4, first.left + width / 2, first.left + width - 4}) {
                const bool shadow = GetPixel(barDc, x, middle - 1) == GetSysColor(COLOR_BTNSHADOW) ||
                                    GetPixel(barDc, x, middle) == GetSysColor(COLOR_BTNSHADOW);
                EXPECT_TRUE(shadow) << x;
            }
        }
        PostKey(popup, VK_ESCAPE);
    }, banner);
    EXPECT_TRUE(m_owner.commands.empty());
}

TEST_F(BmpMenuTest, OpensLeftOfAndAboveThePointNearTheBottomRightCorner)
{
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    RECT placed{};
    Run([&](HWND popup, HWND) {
        GetWindowRect(popup, &placed);
        PostKey(popup, VK_ESCAPE);
    }, nullptr, POINT{cx - 5, cy - 5});
    EXPECT_EQ(placed.right, cx - 5);
    EXPECT_EQ(placed.bottom, cy - 5);
}

TEST_F(BmpMenuTest, KeysAndClicksChooseOrCloseAsAMenuDoes)
{
    struct Case {
        const char* label;
        std::function<void(HWND popup, HWND bar)> act;
        std::vector<UINT> commands;
    } cases[] = {
        {"mnemonic X", [](HWND popup, HWND) { PostKey(popup, 'X'); }, {ID_APP_EXIT_CMD}},
        {"mnemonic of a middle item", [](HWND popup, HWND) { PostKey(popup, 'I'); }, {ID_HIDE_ALL}},
        {"Return on the highlighted item",
         [](HWND popup, HWND bar) {
             SendMessageA(bar, TB_SETHOTITEM, 2, 0);
             UpdateWindow(bar);
             PostKey(popup, VK_RETURN);
         },
         {ID_BRING_TO_TOP}},
        {"arrow down, then Return at once",
         [](HWND popup, HWND bar) {
             SendMessageA(bar, TB_SETHOTITEM, 0, 0);
             PostKey(popup, VK_DOWN);
             PostKey(popup, VK_RETURN);
         },
         {ID_VIEW_NOTE_LIST}},
        {"arrow up over a separator",
         [](HWND popup, HWND bar) {
             SendMessageA(bar, TB_SETHOTITEM, 5, 0);
             PostKey(popup, VK_UP);
             PostKey(popup, VK_RETURN);
         },
         {ID_COMING_UP}},
        {"Escape", [](HWND popup, HWND) { PostKey(popup, VK_ESCAPE); }, {}},
        {"a system key", [](HWND popup, HWND) { PostMessageA(popup, WM_SYSKEYDOWN, VK_MENU, 0); }, {}},
        {"click on an item", [](HWND, HWND bar) { PostClick(bar, Centre(ItemRect(bar, 0))); }, {ID_ADD_NOTE}},
        {"double click chooses once",
         [](HWND, HWND bar) {
             PostClick(bar, Centre(ItemRect(bar, 5)));
             const POINT pt = Centre(ItemRect(bar, 5));
             PostMessageA(bar, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
         },
         {ID_SHOW_ALL}},
        // Still open after the separator: the X that follows is seen.
        {"click on a separator does nothing",
         [](HWND popup, HWND bar) {
             PostClick(bar, Centre(ItemRect(bar, 4)));
             PostKey(popup, 'X');
         },
         {ID_APP_EXIT_CMD}},
        {"another window becomes active",
         [this](HWND popup, HWND) {
             SetActiveWindow(m_owner.hwnd);
             PostKey(popup, 'X');
         },
         {}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.label);
        m_owner.commands.clear();
        m_owner.events.clear();
        EXPECT_EQ(Run(c.act), 1);
        EXPECT_EQ(m_owner.commands, c.commands);
        // The command is posted: it arrives after the menu has gone.
        if (!c.commands.empty()) {
            EXPECT_EQ(m_owner.events.back(), static_cast<UINT>(WM_COMMAND));
        }
    }
}

TEST_F(BmpMenuTest, ClickOutsideTheMenuClosesItWithoutACommand)
{
    RECT ownerRect{};
    GetWindowRect(m_owner.hwnd, &ownerRect);
    Run([&](HWND popup, HWND) {
        UpdateWindow(popup);
        SetCursorPos((ownerRect.left + ownerRect.right) / 2, (ownerRect.top + ownerRect.bottom) / 2);
        INPUT clicks[2]{};
        clicks[0].type = clicks[1].type = INPUT_MOUSE;
        clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, clicks, sizeof(INPUT));
        // Had the click not closed the menu, this would run "E&xit".
        SetTimer(nullptr, 0, 500, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            if (HWND open = FindWindowA(CBmpMenu::kClassName, nullptr))
                PostMessageA(open, WM_KEYDOWN, 'X', 0);
        });
    });
    EXPECT_TRUE(m_owner.commands.empty());
}

TEST_F(BmpMenuTest, UnknownKeysAskTheOwnerWhoMayCloseOrChoose)
{
    struct Case {
        const char* label;
        LRESULT answer;
        std::vector<UINT> commands;
    } cases[] = {
        {"close", MAKELRESULT(0, MNC_CLOSE), {}},
        {"execute", MAKELRESULT(ID_SHOW_ALL, MNC_EXECUTE), {ID_SHOW_ALL}},
        // Nothing changes: the X after it still chooses "E&xit".
        {"ignore", MAKELRESULT(0, MNC_IGNORE), {ID_APP_EXIT_CMD}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        m_owner.commands.clear();
        m_owner.events.clear();
        m_owner.menuChars.clear();
        m_owner.menuCharAnswer = c.answer;
        Run([](HWND popup, HWND) {
            PostKey(popup, 'Q');
            PostKey(popup, 'X');
        });
        EXPECT_EQ(m_owner.commands, c.commands);
        // Whichever way it was chosen, the command runs once the menu is gone.
        std::vector<UINT> ending{WM_EXITMENULOOP};
        if (!c.commands.empty())
            ending.push_back(WM_COMMAND);
        ASSERT_GE(m_owner.events.size(), ending.size());
        EXPECT_EQ(std::vector<UINT>(m_owner.events.end() - static_cast<std::ptrdiff_t>(ending.size()),
                                    m_owner.events.end()),
                  ending);
        ASSERT_EQ(m_owner.menuChars.size(), 1u);
        EXPECT_EQ(m_owner.menuChars[0], MAKEWPARAM('Q', MF_POPUP));
    }
}

TEST_F(BmpMenuTest, OwnerHearsTheMenuStartAndEndInOrder)
{
    Run([](HWND popup, HWND) { PostKey(popup, 'N'); });
    const std::vector<UINT> expected{WM_INITMENU, WM_ENTERMENULOOP, WM_EXITMENULOOP, WM_COMMAND};
    EXPECT_EQ(m_owner.events, expected);
    EXPECT_EQ(m_owner.initMenu, m_menuHandle);

    // Without an owner window nothing is shown.
    HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    CBmpMenu menu(kBmpMenuStripWidth, false, nullptr, false);
    ASSERT_TRUE(menu.Attach(loaded));
    EXPECT_EQ(menu.TrackPopupMenu(0, 10, 10, nullptr), 0);
    EXPECT_EQ(menu.TrackPopupMenu(0, 10, 10, reinterpret_cast<HWND>(0x1234)), 0);
    EXPECT_FALSE(menu.Attach(reinterpret_cast<HMENU>(0x1234)));
}

TEST_F(BmpMenuTest, HighlightedItemTurnsItsLightGreyIntoTheHighlightColour)
{
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF teal = RGB(24, 92, 101);  // the picture's accent, never recoloured
    struct Seen {
        int highlight = 0, lightGrey = 0, teal = 0;
    };
    // The colours in the square at the left of "&View note list...".
    auto look = [&](HWND bar) {
        UpdateWindow(bar);
        const RECT rc = ItemRect(bar, 1);
        ScopedGetDC dc(bar);
        Seen seen;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left + 1; x < rc.left + 1 + (rc.bottom - rc.top); ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                seen.highlight += c == highlight;
                seen.lightGrey += c == RGB(192, 192, 192);
                seen.teal += c == teal;
            }
        }
        return seen;
    };
    Seen plain, hot;
    Run([&](HWND popup, HWND bar) {
        plain = look(bar);
        SendMessageA(bar, TB_SETHOTITEM, 1, 0);
        hot = look(bar);
        PostKey(popup, VK_ESCAPE);
    });
    EXPECT_GT(plain.teal, 10) << "the item bitmap is drawn";
    EXPECT_EQ(plain.highlight, 0);
    EXPECT_GT(hot.teal, 10);
    EXPECT_EQ(hot.lightGrey, 0);
    EXPECT_GT(hot.highlight, 16 * 17 / 2) << "the picture's background and the item's";
    EXPECT_EQ(m_owner.selected, std::vector<UINT>{ID_VIEW_NOTE_LIST});
}
