#include "tray/CBmpMenuBar.h"

#include <windowsx.h>

#include <string_view>

#include "tray/CBmpMenu.h"
#include "tray/MenuMnemonic.h"

namespace {

// What Return and a mnemonic send as the key flags of their simulated click.
constexpr WPARAM kReturnClickKeys = MK_LBUTTON | 0x100;
constexpr UINT kItemInfoMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;
static_assert(kItemInfoMask == 63);

// The four greys of an item bitmap that follow the system colours.
COLORREF ItemBitmapColour(COLORREF pixel, COLORREF lightGrey)
{
    switch (pixel & 0xFFFFFF) {
    case RGB(0, 0, 0): return GetSysColor(COLOR_BTNTEXT);
    case RGB(128, 128, 128): return GetSysColor(COLOR_BTNSHADOW);
    case RGB(192, 192, 192): return lightGrey;
    case RGB(255, 255, 255): return GetSysColor(COLOR_BTNHIGHLIGHT);
    default: return pixel;
    }
}

// Where a picture of size `picture` goes in a square of side `square` along
// one axis: centred when smaller, its middle part when larger.
struct Span {
    int dest, source, length;
};
Span CentreIn(int square, int picture)
{
    if (picture <= square)
        return {(square - picture) / 2, 0, picture};
    return {0, (picture - square) / 2, square};
}

}  // namespace

CBmpMenuBar::~CBmpMenuBar()
{
    Detach();
}

bool CBmpMenuBar::Create(HWND popup)
{
    // The bar keeps the place and size the popup gives it: no alignment to
    // the parent's top edge and no divider line above the first item.
    const DWORD style = WS_CHILD | kBarStyle | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", style, 0, 0, 0, 0, popup,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)),
                               GetModuleHandleA(nullptr), nullptr);
    if (!bar)
        return false;
    if (!Attach(bar)) {
        DestroyWindow(bar);
        return false;
    }
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const auto extended = static_cast<DWORD>(SendMessageA(bar, TB_GETEXTENDEDSTYLE, 0, 0));
    SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, extended | TBSTYLE_EX_DRAWDDARROWS);

    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        m_font.Reset(CreateFontIndirectA(&metrics.lfMenuFont));
        LOGFONTA bold = metrics.lfMenuFont;
        bold.lfWeight = FW_BOLD;
        m_boldFont.Reset(CreateFontIndirectA(&bold));
    }
    if (m_font)
        SendMessageA(bar, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    return true;
}

int CBmpMenuBar::Fill(HMENU menu)
{
    const int checkWidth = GetSystemMetrics(SM_CXMENUCHECK);
    SendMessageA(m_hWnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(checkWidth, GetSystemMetrics(SM_CYMENUCHECK)));

    const int count = GetMenuItemCount(menu);
    for (int pos = 0; pos < count; ++pos) {
        auto item = std::make_unique<Item>();
        item->info.cbSize = sizeof item->info;
        item->info.fMask = kItemInfoMask;
        item->info.dwTypeData = item->text;
        item->info.cch = sizeof item->text;
        if (!GetMenuItemInfoA(menu, pos, TRUE, &item->info))
            continue;
        item->info.dwTypeData = item->text;  // the copy points at its own text
        const bool separator = (item->info.fType & MFT_SEPARATOR) != 0;

        TBBUTTON button{};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = static_cast<int>(item->info.wID);
        button.fsState = TBSTATE_ENABLED | TBSTATE_WRAP;
        button.fsStyle = separator ? BTNS_SEP : BTNS_BUTTON;
        button.dwData = reinterpret_cast<DWORD_PTR>(item.get());
        button.iString = (!separator && item->text[0]) ? reinterpret_cast<INT_PTR>(item->text) : -1;
        // A separator's iBitmap is its width: the toolbar's default. Wrapped
        // into a column, a separator ends the row of the item above it and
        // leaves a small gap below that row; its line is drawn there.
        if (separator)
            button.iBitmap = 0;
        if (SendMessageA(m_hWnd, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button)))
            m_items.push_back(std::move(item));
    }
    if (m_items.empty())
        return 0;

    // Every item as wide as the widest plus the check-mark width, the room
    // an item bitmap takes.
    const auto buttonSize = static_cast<DWORD>(SendMessageA(m_hWnd, TB_GETBUTTONSIZE, 0, 0));
    m_itemWidth = LOWORD(buttonSize) + checkWidth;
    SendMessageA(m_hWnd, TB_SETBUTTONWIDTH, 0, MAKELPARAM(m_itemWidth, m_itemWidth));
    return m_itemWidth;
}

