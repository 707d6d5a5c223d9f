#include "mainwnd/NoteListView.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "app/CNotesApp.h"
#include "framework/CWindowBase.h"
#include "framework/WideText.h"
#include "mainwnd/ListRowPainter.h"
#include "mainwnd/MainWndModel.h"
#include "mainwnd/NoteTextCell.h"
#include "res/resource.h"
#include "framework/ScaledPicture.h"

namespace {

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
    m_pictureCells.Use(nullptr);
    m_hook.Release();
    if (m_imageList)
        ImageList_Destroy(m_imageList);
}

void NoteListView::Attach(HWND list, const DisplayScale& scale)
{
    m_list = list;
    m_dialogFont = reinterpret_cast<HFONT>(SendMessageA(m_list, WM_GETFONT, 0, 0));
    m_nDialogFontDpi = scale.Dpi();
    m_hook.Hook(m_list, *this);
    // The Top boxes are the notes' own: the control asks for them.
    SendMessageA(m_list, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
    // The control asks its questions in the parent's character set: wide,
    // or a row would lose every character outside the code page.
    SendMessageA(m_list, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(GetParent(m_list)), NF_REQUERY);
    LayOut(scale);
    SetupColumns(scale);
}

void NoteListView::SetupColumns(const DisplayScale& scale)
{
    SendMessageA(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, kListExStyles, kListExStyles);
    SendMessageA(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(m_dialogFont), TRUE);
    SetImages(scale);
    // Each column is made at the width the user left it (the first keeps
    // its own): set afterwards, every width made the list lay itself out
    // again.
    auto& app = CNotesApp::GetApp();
    for (int i = 0; i < kColumnCount; ++i) {
        const int saved = i > 0 ? app.GetProfileInt(kWidthSection, ColumnWidthKey(i).c_str(), -1) : -1;
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = scale.ToPixels(IsSoundColumnWidth(saved) ? saved : kDefaultColumnWidths[i]);
        column.pszText = const_cast<char*>(kColumnTitles[i]);
        column.iSubItem = i;
        SendMessageA(m_list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
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
    m_pictureCells.Use(images);
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
    ShowRows(ShownNotes(), false);
}

std::vector<NotePos> NoteListView::ShownNotes() const
{
    std::vector<NotePos> shown;
    shown.reserve(static_cast<size_t>(std::max<int>(m_notes.m_nCount, 0)));
    size_t index = 0;
    for (NotePos pos = m_notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos), ++index)
        if (ShowsNote(m_notes.GetAt(pos), index))
            shown.push_back(pos);
    return shown;
}

void NoteListView::ShowRows(std::vector<NotePos> rows, bool keepSelection)
{
    // The control keeps its selection and focus by row: where a row comes to
    // hold another note they are taken off it, and put back on the row
    // their note has afterwards. Rows that keep their note are not touched:
    // each touch costs the control a repaint of the row.
    const auto moves = [&](int row) {
        return row >= static_cast<int>(m_rows.size()) || row >= static_cast<int>(rows.size()) ||
               rows[row] != m_rows[row];
    };
    std::vector<NotePos> selected;
    NotePos focused = nullptr;
    // Drawn again however the change ends: a list left paused would vanish.
    struct DrawnOnceAfter {
        NoteListView& view;
        const Pause pause = view.PauseDrawing();
        ~DrawnOnceAfter() { view.ResumeDrawing(pause); }
    } drawnOnce{*this};
    if (!keepSelection) {
        SendMessageA(m_list, LVM_DELETEALLITEMS, 0, 0);  // selection and focus at once
    } else {
        for (int row : SelectedRows()) {
            if (moves(row)) {
                selected.push_back(PosOfRow(row));
                ListView_SetItemState(m_list, row, 0, LVIS_SELECTED);
            }
        }
        if (const int row = FocusedRow(); row >= 0 && moves(row)) {
            focused = PosOfRow(row);
            ListView_SetItemState(m_list, row, 0, LVIS_FOCUSED);
        }
    }
    // A find that keeps as many rows only needs them painted anew.
    const bool countChanges = !keepSelection || rows.size() != m_rows.size();
    m_rows = std::move(rows);
    m_bRowIndexStale = true;
    if (countChanges)
        SendMessageA(m_list, LVM_SETITEMCOUNT, m_rows.size(), LVSICF_NOSCROLL);
    for (NotePos pos : selected)
        if (const int row = RowOfNote(pos); row >= 0)
            ListView_SetItemState(m_list, row, LVIS_SELECTED, LVIS_SELECTED);
    if (const int row = focused ? RowOfNote(focused) : -1; row >= 0)
        ListView_SetItemState(m_list, row, LVIS_FOCUSED, LVIS_FOCUSED);
    ScrollOnlyWithRows();
}

NoteListView::Pause NoteListView::PauseDrawing()
{
    // Under Wine a count change had the list measure its scrolling again
    // and draw both scroll bars and the rows it touched there and then, each
    // drawing sent to the screen on its own: more than the filter and the
    // painting of the new rows together. A window not visible draws
    // nothing; the list is told nothing (its own WM_SETREDRAW would measure
    // and draw all the same when drawing comes back), and still keeps its
    // scroll bars' ranges, so they are drawn once, with the rows. Nor does
    // a list in a window not yet shown (the first filling): it is drawn
    // whole when the window shows.
    Pause pause;
    if (!IsWindowVisible(m_list))
        return pause;
    // A list still waiting for a painting (just moved, say) is drawn whole.
    pause.rowsOnly = !GetUpdateRect(m_list, nullptr, FALSE);
    pause.before = LookOfFrame();
    DefWindowProcW(m_list, WM_SETREDRAW, FALSE, 0);
    pause.paused = true;
    return pause;
}

void NoteListView::ResumeDrawing(const Pause& pause)
{
    if (pause.paused)
        DefWindowProcW(m_list, WM_SETREDRAW, TRUE, 0);
    // The themed scroll bars and header cost as much to draw as the rows:
    // while a find narrows the list from its top they look the same, and
    // only the rows are drawn. The count change leaves the frame to be
    // painted again all the same, which is dropped.
    if (pause.paused && pause.rowsOnly && pause.before == LookOfFrame()) {
        const RECT rows = RowsArea();
        RedrawWindow(m_list, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOCHILDREN);
        RedrawWindow(m_list, &rows, nullptr, RDW_INVALIDATE | RDW_ERASE);
        return;
    }
    RedrawWindow(m_list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

NoteListView::FrameLook NoteListView::LookOfFrame() const
{
    FrameLook look;
    const LONG bars[2] = {OBJID_VSCROLL, OBJID_HSCROLL};
    for (int i = 0; i < 2; ++i) {
        look.bars[i].cbSize = sizeof look.bars[i];
        GetScrollBarInfo(m_list, bars[i], &look.bars[i]);
    }
    GetClientRect(m_list, &look.client);
    SendMessageA(m_list, LVM_GETORIGIN, 0, reinterpret_cast<LPARAM>(&look.origin));
    return look;
}

bool NoteListView::FrameLook::operator==(const FrameLook& other) const
{
    for (int i = 0; i < 2; ++i) {
        const SCROLLBARINFO &a = bars[i], &b = other.bars[i];
        if (!EqualRect(&a.rcScrollBar, &b.rcScrollBar) || a.dxyLineButton != b.dxyLineButton ||
            a.xyThumbTop != b.xyThumbTop || a.xyThumbBottom != b.xyThumbBottom ||
            !std::equal(std::begin(a.rgstate), std::end(a.rgstate), std::begin(b.rgstate)))
            return false;
    }
    return EqualRect(&client, &other.client) && origin.x == other.origin.x && origin.y == other.origin.y;
}

RECT NoteListView::RowsArea() const
{
    RECT area{}, header{};
    GetClientRect(m_list, &area);
    HWND headerWnd = reinterpret_cast<HWND>(SendMessageA(m_list, LVM_GETHEADER, 0, 0));
    if (headerWnd && GetWindowRect(headerWnd, &header))
        area.top += header.bottom - header.top;
    return area;
}

std::vector<int> NoteListView::SelectedRows() const
{
    std::vector<int> rows;
    if (SelectedCount() == 0)
        return rows;  // spares a walk over every row
    for (int row = -1; (row = static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
        rows.push_back(row);
    return rows;
}

int NoteListView::FocusedRow() const
{
    return static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void NoteListView::PutRow(CNote*, NotePos pos, int row)
{
    // The control asks for what the row shows when it paints it.
    if (row >= 0) {
        RedrawRow(row);
        return;
    }
    m_rows.push_back(pos);
    if (!m_bRowIndexStale)
        m_rowOfNote[pos] = static_cast<int>(m_rows.size()) - 1;
    SendMessageA(m_list, LVM_SETITEMCOUNT, m_rows.size(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    if (m_rows.size() == 1)
        ScrollOnlyWithRows();  // the first row: scrolling again
    RedrawRow(static_cast<int>(m_rows.size()) - 1);
    // A refresh leaves the selection as the user made it: rows selected by
    // typing into a note or by Hide all would be deleted by the next
    // "Delete note" without the user ever having picked them.
}

void NoteListView::Refilter()
{
    ShowRows(ShownNotes(), true);
}

void NoteListView::DeleteRow(int row)
{
    if (row < 0 || row >= RowCount())
        return;
    std::vector<NotePos> rows = m_rows;
    rows.erase(rows.begin() + row);
    ShowRows(std::move(rows), true);
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
    const std::vector<int> selected = SelectedRows();
    std::vector<NotePos> notes;
    std::vector<NotePos> rows;
    rows.reserve(m_rows.size());
    size_t next = 0;
    for (int row = 0; row < static_cast<int>(m_rows.size()); ++row) {
        if (next < selected.size() && selected[next] == row) {
            ++next;
            notes.push_back(m_rows[row]);
            highestRow = row;
        } else {
            rows.push_back(m_rows[row]);
        }
    }
    if (notes.empty())
        return notes;
    std::reverse(notes.begin(), notes.end());  // from the last row up
    ShowRows(std::move(rows), true);
    return notes;
}

void NoteListView::RedrawRow(int row)
{
    SendMessageA(m_list, LVM_REDRAWITEMS, row, row);
}

NotePos NoteListView::PosOfRow(int row) const
{
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[row] : nullptr;
}

CNote* NoteListView::NoteOfRow(int row) const
{
    const NotePos pos = PosOfRow(row);
    return pos ? m_notes.GetAt(pos) : nullptr;
}

int NoteListView::RowOfNote(NotePos pos) const
{
    if (m_bRowIndexStale) {
        m_rowOfNote.clear();
        m_rowOfNote.reserve(m_rows.size());
        for (int row = 0; row < static_cast<int>(m_rows.size()); ++row)
            m_rowOfNote.emplace(m_rows[row], row);
        m_bRowIndexStale = false;
    }
    const auto found = m_rowOfNote.find(pos);
    return found == m_rowOfNote.end() ? -1 : found->second;
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
    const CNote* note = NoteOfRow(row);
    return note && note->m_bOnTop;
}

CNote* NoteListView::NoteOfTickChange(const NMLISTVIEW& change, bool& ticked) const
{
    if (change.iItem < 0 || change.iSubItem != 0 || !(change.uChanged & LVIF_STATE) ||
        !((change.uOldState ^ change.uNewState) & LVIS_STATEIMAGEMASK))
        return nullptr;
    ticked = (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    return NoteOfRow(change.iItem);
}

void NoteListView::TickRow(int row, bool ticked)
{
    if (!NoteOfRow(row) || IsTicked(row) == ticked)
        return;
    NMLISTVIEW change{};
    change.hdr.hwndFrom = m_list;
    change.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(m_list));
    change.hdr.code = LVN_ITEMCHANGED;
    change.iItem = row;
    change.uChanged = LVIF_STATE;
    change.uOldState = INDEXTOSTATEIMAGEMASK(ticked ? 1 : 2);
    change.uNewState = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
    SendMessageA(GetParent(m_list), WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change));
    RedrawRow(row);
}

LRESULT NoteListView::OnHookedMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == LVM_SETITEMSTATE && lParam) {
        LVITEMA rest = *reinterpret_cast<const LVITEMA*>(lParam);
        if (rest.stateMask & LVIS_STATEIMAGEMASK) {
            const bool ticked = (rest.state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
            const int row = static_cast<int>(wParam);
            for (int r = row < 0 ? 0 : row; r < (row < 0 ? RowCount() : row + 1); ++r)
                TickRow(r, ticked);
            rest.stateMask &= ~LVIS_STATEIMAGEMASK;
            if (rest.stateMask == 0)
                return TRUE;
            return m_hook.CallControl(msg, wParam, reinterpret_cast<LPARAM>(&rest));
        }
    } else if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        // A press on the box ticks it, as each press does in a list that
        // keeps its own boxes. With whole rows selectable, a press anywhere
        // else on the row reports all three item parts at once: that is no
        // press on the box.
        LVHITTESTINFO hit{};
        hit.pt = PointFromLParam(lParam);
        SendMessageA(m_list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.iItem >= 0 && (hit.flags & LVHT_ONITEM) == LVHT_ONITEMSTATEICON)
            TickRow(hit.iItem, !IsTicked(hit.iItem));
    } else if (msg == WM_KEYDOWN && wParam == VK_SPACE && !(GetKeyState(VK_CONTROL) & 0x8000)) {
        const int row = FocusedRow();
        if (row >= 0)
            TickRow(row, !IsTicked(row));
    }
    return m_hook.CallControl(msg, wParam, lParam);
}

void NoteListView::OnGetDispInfo(LVITEMW& item) const
{
    const CNote* note = NoteOfRow(item.iItem);
    if (!note)
        return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        // Only the Text cell has words: the others are pictures.
        const std::u16string text =
            item.iSubItem == kTextColumn ? RowTextOf(note->m_strText, kRowTextLength) : std::u16string();
        lstrcpynW(item.pszText, WideChars(text), item.cchTextMax);
    }
    if (item.mask & LVIF_IMAGE)
        item.iImage = item.iSubItem == kVisColumn    ? VisImageOf(*note)
                      : item.iSubItem == kSchdColumn ? SchdImageOf(*note)
                                                     : kImageBlank;
    if ((item.mask & LVIF_STATE) && item.iSubItem == 0) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(note->m_bOnTop ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
    if (item.mask & LVIF_INDENT)
        item.iIndent = 0;
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
    for (int row : SelectedRows())
        if (const NotePos pos = PosOfRow(row))
            notes.insert(pos);
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
    return NoteTextCell::UnfocusedSelectionColor();
}

LRESULT NoteListView::OnCustomDraw(NMLVCUSTOMDRAW& draw)
{
    if (draw.nmcd.dwDrawStage == CDDS_POSTPAINT) {
        DrawEmptyListText(draw.nmcd.hdc);
        return CDRF_DODEFAULT;
    }
    if (draw.nmcd.dwDrawStage != CDDS_PREPAINT)
        return CDRF_DODEFAULT;
    BeginPainting();
    // The rows in one pass: the control would ask for each row and each
    // cell, and draw the rows' first cells and the grid itself, at twice
    // the cost of the drawing. An empty list (nothing to lay rows out by)
    // is the control's to draw, with the reason it is empty over it.
    const auto drawRow = [this](HDC dc, int row, const RECT* cells, int count) { DrawRow(dc, row, cells, count); };
    if (ListRowPainter::Paint(m_list, draw.nmcd.hdc, m_painting.focused ? m_painting.focusedRow : -1, drawRow))
        return CDRF_SKIPDEFAULT;
    return CDRF_NOTIFYPOSTPAINT;
}

void NoteListView::BeginPainting()
{
    m_painting = Painting{};
    m_painting.focused = GetFocus() == m_list;
    m_painting.focusedRow = FocusedRow();
    // The control makes its boxes' pictures anew when its styles change.
    HIMAGELIST boxes = reinterpret_cast<HIMAGELIST>(SendMessageA(m_list, LVM_GETIMAGELIST, LVSIL_STATE, 0));
    if (boxes != m_boxImages) {
        m_boxImages = boxes;
        m_boxCells.Use(boxes);
    }
}

bool NoteListView::PictureAt(int row, int column, const RECT& cell, POINT& at)
{
    // Where a picture sits in its cell is the same in every row.
    const int kind = column == 0 ? 0 : 1;
    if (!m_painting.offsetKnown[kind]) {
        RECT icon{};
        if (!ListView_GetSubItemRect(m_list, row, column, LVIR_ICON, &icon))
            return false;
        m_painting.offsets[kind] = POINT{icon.left - cell.left, icon.top - cell.top};
        m_painting.offsetKnown[kind] = true;
    }
    at = POINT{cell.left + m_painting.offsets[kind].x, cell.top + m_painting.offsets[kind].y};
    return true;
}

void NoteListView::DrawEmptyListText(HDC dc)
{
    // An empty find result says why it is empty rather than show nothing.
    const std::u16string text = m_filter && RowCount() == 0 ? m_filter->EmptyListText() : std::u16string();
    if (text.empty())
        return;
    RECT area = RowsArea();
    ScopedSelect font(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, WideChars(text), -1, &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void NoteListView::DrawTextCell(HDC dc, int row, const RECT& cell)
{
    if (const CNote* note = NoteOfRow(row)) {
        const bool selected = IsSelected(row);
        const NoteTextCell::Look look = !selected                ? NoteTextCell::Look::Plain
                                        : m_painting.focused ? NoteTextCell::Look::Selected
                                                             : NoteTextCell::Look::SelectedUnfocused;
        NoteTextCell::Draw(dc, cell, *note, m_filter ? m_filter->MarkIn(*note) : TextMatch{}, look, Font());
    }
}

void NoteListView::DrawTopCell(HDC dc, int row, const RECT& cell)
{
    const CNote* note = NoteOfRow(row);
    POINT at{};
    if (!note || !m_boxImages || !PictureAt(row, 0, cell, at))
        return;
    int width = 0, height = 0;
    ImageList_GetIconSize(m_boxImages, &width, &height);
    // The box stands just before the cell's picture.
    m_boxCells.Draw(dc, note->m_bOnTop ? 1 : 0, POINT{at.x - width, at.y}, cell);
    m_pictureCells.Draw(dc, kImageBlank, at, cell, false);
}

void NoteListView::DrawRow(HDC dc, int row, const RECT* cells, int count)
{
    // Every cell is drawn here, in the window's colours whatever the notes'
    // own: the list view would blend the pictures of a selected row with the
    // selection colour, which leaves the Vis and Schd boxes unreadable (a
    // chequered square under Wine). Rows show them as they are, and the
    // Text cell shows the selection.
    for (int column = 0; column < count; ++column) {
        const RECT& cell = cells[column];
        if (column == kTextColumn) {
            DrawTextCell(dc, row, cell);
        } else if (column > 0) {
            DrawPictureCell(dc, row, column, cell);
        } else {
            FillRect(dc, &cell, GetSysColorBrush(COLOR_WINDOW));
            DrawTopCell(dc, row, cell);
        }
    }
}

void NoteListView::DrawPictureCell(HDC dc, int row, int column, const RECT& cell)
{
    const CNote* note = NoteOfRow(row);
    POINT at{};
    if (note && PictureAt(row, column, cell, at))
        m_pictureCells.Draw(dc, column == kVisColumn ? VisImageOf(*note) : SchdImageOf(*note), at, cell);
}
