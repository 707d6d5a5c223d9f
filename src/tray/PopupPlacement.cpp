#include "tray/PopupPlacement.h"

PopupOrigin PlacePopup(int32_t x, int32_t y, int32_t width, int32_t height, const ScreenRect& screen)
{
    // 64-bit sums: points and sizes near the ends of the range must not wrap.
    const int64_t right = int64_t{x} + width, bottom = int64_t{y} + height;
    const int64_t left = int64_t{x} - width, top = int64_t{y} - height;
    if (right < screen.right && bottom < screen.bottom)
        return {x, y};
    const bool fitsLeft = screen.left < left;
    const bool fitsAbove = screen.top < top;
    if (fitsLeft && bottom < screen.bottom)
        return {static_cast<int32_t>(left), y};
    if (right < screen.right && fitsAbove)
        return {x, static_cast<int32_t>(top)};
    if (fitsLeft && fitsAbove)
        return {static_cast<int32_t>(left), static_cast<int32_t>(top)};
    // Fits neither way: better cut off at the edge than moved away from
    // the point the user clicked.
    return {x, y};
}
