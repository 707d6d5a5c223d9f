#pragma once
// A rectangle as the notes file stores a note's window (left, top, right,
// bottom) and as the window code places it: plain 32-bit values, so the
// portable core and the framework share one type without either including
// the other.
#include <cstdint>

struct NoteRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const NoteRect&) const = default;
};
