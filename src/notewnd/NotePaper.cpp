#include "notewnd/NotePaper.h"

#include <algorithm>

#include "framework/ScopedHandles.h"

static_assert(sizeof(POINT) == sizeof(NotePoint), "outline points map onto the platform's POINT");

namespace {

template <size_t N>
std::array<POINT, N> ToPoints(const std::array<NotePoint, N>& points)
{
    std::array<POINT, N> out;
    for (size_t i = 0; i < N; ++i)
        out[i] = POINT{points[i].x, points[i].y};
    return out;
}

// Drawing tools every note shares; made on the first paint. The outline pen
// grows with the display scale: one per width, kept for the program's life.
HPEN OutlinePen(int width)
{
    static UniquePen pens[8];
    const int slot = std::clamp(width, 1, 8) - 1;
    if (!pens[slot])
        pens[slot].Reset(CreatePen(PS_SOLID, slot + 1, RGB(0, 0, 0)));
    return pens[slot];
}

HBRUSH CornerBrush()
{
    static const UniqueBrush grey(CreateSolidBrush(RGB(128, 128, 128)));
    return grey;
}

}  // namespace

namespace NotePaper {

Outline OutlineOf(int cx, int cy, const NoteGeometry::NoteMetrics& metrics)
{
    return ToPoints(NoteGeometry::Outline(cx, cy, metrics));
}

void Paint(HDC dc, const RECT& client, HBRUSH paper, const POINT* outline, int points,
           const NoteGeometry::NoteMetrics& metrics)
{
    FillRect(dc, &client, paper);
    ScopedSelect pen(dc, OutlinePen(metrics.outlineWidth));
    ScopedSelect brush(dc, CornerBrush());
    // The region clips half of the pen away on the right and bottom edges.
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 0, client.bottom);
    Polyline(dc, outline, points);
    const auto corner = ToPoints(NoteGeometry::TurnedCorner(client.right, client.bottom, metrics));
    Polygon(dc, corner.data(), static_cast<int>(corner.size()));
}

}  // namespace NotePaper
