#pragma once
// The picture cells of the note list (Vis and Schd), drawn as the list view
// draws an unselected one: the cell's part of the picture over the window
// colour. The strip is laid over that colour once, so a cell costs one copy
// rather than a masked draw (under Wine a masked draw makes and frees a
// bitmap of its own each time, the most of a row's painting).
#include <windows.h>

#include <commctrl.h>

#include "framework/ScopedHandles.h"

class ListPictureCells {
public:
    ListPictureCells() = default;
    ~ListPictureCells() { Use(nullptr); }
    ListPictureCells(const ListPictureCells&) = delete;
    ListPictureCells& operator=(const ListPictureCells&) = delete;

    // The list's pictures; the cells are drawn from them from now on. The
    // image list stays the caller's.
    void Use(HIMAGELIST images);
    // Picture `image` with its top left corner at `at`, only where it
    // falls inside `cell`; `fill`: the rest of the cell in the window colour.
    void Draw(HDC dc, int image, POINT at, const RECT& cell, bool fill = true);

private:
    // The strip over the window colour, made again when that colour has
    // changed since.
    bool Compose(HDC like);

    HIMAGELIST m_images = nullptr;
    SIZE m_image{};
    int m_count = 0;
    COLORREF m_paper = CLR_INVALID;  // what the strip lies on
    UniqueMemDC m_dc;
    UniqueBitmap m_strip;
    HGDIOBJ m_oldBitmap = nullptr;
};
