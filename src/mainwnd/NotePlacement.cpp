#include "mainwnd/NotePlacement.h"

#include <algorithm>

NoteRect NoteRectAround(int width, int height, int x, int y, const NoteRect& workArea)
{
    // Right and bottom first, then left and top: when the note does not fit,
    // its caption corner stays on the screen where the user can reach it.
    int left = std::min(x - width / 2, workArea.right - width);
    int top = std::min(y - height / 2, workArea.bottom - height);
    left = std::max(left, workArea.left);
    top = std::max(top, workArea.top);
    return NoteRect{left, top, left + width, top + height};
}
