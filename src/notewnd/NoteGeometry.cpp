#include "notewnd/NoteGeometry.h"

#include <algorithm>

namespace NoteGeometry {

NoteMetrics ScaledMetrics(const DisplayScale& scale)
{
    return NoteMetrics{scale.ToPixels(kCornerSize), scale.ToPixels(kTextMargin), scale.ToPixels(kMinSize),
                       scale.ToPixels(2)};
}

std::array<NotePoint, kOutlinePoints> Outline(int width, int height, const NoteMetrics& m)
{
    return {{{0, 0},
             {width, 0},
             {width, height - m.corner},
             {width - m.corner, height},
             {0, height}}};
}

std::array<NotePoint, 3> TurnedCorner(int width, int height, const NoteMetrics& m)
{
    return {{{width - m.corner, height},
             {width - m.corner, height - m.corner},
             {width, height - m.corner}}};
}

NoteRect EditRectAtCreation(int width, int height, const NoteMetrics& m)
{
    return {m.margin, m.margin, width - m.margin, height - m.corner};
}

NoteRect EditRectAfterSize(int width, int height, const NoteMetrics& m)
{
    return {m.margin, m.margin, width - m.margin, height - m.margin};
}

NoteRect EditRectWhileSizing(const NoteRect& proposedClient, const NoteMetrics& m)
{
    // Width and height are right - 45 and bottom - 45 (at 96 DPI); never
    // below nothing, since the drag may propose a window smaller than the
    // margins.
    const int32_t cx = std::max<int32_t>(0, proposedClient.right - 3 * m.margin);
    const int32_t cy = std::max<int32_t>(0, proposedClient.bottom - 3 * m.margin);
    return {m.margin, m.margin, m.margin + cx, m.margin + cy};
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

namespace {

bool Overlaps(const NoteRect& a, const NoteRect& b)
{
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

// Squared gap between two rectangles that do not overlap.
int64_t GapSquared(const NoteRect& a, const NoteRect& b)
{
    const int64_t dx = std::max<int64_t>({0, int64_t{b.left} - a.right, int64_t{a.left} - b.right});
    const int64_t dy = std::max<int64_t>({0, int64_t{b.top} - a.bottom, int64_t{a.top} - b.bottom});
    return dx * dx + dy * dy;
}

// One side of the note along one axis of the area: the size where it fits,
// the start moved only as far as needed.
void FitSpan(int32_t& start, int32_t& end, int32_t areaStart, int32_t areaEnd)
{
    const int32_t size = std::min(std::max(end - start, kMinSize), areaEnd - areaStart);
    start = std::clamp(start, areaStart, std::max(areaStart, areaEnd - size));
    end = start + size;
}

}  // namespace

NoteRect PlaceOnWorkAreas(NoteRect rc, std::span<const NoteRect> workAreas)
{
    if (workAreas.empty())
        return rc;
    const NoteRect* nearest = &workAreas.front();
    for (const NoteRect& area : workAreas) {
        if (Overlaps(rc, area))
            return rc;
        if (GapSquared(rc, area) < GapSquared(rc, *nearest))
            nearest = &area;
    }
    FitSpan(rc.left, rc.right, nearest->left, nearest->right);
    FitSpan(rc.top, rc.bottom, nearest->top, nearest->bottom);
    return rc;
}

NoteRect MoveIntoWorkArea(NoteRect rc, const NoteRect& workArea)
{
    const int32_t width = rc.Width(), height = rc.Height();
    rc.left = std::clamp(rc.left, workArea.left, std::max(workArea.left, workArea.right - width));
    rc.top = std::clamp(rc.top, workArea.top, std::max(workArea.top, workArea.bottom - height));
    rc.right = rc.left + width;
    rc.bottom = rc.top + height;
    return rc;
}

NoteRect BringTopBandIntoView(NoteRect rc, std::span<const NoteRect> workAreas, int topBand)
{
    bool overAnArea = false;
    int32_t highestTop = 0;
    for (const NoteRect& area : workAreas) {
        if (std::max(rc.left, area.left) >= std::min(rc.right, area.right))
            continue;  // not over this area
        if (rc.top + topBand > area.top)
            return rc;  // some of the band shows here, or the note is below the area's top
        highestTop = overAnArea ? std::min(highestTop, area.top) : area.top;
        overAnArea = true;
    }
    if (overAnArea) {
        rc.bottom += highestTop - rc.top;
        rc.top = highestTop;
    }
    return rc;
}

NoteSize ClampToMinimum(int cx, int cy, const NoteMetrics& m)
{
    return {std::max(cx, m.minSize), std::max(cy, m.minSize)};
}

}  // namespace NoteGeometry
