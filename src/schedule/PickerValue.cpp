#include "schedule/PickerValue.h"

#include <cstdint>

namespace {

bool Storable(const std::optional<int64_t>& t)
{
    return t && *t >= 0 && *t <= INT32_MAX;
}

std::optional<int64_t> MomentOf(const LocalDateTime& r, int dayShift = 0)
{
    return FromLocal(r.year, r.month, r.day + dayShift, r.hour, r.minute, r.second);
}

}  // namespace

std::optional<NoteTime> NoteTimeForPicker(const LocalDateTime& reading, PickerPart part)
{
    const std::optional<int64_t> moment = MomentOf(reading);
    if (Storable(moment))
        return static_cast<NoteTime>(*moment);
    if (part == PickerPart::Date) {
        // Only the date is read back: the first or last storable second
        // serves when it still reads as that date.
        const int64_t edge = moment && *moment > INT32_MAX ? INT32_MAX : 0;
        LocalDateTime edgeReading;
        if (ToLocal(edge, edgeReading) && DateKey(edgeReading) == DateKey(reading))
            return static_cast<NoteTime>(edge);
        return std::nullopt;
    }
    // Only the clock time is read back: a neighbouring day can carry it.
    for (int shift : {-1, 1, -2, 2}) {
        LocalDateTime shifted;
        const std::optional<int64_t> t = MomentOf(reading, shift);
        if (Storable(t) && ToLocal(*t, shifted) && shifted.hour == reading.hour && shifted.minute == reading.minute)
            return static_cast<NoteTime>(*t);
    }
    return std::nullopt;
}
