#include "notewnd/NoteGeometry.h"

#include <algorithm>

namespace NoteGeometry {

std::array<NotePoint, kOutlinePoints> Outline(int width, int height)
{
    return {{{0, 0},
             {width, 0},
             {width, height - kCornerSize},
             {width - kCornerSize, height},
             {0, height}}};
}

std::array<NotePoint, 3> TurnedCorner(int width, int height)
{
    return {{{width - kCornerSize, height},
             {width - kCornerSize, height - kCornerSize},
             {width, height - kCornerSize}}};
}

NoteRect EditRectAtCreation(int width, int height)
{
    return {kTextMargin, kTextMargin, width - kTextMargin, height - kCornerSize};
}

NoteRect EditRectAfterSize(int width, int height)
{
    return {kTextMargin, kTextMargin, width - kTextMargin, height - kTextMargin};
}

NoteRect EditRectWhileSizing(const NoteRect& proposedClient)
{
    // Width and height are right - 45 and bottom - 45; never below nothing,
    // since the drag may propose a window smaller than the margins.
    const int32_t cx = std::max<int32_t>(0, proposedClient.right - 3 * kTextMargin);
    const int32_t cy = std::max<int32_t>(0, proposedClient.bottom - 3 * kTextMargin);
    return {kTextMargin, kTextMargin, kTextMargin + cx, kTextMargin + cy};
}

NoteRect ShiftAwayFromScreenEdges(NoteRect rc, int screenWidth, int screenHeight)
{
    if (rc.right > screenWidth - kScreenEdgeShift) {
        rc.left -= kScreenEdgeShift;
        rc.right -= kScreenEdgeShift;
    }
    if (rc.bottom > screenHeight - kScreenEdgeShift) {
        rc.top -= kScreenEdgeShift;
        rc.bottom -= kScreenEdgeShift;
    }
    return rc;
}

NoteSize ClampToMinimum(int cx, int cy)
{
    return {std::max(cx, kMinSize), std::max(cy, kMinSize)};
}

}  // namespace NoteGeometry
