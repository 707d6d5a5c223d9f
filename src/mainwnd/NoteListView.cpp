#include "mainwnd/NoteListView.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "app/CNotesApp.h"
#include "framework/WideText.h"
#include "mainwnd/MainWndModel.h"
#include "res/resource.h"
#include "framework/ScaledPicture.h"

namespace {

constexpr COLORREF kFindMarkColor = RGB(255, 214, 92);  // a text marker's yellow
constexpr int kImageWidth = 45;
constexpr int kImageHeight = 15;
constexpr COLORREF kImageMask = RGB(255, 0, 255);
constexpr int kListX = 149, kListY = 32, kListWidth = 358, kListHeight = 213;
constexpr DWORD kListExStyles = LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_CHECKBOXES |
                                LVS_EX_FULLROWSELECT;
static_assert(kListExStyles == 0x27);

// A stored width (96-DPI units) the list can really have: a damaged or
// hand-edited one would otherwise wrap when set and be written back so.
bool IsSoundColumnWidth(int width)
{
    return width > 0 && width <= 4 * kListWidth;
}

}  // namespace

NoteListView::~NoteListView()
{
    if (m_imageList)
        ImageList_Destroy(m_imageList);
}

void NoteListView::Attach(HWND list, const DisplayScale& scale)
{
    m_list = list;
    m_dialogFont = reinterpret_cast<HFONT>(SendMessageA(m_list, WM_GETFONT, 0, 0));
    m_nDialogFontDpi = scale.Dpi();
    LayOut(scale);
    SetupColumns(scale);
}

