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

namespace {

bool HidesWholly(const NoteRect& place, const NoteRect& other)
{
    return place.left <= other.left && place.top <= other.top && other.right <= place.right &&
           other.bottom <= place.bottom;
}

// One step along one axis, wrapped round among the starts at which a note of
// that size lies inside the area. What a step carries past the far edge goes
// on from the near one, so the rounds do not retrace the same few places. A
// note longer than the area keeps its start on that axis.
int32_t StepAlong(int32_t start, int32_t size, int32_t areaStart, int32_t areaEnd, int step)
{
    const int64_t starts = int64_t{areaEnd} - size - areaStart + 1;
    if (starts <= 0)
        return start;
    const int64_t offset = ((int64_t{start} + step - areaStart) % starts + starts) % starts;
    return static_cast<int32_t>(areaStart + offset);
}

}  // namespace

NoteRect PlaceClearOfNotes(const NoteRect& wanted, std::span<const NoteRect> shown, const NoteRect& workArea,
                           int step, int tries)
{
    NoteRect place = wanted;
    for (int n = 0; n < tries; ++n) {
        if (std::none_of(shown.begin(), shown.end(), [&](const NoteRect& other) { return HidesWholly(place, other); }))
            return place;
        const int32_t left = StepAlong(place.left, wanted.Width(), workArea.left, workArea.right, step);
        const int32_t top = StepAlong(place.top, wanted.Height(), workArea.top, workArea.bottom, step);
        place = NoteRect{left, top, left + wanted.Width(), top + wanted.Height()};
    }
    return wanted;
}
