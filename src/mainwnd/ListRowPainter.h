#pragma once
// One painting of a report-view list drawn in one pass: the rows its clip
// box touches, each cell where the control places it (the header's order
// and widths, the row height, the scroll position), and what the control
// draws around the cells (the window colour beyond the rows and columns,
// the grid, the focus frame). The control then draws nothing itself, so it
// asks no row answers and sends no notification per row and per cell for
// the painting.
#include <windows.h>

#include <functional>

class ListRowPainter {
public:
    static constexpr int kMaxColumns = 8;
    // Draws a row's cells; `cells` by column index, `count` of them.
    using DrawRow = std::function<void(HDC dc, int row, const RECT* cells, int count)>;

    // `focusedRow`: the row with the dotted frame (-1: none, or the list has
    // not the focus). False: the list is not laid out as this knows
    // (another view, too many columns), and nothing was drawn.
    static bool Paint(HWND list, HDC dc, int focusedRow, const DrawRow& drawRow);

private:
    struct Layout {
        int columns = 0;
        RECT spans[kMaxColumns]{};  // of each column: left and right, in the list's client area
        int right = 0;              // where the last column ends
        int rowsTop = 0;            // below the header
        int firstRowTop = 0;        // of the top row
        int rowHeight = 0;
        int topRow = 0;
        int rowCount = 0;
    };
    static bool LayOut(HWND list, Layout& layout);
    static void DrawGrid(HDC dc, const Layout& layout, const RECT& client);
};