void NoteListView::SetupColumns(const DisplayScale& scale)
{
    SendMessageA(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, kListExStyles, kListExStyles);
    SendMessageA(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(m_dialogFont), TRUE);
    SetImages(scale);
    for (int i = 0; i < kColumnCount; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = scale.ToPixels(kDefaultColumnWidths[i]);
        column.pszText = const_cast<char*>(kColumnTitles[i]);
        column.iSubItem = i;
        SendMessageA(m_list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    auto& app = CNotesApp::GetApp();
    for (int n = 1; n < HeaderColumnCount(); ++n) {
        const int width = app.GetProfileInt(kWidthSection, ColumnWidthKey(n).c_str(), -1);
        if (IsSoundColumnWidth(width))
            SendMessageA(m_list, LVM_SETCOLUMNWIDTH, n, MAKELPARAM(scale.ToPixels(width) & 0xFFFF, 0));
    }
}

void NoteListView::SaveColumnWidths(const DisplayScale& scale) const
{
    if (!m_list)
        return;
    auto& app = CNotesApp::GetApp();
    for (int n = 1; n < HeaderColumnCount(); ++n) {
        const int width = scale.ToBase(ColumnWidth(n));
        app.WriteProfileInt(kWidthSection, ColumnWidthKey(n).c_str(),
                            IsSoundColumnWidth(width) ? width : kDefaultColumnWidths[n]);
    }
}

std::vector<int> NoteListView::BaseColumnWidths(const DisplayScale& scale) const
{
    std::vector<int> widths;
    for (int n = 0; n < HeaderColumnCount(); ++n)
        widths.push_back(scale.ToBase(ColumnWidth(n)));
    return widths;
}

void NoteListView::Rescale(const DisplayScale& scale, const std::vector<int>& baseWidths)
{
    ScaleFont(scale);
    LayOut(scale);
    SetImages(scale);
    for (int n = 0; n < static_cast<int>(baseWidths.size()); ++n)
        SendMessageA(m_list, LVM_SETCOLUMNWIDTH, n, MAKELPARAM(scale.ToPixels(baseWidths[n]) & 0xFFFF, 0));
}

void NoteListView::ScaleFont(const DisplayScale& scale)
{
    // The dialog's font was made for the scale the window started at.
    LOGFONTA lf{};
    if (m_dialogFont && GetObjectA(m_dialogFont, sizeof lf, &lf)) {
        lf.lfHeight = MulDiv(lf.lfHeight, scale.Dpi(), m_nDialogFontDpi);
        UniqueFont font(CreateFontIndirectA(&lf));
        SendMessageA(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
        m_fontAtScale = std::move(font);
    }
}

// The list's place and its pictures are 96-DPI values in the skin's frame;
// they scale with it.
void NoteListView::LayOut(const DisplayScale& scale)
{
    SetWindowPos(m_list, nullptr, scale.ToPixels(kListX), scale.ToPixels(kListY), scale.ToPixels(kListWidth),
                 scale.ToPixels(kListHeight), SWP_NOZORDER);
}

void NoteListView::SetImages(const DisplayScale& scale)
{
    // A 24-bit list: loading the 16-colour strip directly loses its greys
    // and whites to the mask on some systems.
    const SIZE image{scale.ToPixels(kImageWidth), scale.ToPixels(kImageHeight)};
    HIMAGELIST images = ImageList_Create(image.cx, image.cy, ILC_COLOR24 | ILC_MASK, 5, 2);
    UniqueBitmap strip(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_LISTICONS),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (strip && !scale.IsBase()) {
        BITMAP info{};
        GetObjectA(strip, sizeof info, &info);
        strip.Reset(ScaleKeyedPicture(strip, ScaledPictureSize(SIZE{info.bmWidth, info.bmHeight}, scale), kImageMask,
                                      GetSysColor(COLOR_WINDOW)));
    }
    if (images && strip)
        ImageList_AddMasked(images, strip, kImageMask);
    SendMessageA(m_list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    SendMessageA(m_list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    if (m_imageList)
        ImageList_Destroy(m_imageList);
    m_imageList = images;
}

int NoteListView::HeaderColumnCount() const
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(m_list, LVM_GETHEADER, 0, 0));
    return static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

std::string NoteListView::ColumnWidthKey(int column)
{
    char key[32];
    std::snprintf(key, sizeof key, "Col%dWidth", column);
    return key;
}

int NoteListView::ColumnWidth(int column) const
{
    return static_cast<int>(SendMessageA(m_list, LVM_GETCOLUMNWIDTH, column, 0));
}

void NoteListView::Fill()
{
    // One repaint for the whole list instead of one per row: with thousands
    // of notes the redraws, not the rows, would make up the start-up.
    SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(std::max<int>(m_notes.m_nCount, 0)), 0);
    size_t index = 0;
    for (NotePos pos = m_notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos), ++index)
        if (ShowsNote(m_notes.GetAt(pos), index))
            PutRow(m_notes.GetAt(pos), pos, -1);
    SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
    ScrollOnlyWithRows();
    InvalidateRect(m_list, nullptr, TRUE);
}

int NoteListView::InsertRow(NotePos pos, int row)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM | LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>("");
    item.lParam = reinterpret_cast<LPARAM>(pos);
    return static_cast<int>(SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void NoteListView::PutRow(CNote* note, NotePos pos, int row)
{
    if (row < 0) {
        row = InsertRow(pos, RowCount());
        if (row < 0)
            return;
        if (row == 0)
            ScrollOnlyWithRows();  // the first row: scrolling again
    }
    ListView_SetCheckState(m_list, row, note->m_bOnTop != 0);

    LVITEMA cell{};
    cell.mask = LVIF_IMAGE;
    cell.iItem = row;
    cell.iSubItem = kVisColumn;
    cell.iImage = VisImageOf(*note);
    SendMessageA(m_list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&cell));
    cell.iSubItem = kSchdColumn;
    cell.iImage = SchdImageOf(*note);
    SendMessageA(m_list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&cell));

    // Wide, so the row shows every character of the note.
    std::u16string text = RowTextOf(note->m_strText);
    LVITEMW textCell{};
    textCell.mask = LVIF_TEXT;
    textCell.iItem = row;
    textCell.iSubItem = kTextColumn;
    textCell.pszText = WideChars(text);
    SendMessageW(m_list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&textCell));
    // A refresh leaves the selection as the user made it: rows selected by
    // typing into a note or by Hide all would be deleted by the next
    // "Delete note" without the user ever having picked them.
}