int CBmpMenuBar::ItemsHeight()
{
    if (m_items.empty())
        return 0;
    // The toolbar wraps its rows by its own width: it takes its final width
    // before the rows are measured.
    SetWindowPos(m_hWnd, nullptr, 0, 0, m_itemWidth + 6, 1, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    SendMessageA(m_hWnd, TB_AUTOSIZE, 0, 0);
    RECT first{}, last{};
    SendMessageA(m_hWnd, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageA(m_hWnd, TB_GETITEMRECT, m_items.size() - 1, reinterpret_cast<LPARAM>(&last));
    return last.bottom - first.top;
}

const CBmpMenuBar::Item* CBmpMenuBar::ItemOf(int index) const
{
    TBBUTTON button{};
    if (!SendMessageA(m_hWnd, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)))
        return nullptr;
    return reinterpret_cast<const Item*>(button.dwData);
}

int CBmpMenuBar::ItemAt(POINT pt) const
{
    const auto index = static_cast<int>(SendMessageA(m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return -1;
    const Item* item = ItemOf(index);
    RECT rc{};
    SendMessageA(m_hWnd, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
    if (!item || (item->info.fType & MFT_SEPARATOR) || !PtInRect(&rc, pt))
        return -1;
    return index;
}

LRESULT CBmpMenuBar::OnCustomDraw(NMTBCUSTOMDRAW& draw)
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_POSTPAINT:
        DrawSeparators(draw.nmcd.hdc);
        return CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT: {
        const auto* item = reinterpret_cast<const Item*>(draw.nmcd.lItemlParam);
        if (!item) {
            const auto index = static_cast<int>(SendMessageA(m_hWnd, TB_COMMANDTOINDEX, draw.nmcd.dwItemSpec, 0));
            item = ItemOf(index);
        }
        if (!item)
            return CDRF_DODEFAULT;
        DrawItem(draw, *item);
        return CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void CBmpMenuBar::DrawItem(const NMTBCUSTOMDRAW& draw, const Item& item)
{
    HDC dc = draw.nmcd.hdc;
    RECT rc = draw.nmcd.rc;
    if (item.info.fType & MFT_SEPARATOR)
        return;  // drawn with the others after the items
    const bool hot = (draw.nmcd.uItemState & CDIS_HOT) != 0;
    if (hot) {
        const int id = static_cast<int>(item.info.wID);
        if (id != m_lastHotId)
            SendMessageA(m_menu.Owner(), WM_MENUSELECT, MAKEWPARAM(item.info.wID, item.info.fState),
                         reinterpret_cast<LPARAM>(m_menu.GetMenu()));
        m_lastHotId = id;
    }
    const COLORREF text = GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);

    rc.left += 1;
    FillRect(dc, &rc, GetSysColorBrush(hot ? COLOR_HIGHLIGHT : COLOR_MENU));
    // The default item (what a left click on the tray icon runs) in bold, as
    // the platform's menus show it.
    HFONT font = (item.info.fState & MFS_DEFAULT) && m_boldFont ? m_boldFont.Get() : m_font.Get();
    ScopedSelect selectFont(dc, font);

    const int side = rc.bottom - rc.top;
    if (item.info.hbmpUnchecked) {
        const RECT square{rc.left, rc.top, rc.left + side, rc.bottom};
        DrawItemBitmap(dc, item.info.hbmpUnchecked, square, hot);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    rc.left += side + 2;
    DrawTextA(dc, item.text, -1, &rc, DT_SINGLELINE | DT_VCENTER);
}

void CBmpMenuBar::DrawSeparators(HDC dc) const
{
    // A separator is drawn as a line across the space between the item above
    // it and the item below it, wherever the toolbar put its own rectangle.
    const int count = static_cast<int>(m_items.size());
    auto itemRect = [this](int index) {
        RECT rc{};
        SendMessageA(m_hWnd, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
        return rc;
    };
    for (int i = 1; i + 1 < count; ++i) {
        if (!(m_items[i]->info.fType & MFT_SEPARATOR) || (m_items[i + 1]->info.fType & MFT_SEPARATOR))
            continue;
        int above = i - 1;
        while (above > 0 && (m_items[above]->info.fType & MFT_SEPARATOR))
            --above;
        const RECT upper = itemRect(above), lower = itemRect(i + 1);
        RECT gap{upper.left + 1, upper.bottom, upper.left + m_itemWidth, lower.top};
        if (gap.bottom <= gap.top)
            continue;
        FillRect(dc, &gap, GetSysColorBrush(COLOR_MENU));
        const int middle = (gap.top + gap.bottom) / 2;
        RECT line{gap.left + 1, middle - 1, gap.right - 1, middle + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    }
}

void CBmpMenuBar::DrawItemBitmap(HDC dc, HBITMAP bitmap, const RECT& square, bool hot) const
{
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) != sizeof info)
        return;
    const COLORREF lightGrey = GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_MENU);
    UniqueMemDC source(CreateCompatibleDC(dc));
    UniqueMemDC copyDc(CreateCompatibleDC(dc));
    UniqueBitmap copy(CreateBitmap(info.bmWidth, info.bmHeight, info.bmPlanes, info.bmBitsPixel, nullptr));
    if (!source || !copyDc || !copy)
        return;
    ScopedSelect selectCopy(copyDc, copy);
    {
        ScopedSelect selectSource(source, bitmap);
        BitBlt(copyDc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    }
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) {
            const COLORREF pixel = GetPixel(copyDc, x, y);
            const COLORREF mapped = ItemBitmapColour(pixel, lightGrey);
            if (mapped != pixel)
                SetPixel(copyDc, x, y, mapped);
        }
    }
    const Span across = CentreIn(square.right - square.left, info.bmWidth);
    const Span down = CentreIn(square.bottom - square.top, info.bmHeight);
    // A one-bit picture takes the background colour for its set pixels.
    SetBkColor(dc, lightGrey);
    BitBlt(dc, square.left + across.dest, square.top + down.dest, across.length, down.length, copyDc,
           across.source, down.source, SRCCOPY);
}

void CBmpMenuBar::OnMouseMove(LPARAM lParam)
{
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int index = ItemAt(pt);
    if (index == m_lastHover)
        return;
    m_lastHover = index;
    // Resting on the new item makes it clickable again (see OnLButtonDown).
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_HOVER;
    track.hwndTrack = m_hWnd;
    track.dwHoverTime = 0;
    TrackMouseEvent(&track);
}

void CBmpMenuBar::OnLButtonDown(WPARAM keys, LPARAM lParam)
{
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int index = ItemAt(pt);
    // A second press on the item just clicked (a double click) chooses
    // nothing more.
    if (index < 0 || index == m_lastClicked)
        return;
    m_lastClicked = index;
    PostMessageA(m_hWnd, WM_BMPMENU_CLICK, keys, lParam);
}

void CBmpMenuBar::OnClick(LPARAM lParam)
{
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int index = ItemAt(pt);
    if (const Item* item = index >= 0 ? ItemOf(index) : nullptr)
        m_menu.ChooseCommand(item->info.wID);
}

void CBmpMenuBar::ClickButton(int index, WPARAM keys)
{
    RECT rc{};
    if (!SendMessageA(m_hWnd, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc)))
        return;
    const LPARAM at = MAKELPARAM(rc.left + 1, rc.top + 1);
    SendMessageA(m_hWnd, WM_LBUTTONDOWN, keys, at);
    SendMessageA(m_hWnd, WM_LBUTTONUP, keys, at);
}

bool CBmpMenuBar::OnKeyDown(WPARAM key)
{
    if (key == VK_RETURN) {
        // The highlighted item: the toolbar knows it before it is drawn (an
        // arrow key and Return typed quickly), the last one drawn is the
        // fallback.
        auto index = static_cast<int>(SendMessageA(m_hWnd, TB_GETHOTITEM, 0, 0));
        if (index < 0 && m_lastHotId >= 0)
            index = static_cast<int>(SendMessageA(m_hWnd, TB_COMMANDTOINDEX, m_lastHotId, 0));
        if (index >= 0)
            ClickButton(index, kReturnClickKeys);
        return true;
    }
    if (key == VK_ESCAPE) {
        m_menu.Close();
        return true;
    }
    // Keys that type a character look for a mnemonic; the others (arrows,
    // Home, End) are the toolbar's.
    const auto character = static_cast<char>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) & 0xFF);
    if (static_cast<unsigned char>(character) < 0x20)
        return false;

    std::vector<std::string_view> texts;
    for (const auto& item : m_items)
        texts.emplace_back(item->text);
    const int index = FindMnemonicItem(texts, character);
    if (index >= 0) {
        SendMessageA(m_hWnd, TB_SETHOTITEM, index, 0);
        ClickButton(index, MK_LBUTTON);
        return true;
    }
    HWND owner = m_menu.Owner();
    const LRESULT answer = SendMessageA(owner, WM_MENUCHAR, MAKEWPARAM(static_cast<unsigned char>(character), MF_POPUP),
                                        reinterpret_cast<LPARAM>(m_menu.GetMenu()));
    if (HIWORD(answer) == MNC_CLOSE) {
        m_menu.Close();
    } else if (HIWORD(answer) == MNC_EXECUTE) {
        // The owner chose the command: it runs as a clicked one does.
        m_menu.ChooseCommand(LOWORD(answer));
    }
    return true;
}

LRESULT CBmpMenuBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        break;  // the toolbar's hot tracking highlights the item
    case WM_MOUSEHOVER:
        m_lastClicked = -1;
        return 0;
    case WM_MOUSELEAVE:
        // As in a menu, the last item stays highlighted when the mouse
        // leaves, and Return still chooses it.
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnLButtonDown(wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        // The toolbar never sees the press, so it must not see the release.
        return 0;
    case WM_BMPMENU_CLICK:
        OnClick(lParam);
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam))
            return 0;
        break;
    case WM_CHAR:
        // Characters were handled with their key.
        if (wParam >= 0x20)
            return 0;
        break;
    default:
        break;
    }
    return CallOriginal(msg, wParam, lParam);
}
