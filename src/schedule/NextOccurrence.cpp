#include "schedule/NextOccurrence.h"

#include <algorithm>

namespace {

// The clock of a day moved to another moment of that same day.
bool ClockAt(const DueClock& day, int64_t t, DueClock& clock)
{
    clock = day;
    clock.now = t;
    return ToLocal(t, clock.nowLocal);
}

int64_t NextMinute(int64_t t)
{
    return (t / 60 + 1) * 60;  // every zone's offset is whole minutes
}

// What the search learns of a note once, before it walks the days.
struct NoteOccurrence {
    int64_t moment = 0;        // the start, less the lead time
    LocalDateTime reading;     // its local clock reading
    int64_t momentDay = 0;     // its date as a day number
};

// The first moment of the day at or after from at which the note is due.
// The due test answers alike through a minute, so only minute starts (and
// from itself) are asked. The first guess is the earliest the clock time and
// the start allow; minutes after it are asked only where a change of the
// clocks repeats or skips the clock time.
std::optional<int64_t> FirstDueInDay(const CNote& note, const DueClock& day, int64_t from, const NoteOccurrence& occ)
{
    int64_t guess = from;
    const bool oneTime = note.m_nSchedKind == 0;
    if (!oneTime || day.todayDay == occ.momentDay) {
        const LocalDateTime& d = day.todayLocal;
        const auto reached = FromLocal(d.year, d.month, d.day, occ.reading.hour, occ.reading.minute, 0);
        if (reached)
            guess = std::max(guess, *reached);
        if (!oneTime)
            guess = std::max(guess, occ.moment);
    }
    DueClock clock;
    for (int64_t t = guess; t < day.todayEnd; t = NextMinute(t)) {
        if (ClockAt(day, t, clock) && IsDue(note, clock))
            return t;
    }
    return std::nullopt;
}

}  // namespace

std::optional<NoteTime> NextOccurrence(const CNote& note, NoteTime after)
{
    OccurrenceDays days(after);
    return NextOccurrence(note, after, days, kOccurrenceSearchDays);
}

std::optional<NoteTime> NextOccurrence(const CNote& note, NoteTime after, OccurrenceDays& days, int dayCount)
{
    if (note.m_bSchedDisabled)
        return std::nullopt;
    NoteOccurrence occ;
    const std::optional<int64_t> moment = OccurrenceMoment(note, occ.reading);
    if (!moment)
        return std::nullopt;
    occ.moment = *moment;
    occ.momentDay = DayNumber(occ.reading);
    // No day before the schedule's own can be due, except the catch-up of a
    // one-time note whose day has passed.
    const int firstIndex = static_cast<int>(std::clamp<int64_t>(occ.momentDay - days.FirstDayNumber(), 0, dayCount));
    for (int index = firstIndex; index < dayCount; ++index) {
        const DueClock* day = days.Day(index);
        if (!day)
            return std::nullopt;
        // Due at the day's last minute, or not at all that day.
        if (!IsDue(note, *day))
            continue;
        const int64_t from = std::max<int64_t>(after, day->todayStart);
        if (const auto first = FirstDueInDay(note, *day, from, occ))
            return static_cast<NoteTime>(*first);
    }
    return std::nullopt;
}
