#include "schedule/SnoozeChoice.h"

#include <cstdint>

#include "core/LocalTime.h"

std::optional<NoteTime> SnoozeUntil(SnoozeChoice choice, NoteTime now)
{
    int64_t until = 0;
    switch (choice) {
    case SnoozeChoice::kFiveMinutes: until = int64_t{now} + 5 * 60; break;
    case SnoozeChoice::kTenMinutes: until = int64_t{now} + 10 * 60; break;
    case SnoozeChoice::kThirtyMinutes: until = int64_t{now} + 30 * 60; break;
    case SnoozeChoice::kOneHour: until = int64_t{now} + 60 * 60; break;
    case SnoozeChoice::kTomorrow: {
        RefreshLocalZone();
        LocalDateTime t;
        if (!ToLocal(now, t))
            return std::nullopt;
        const auto next = FromLocal(t.year, t.month, t.day + 1, t.hour, t.minute, t.second);
        if (!next)
            return std::nullopt;
        until = *next;
        break;
    }
    }
    if (until <= 0 || until > INT32_MAX)
        return std::nullopt;
    return static_cast<NoteTime>(until);
}