void NoteListView::Refilter()
{
    // Only the rows that change are touched: with thousands of notes, a
    // typed character that hides a few rows costs a few row deletions, not
    // a new list.
    std::vector<NotePos> wanted;
    size_t index = 0;
    for (NotePos pos = m_notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos), ++index)
        if (ShowsNote(m_notes.GetAt(pos), index))
            wanted.push_back(pos);
    const std::unordered_set<NotePos> wantedSet(wanted.begin(), wanted.end());
    SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
    if (wanted.empty())
        SendMessageA(m_list, LVM_DELETEALLITEMS, 0, 0);  // at once, not row by row
    // From the last row up: a row deleted there moves few rows behind it.
    std::vector<NotePos> kept;
    for (int row = RowCount() - 1; row >= 0; --row) {
        const NotePos pos = PosOfRow(row);
        if (wantedSet.count(pos))
            kept.push_back(pos);
        else
            DeleteRow(row);
    }
    std::reverse(kept.begin(), kept.end());
    // Rows are in list order: the new ones go between those that stayed.
    size_t next = 0;
    for (int row = 0; row < static_cast<int>(wanted.size()); ++row) {
        const NotePos pos = wanted[row];
        if (next < kept.size() && kept[next] == pos) {
            ++next;
            continue;
        }
        if (InsertRow(pos, row) >= 0)
            PutRow(m_notes.GetAt(pos), pos, row);
    }
    SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
    ScrollOnlyWithRows();
    InvalidateRect(m_list, nullptr, TRUE);
}

void NoteListView::DeleteRow(int row)
{
    SendMessageA(m_list, LVM_DELETEITEM, row, 0);
    if (RowCount() == 0)
        ScrollOnlyWithRows();
}

void NoteListView::ScrollOnlyWithRows()
{
    // The columns together are wider than the list: without rows there is
    // nothing to scroll to, yet the header alone would bring a horizontal
    // scroll bar.
    const LONG_PTR style = GetWindowLongPtrA(m_list, GWL_STYLE);
    const bool empty = RowCount() == 0;
    const LONG_PTR wanted = empty ? style | LVS_NOSCROLL : style & ~static_cast<LONG_PTR>(LVS_NOSCROLL);
    if (wanted == style)
        return;
    SetWindowLongPtrA(m_list, GWL_STYLE, wanted);
    if (empty) {
        ShowScrollBar(m_list, SB_BOTH, FALSE);
        return;
    }
    // The list measures its scrolling again only when a column changes.
    const int width = ColumnWidth(kTextColumn);
    SendMessageA(m_list, LVM_SETCOLUMNWIDTH, kTextColumn, MAKELPARAM((width + 1) & 0xFFFF, 0));
    SendMessageA(m_list, LVM_SETCOLUMNWIDTH, kTextColumn, MAKELPARAM(width & 0xFFFF, 0));
}

std::vector<NotePos> NoteListView::DeleteSelectedRows(int& highestRow)
{
    highestRow = 0;
    std::vector<NotePos> notes;
    int selected = SelectedCount();
    for (int row = RowCount() - 1; row >= 0 && selected > 0; --row) {
        if (!IsSelected(row))
            continue;
        const CNote* note = NoteOfRow(row);
        DeleteRow(row);
        --selected;
        if (highestRow == 0)
            highestRow = row;
        if (note)
            notes.push_back(note->m_pos);
    }
    return notes;
}

void NoteListView::RedrawRow(int row)
{
    SendMessageA(m_list, LVM_REDRAWITEMS, row, row);
}

NotePos NoteListView::PosOfRow(int row) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(m_list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<NotePos>(item.lParam);
}

CNote* NoteListView::NoteOfRow(int row) const
{
    const NotePos pos = PosOfRow(row);
    return pos ? m_notes.GetAt(pos) : nullptr;
}

