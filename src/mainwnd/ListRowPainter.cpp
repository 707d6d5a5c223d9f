#include "mainwnd/ListRowPainter.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ScopedHandles.h"

bool ListRowPainter::LayOut(HWND list, Layout& layout)
{
    if ((GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK) != LVS_REPORT)
        return false;
    layout.rowCount = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    layout.columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    // An empty list has no row to measure the others by.
    if (layout.rowCount <= 0 || layout.columns <= 0 || layout.columns > kMaxColumns)
        return false;
    layout.topRow = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    RECT top{};
    top.left = LVIR_BOUNDS;
    if (!SendMessageW(list, LVM_GETITEMRECT, layout.topRow, reinterpret_cast<LPARAM>(&top)))
        return false;
    layout.firstRowTop = top.top;
    layout.rowHeight = top.bottom - top.top;
    RECT headerBox{};
    GetWindowRect(header, &headerBox);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&headerBox), 2);
    layout.rowsTop = IsWindowVisible(header) ? headerBox.bottom : 0;
    // A column's place in the header, wherever the user dragged it, and
    // the row's start: scrolled sideways, both move together.
    layout.right = top.left;
    for (int column = 0; column < layout.columns; ++column) {
        RECT item{};
        if (!SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&item)))
            return false;
        layout.spans[column] = RECT{top.left + item.left, 0, top.left + item.right, 0};
        layout.right = std::max<int>(layout.right, layout.spans[column].right);
    }
    return layout.rowHeight > 0;
}

bool ListRowPainter::Paint(HWND list, HDC dc, int focusedRow, const DrawRow& drawRow)
{
    Layout layout;
    if (!LayOut(list, layout))
        return false;
    RECT client{}, clip{};
    GetClientRect(list, &client);
    if (GetClipBox(dc, &clip) == NULLREGION)
        return true;
    const int lastRow = layout.rowCount - 1;
    const auto topOf = [&](int row) { return layout.firstRowTop + (row - layout.topRow) * layout.rowHeight; };
    const int clipTop = clip.top, clipBottom = clip.bottom;
    const int first = std::max(layout.topRow, layout.topRow + (clipTop - layout.firstRowTop) / layout.rowHeight);
    const int last = std::min(lastRow, layout.topRow + (clipBottom - 1 - layout.firstRowTop) / layout.rowHeight);
    RECT cells[kMaxColumns];
    for (int row = first; row <= last; ++row) {
        for (int column = 0; column < layout.columns; ++column)
            cells[column] = RECT{layout.spans[column].left, topOf(row), layout.spans[column].right,
                                 topOf(row) + layout.rowHeight};
        drawRow(dc, row, cells, layout.columns);
    }
    // Beyond the rows the window colour, as the control erases it: above
    // the first row, right of the last column, below the last row.
    const int rowsBottom = std::min<int>(client.bottom, topOf(lastRow + 1));
    const RECT paper[3] = {{client.left, layout.rowsTop, client.right, layout.firstRowTop},
                           {layout.right, layout.firstRowTop, client.right, rowsBottom},
                           {client.left, rowsBottom, client.right, client.bottom}};
    for (const RECT& part : paper)
        if (part.left < part.right && part.top < part.bottom)
            FillRect(dc, &part, GetSysColorBrush(COLOR_WINDOW));
    if (focusedRow >= first && focusedRow <= last) {
        // The frame runs from the row's label (after its pictures) to the
        // row's end.
        RECT frame{};
        frame.left = LVIR_LABEL;
        if (SendMessageW(list, LVM_GETITEMRECT, focusedRow, reinterpret_cast<LPARAM>(&frame))) {
            frame = RECT{frame.left, topOf(focusedRow), layout.right, topOf(focusedRow) + layout.rowHeight};
            DrawFocusRect(dc, &frame);
        }
    }
    if (SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES)
        DrawGrid(dc, layout, client);
    return true;
}

void ListRowPainter::DrawGrid(HDC dc, const Layout& layout, const RECT& client)
{
    // Over the frame, as the control draws it last: a line at each
    // column's end from the first row's line down, and one above each row, as far
    // down and across as the window goes.
    UniquePen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE)));
    ScopedSelect selectPen(dc, pen.Get());
    for (int column = 0; column < layout.columns; ++column) {
        MoveToEx(dc, layout.spans[column].right, layout.firstRowTop - 1, nullptr);
        LineTo(dc, layout.spans[column].right, client.bottom);
    }
    for (int y = layout.firstRowTop - 1; y < client.bottom; y += layout.rowHeight) {
        MoveToEx(dc, client.left, y, nullptr);
        LineTo(dc, client.right, y);
    }
}
