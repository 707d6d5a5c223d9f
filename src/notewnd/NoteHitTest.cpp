#include "notewnd/NoteHitTest.h"

#include "notewnd/NoteGeometry.h"

NoteHit HitTest(int x, int y, int width, int height, int border)
{
    if (x <= border)
        return y <= border ? kHitTopLeft : (y < height - border ? kHitLeft : kHitBottomLeft);
    // The turned-over corner is a handle of its own, larger than the bands.
    const int corner = NoteGeometry::kCornerSize;
    if (x >= width - corner && x < width && y >= height - corner && y < height)
        return kHitBottomRight;
    if (x >= width - border)
        return y > border ? kHitRight : kHitTopRight;
    if (y <= border)
        return kHitTop;
    return y < height - border ? kHitMove : kHitBottom;
}

uint32_t SysCommandForHit(NoteHit hit)
{
    constexpr uint32_t kSysSize = 0xF000;         // SC_SIZE; low bits pick the edge
    constexpr uint32_t kSysMoveByMouse = 0xF012;  // SC_MOVE with the caption hit code
    return hit == kHitMove ? kSysMoveByMouse : kSysSize + static_cast<uint32_t>(hit);
}
