#pragma once
// Where a popup menu of a given size opens for a point on the screen: at the
// point, or flipped to the left of it and/or above it when it would run over
// the right or bottom edge of the screen and the flip fits.
#include <cstdint>

struct ScreenRect {
    int32_t left, top, right, bottom;
};

struct PopupOrigin {
    int32_t x, y;
    bool operator==(const PopupOrigin&) const = default;
};

// (x, y): the point in screen pixels; width x height: the popup's outer
// size; screen: the desktop's rectangle. Returns the popup's top-left corner.
PopupOrigin PlacePopup(int32_t x, int32_t y, int32_t width, int32_t height, const ScreenRect& screen);