int NoteListView::RowOfNote(NotePos pos) const
{
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(pos);
    return static_cast<int>(
        SendMessageA(m_list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

int NoteListView::RowCount() const
{
    return static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0));
}

int NoteListView::SelectedCount() const
{
    return static_cast<int>(SendMessageA(m_list, LVM_GETSELECTEDCOUNT, 0, 0));
}

bool NoteListView::IsSelected(int row) const
{
    return (ListView_GetItemState(m_list, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

bool NoteListView::IsTicked(int row) const
{
    return ListView_GetCheckState(m_list, row) != 0;
}

CNote* NoteListView::NoteOfChangedRow(const NMLISTVIEW& change) const
{
    if (change.iItem < 0 || change.iSubItem != 0 || change.uOldState == 0)
        return nullptr;
    return NoteOfRow(change.iItem);
}

int NoteListView::GetSingleSelection() const
{
    if (SelectedCount() != 1)
        return -1;
    return static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int NoteListView::ChosenRow() const
{
    const int row = static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return row >= 0 && IsSelected(row) ? row : GetSingleSelection();
}

std::set<NotePos> NoteListView::NotesOfSelectedRows() const
{
    std::set<NotePos> notes;
    for (int row = -1;
         (row = static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;) {
        if (const CNote* note = NoteOfRow(row))
            notes.insert(note->m_pos);
    }
    return notes;
}

void NoteListView::SelectRow(int row, bool lead)
{
    const UINT state = lead ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
    ListView_SetItemState(m_list, row, state, state);
    if (lead)
        ListView_EnsureVisible(m_list, row, FALSE);
}

void NoteListView::SelectOnly(int row)
{
    ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(m_list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void NoteListView::FocusSomeRow()
{
    if (RowCount() == 0 || SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0)
        return;
    // Only the focus: a selection the user did not make would be what the
    // next Delete takes.
    ListView_SetItemState(m_list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
}

void NoteListView::ToggleFocusedRowSelection()
{
    const int row = static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (row >= 0)
        ListView_SetItemState(m_list, row, IsSelected(row) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
}

int NoteListView::VisBoxRowAtCursor() const
{
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(m_list, &pt);
    LVHITTESTINFO hit{};
    hit.pt = pt;
    SendMessageA(m_list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    // The blank image of column 0 reaches into the Vis column: a hit on it
    // beyond column 1's width is a click on the Vis box.
    if (hit.flags != LVHT_ONITEMICON || pt.x <= ColumnWidth(kVisColumn) || hit.iItem < 0)
        return -1;
    return hit.iItem;
}

COLORREF NoteListView::UnfocusedSelectionColor()
{
    // Two fifths of the selection colour over the window's: clearly marked,
    // and still plainly apart from the focused selection.
    const COLORREF mark = GetSysColor(COLOR_HIGHLIGHT), paper = GetSysColor(COLOR_WINDOW);
    const auto mix = [](int a, int b) { return static_cast<BYTE>((2 * a + 3 * b) / 5); };
    return RGB(mix(GetRValue(mark), GetRValue(paper)), mix(GetGValue(mark), GetGValue(paper)),
               mix(GetBValue(mark), GetBValue(paper)));
}

LRESULT NoteListView::OnCustomDraw(NMLVCUSTOMDRAW& draw)
{
    const DWORD stage = draw.nmcd.dwDrawStage;
    const int item = (stage & CDDS_ITEM) ? static_cast<int>(draw.nmcd.dwItemSpec) : -1;
    if (stage == (CDDS_SUBITEM | CDDS_ITEMPOSTPAINT)) {
        RedrawRowImage(draw.nmcd.hdc, item, draw.iSubItem);
        return CDRF_DODEFAULT;
    }
    if (stage == (CDDS_SUBITEM | CDDS_ITEMPREPAINT) && draw.iSubItem == kTextColumn && item >= 0) {
        DrawTextCell(draw.nmcd.hdc, item);
        return CDRF_SKIPDEFAULT;
    }
    if (stage == CDDS_POSTPAINT) {
        DrawEmptyListText(draw.nmcd.hdc);
        return CDRF_DODEFAULT;
    }
    if ((stage & (CDDS_ITEM | CDDS_PREPAINT)) == 0 || item < 0)
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    // Rows show in the window colours whatever the notes' own colours are.
    draw.clrTextBk = GetSysColor(COLOR_WINDOW);
    draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
    SelectObject(draw.nmcd.hdc, Font());
    const bool imageCell =
        (stage & CDDS_SUBITEM) && (draw.iSubItem == kVisColumn || draw.iSubItem == kSchdColumn);
    return CDRF_NEWFONT | CDRF_NOTIFYSUBITEMDRAW | (imageCell ? CDRF_NOTIFYPOSTPAINT : 0);
}

void NoteListView::DrawEmptyListText(HDC dc)
{
    // An empty find result says why it is empty rather than show nothing.
    const std::u16string text = m_filter && RowCount() == 0 ? m_filter->EmptyListText() : std::u16string();
    if (text.empty())
        return;
    RECT area{}, header{};
    GetClientRect(m_list, &area);
    GetWindowRect(reinterpret_cast<HWND>(SendMessageA(m_list, LVM_GETHEADER, 0, 0)), &header);
    area.top += header.bottom - header.top;
    ScopedSelect font(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, WideChars(text), -1, &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void NoteListView::DrawTextCell(HDC dc, int row)
{
    // The Text cell starts with a swatch of the note's paper, so that "the
    // green note" can be found in the list; the text follows it.
    const CNote* note = NoteOfRow(row);
    RECT cell{};
    if (!note || !ListView_GetSubItemRect(m_list, row, kTextColumn, LVIR_BOUNDS, &cell))
        return;
    const bool selected = IsSelected(row);
    const bool focused = GetFocus() == m_list;
    const bool highlighted = selected && focused;
    const int ink = highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT;
    if (selected && !focused) {
        UniqueBrush tint(CreateSolidBrush(UnfocusedSelectionColor()));
        FillRect(dc, &cell, tint.Get());
    } else {
        FillRect(dc, &cell, GetSysColorBrush(highlighted ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    }

    const int side = std::max<int>(4, cell.bottom - cell.top - 6);
    RECT swatch{cell.left + 4, cell.top + 3, cell.left + 4 + side, cell.top + 3 + side};
    UniqueBrush paper(CreateSolidBrush(note->m_crBack));
    FillRect(dc, &swatch, paper.Get());
    FrameRect(dc, &swatch, GetSysColorBrush(COLOR_GRAYTEXT));

    RECT label{swatch.right + 4, cell.top, cell.right - 2, cell.bottom};
    ScopedSelect font(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(ink));
    std::u16string text = RowTextOf(note->m_strText);
    const TextMatch match = m_filter ? m_filter->MarkIn(*note) : TextMatch{};
    if (!match.Found())
        DrawTextW(dc, WideChars(text), -1, &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    else
        DrawMarkedText(dc, label, text, match, ink);
}

void NoteListView::DrawMarkedText(HDC dc, const RECT& label, const std::u16string& text, const TextMatch& match,
                                  int ink)
{
    // While finding, the match is marked and kept in sight, so the user sees
    // why the note was found.
    const TextWidth width = [dc](std::u16string_view part) {
        SIZE size{};
        GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(part.data()), static_cast<int>(part.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::u16string shown = TextAroundMatch(text, match, label.right - label.left, width);
    const size_t start = shown.size() - (text.size() - match.at);
    const std::u16string parts[3] = {shown.substr(0, start), shown.substr(start, match.length),
                                     shown.substr(std::min(start + match.length, shown.size()))};
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, label.left, label.top, label.right, label.bottom);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_UPDATECP);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    MoveToEx(dc, label.left, (label.top + label.bottom - metrics.tmHeight) / 2, nullptr);
    for (int i = 0; i < 3; ++i) {
        if (i == 1) {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, kFindMarkColor);
            SetTextColor(dc, RGB(0, 0, 0));
        } else if (i == 2) {
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(ink));
        }
        ExtTextOutW(dc, 0, 0, 0, nullptr, WideChars(parts[i]), static_cast<UINT>(parts[i].size()), nullptr);
    }
    RestoreDC(dc, saved);
}

void NoteListView::RedrawRowImage(HDC dc, int row, int column)
{
    // The list view blends the images of selected rows with the selection
    // colour, which leaves the Vis and Schd boxes unreadable (a chequered
    // square under Wine): they are drawn over again as they are. The Text
    // cell still shows the selection.
    if (row < 0 || !IsSelected(row))
        return;
    LVITEMA cell{};
    cell.mask = LVIF_IMAGE;
    cell.iItem = row;
    cell.iSubItem = column;
    RECT icon{}, bounds{};
    if (!SendMessageA(m_list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&cell)) ||
        !ListView_GetSubItemRect(m_list, row, column, LVIR_ICON, &icon) ||
        !ListView_GetSubItemRect(m_list, row, column, LVIR_BOUNDS, &bounds))
        return;
    int width = 0, height = 0;
    ImageList_GetIconSize(m_imageList, &width, &height);
    RECT image{icon.left, icon.top, icon.left + width, icon.top + height};
    // The images are wider than their columns: only the cell is drawn on.
    if (!IntersectRect(&image, &image, &bounds))
        return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, image.left, image.top, image.right, image.bottom);
    FillRect(dc, &image, GetSysColorBrush(COLOR_WINDOW));
    ImageList_Draw(m_imageList, cell.iImage, dc, icon.left, icon.top, ILD_NORMAL);
    RestoreDC(dc, saved);
}
