#pragma once
// The local days from a given moment on, each with the due clock of its last
// minute, made once and shared by every note asked about them: "Coming up"
// asks the same week of thousands of notes, and a clock costs a year of
// zone readings to make.
#include <cstdint>
#include <optional>
#include <vector>

#include "schedule/IsDue.h"

class OccurrenceDays {
public:
    // Day 0 is the local date of from.
    explicit OccurrenceDays(NoteTime from);

    int64_t FirstDayNumber() const { return m_firstDay; }
    // The clock at the last minute of day index (today: that day's
    // midnight); null when the day has no local reading.
    const DueClock* Day(int index);

private:
    int64_t m_firstDay = 0;
    LocalDateTime m_from;
    bool m_valid = false;
    std::vector<std::optional<DueClock>> m_days;
};
