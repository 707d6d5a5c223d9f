#include "schedule/IsDue.h"

#include "schedule/RecurrenceBlock.h"

namespace {

constexpr int64_t kDay = 86400;

enum ScheduleKind : uint32_t { kOneTime = 0, kDaily = 1, kWeekly = 2, kMonthly = 3 };

bool MonthAllowed(uint16_t monthMask, const LocalDateTime& today)
{
    return monthMask == 0 || ((monthMask >> (today.month - 1)) & 1) != 0;
}

// Whether today is the ordinal's occurrence of its weekday: 0..3 the first to
// the fourth, 4 the last; any other ordinal takes every occurrence.
bool OrdinalMatches(int32_t ordinal, const LocalDateTime& today, int daysInMonth)
{
    if (ordinal >= 0 && ordinal <= 3)
        return (today.day - 1) / 7 == ordinal;  // how many times it came earlier
    if (ordinal == 4)
        return today.day + 7 > daysInMonth;
    return true;
}

// The monthly rules are calendar questions, so they are answered on dates:
// stepping whole weeks of seconds from midnight lands an hour off across a
// daylight-saving change and can leave the month one day early or late.
bool MonthlyDayMatches(const RecurrenceView& recur, const LocalDateTime& today)
{
    if (!MonthAllowed(recur.MonthMask(), today))
        return false;
    const int daysInMonth = DaysInMonth(today.year, today.month);
    if (recur.ByWeekday())
        return today.weekday == recur.Weekday() && OrdinalMatches(recur.Ordinal(), today, daysInMonth);
    // A day the month does not have falls on its last day.
    const int monthDay = recur.MonthDay();
    return today.day == monthDay || (today.day == daysInMonth && monthDay > daysInMonth);
}

bool IsConfirmedMark(NoteTime lastShown, const DueClock& clock)
{
    return lastShown >= clock.markYearStart && lastShown < clock.markYearEnd;
}

// Whole calendar days from the day the note was last shown to today,
// negative when that day lies ahead. Spacing is counted in dates, never in
// seconds: across a change of the clocks the span between two midnights is
// an hour short or long, and a day must not be lost or come early for it. A
// day with no local reading (before 1970) lies long ago.
int64_t DaysSinceShown(const CNote& note, const DueClock& clock)
{
    constexpr int64_t kLongAgo = int64_t{1} << 40;
    const std::optional<int64_t> shown = clock.DayOf(note.m_tLastShown);
    return shown ? clock.todayDay - *shown : kLongAgo;
}

// Weekly on ticked days: weeks run Sunday to Saturday, and a week is open
// when it is the week the note last came up in (so every ticked day of it
// counts, not only the first) or lies at least the schedule's count of weeks
// after it.
bool WeeklyDayMatches(const CNote& note, const DueClock& clock, const RecurrenceView& recur)
{
    const uint16_t mask = recur.DayMask();
    // Without a ticked day (only a file can hold that) the count is plain
    // spacing in days.
    if (mask == 0) {
        const int64_t days = DaysSinceShown(note, clock);
        return days >= 0 && days >= recur.EveryWeeks() * int64_t{7};
    }
    if (((mask >> clock.todayLocal.weekday) & 1) == 0)
        return false;
    if (IsConfirmedMark(note.m_tLastShown, clock))
        return true;
    const int64_t days = DaysSinceShown(note, clock);
    if (days < 0)
        return false;
    const int64_t weeks = WeekNumber(clock.todayDay) - WeekNumber(clock.todayDay - days);
    return weeks == 0 || weeks >= recur.EveryWeeks();
}

// The kind's own day condition: today's date and the day the note was last
// shown. It needs no conversion through the runtime for most notes, so it is
// asked first.
bool DayMatches(const CNote& note, const DueClock& clock)
{
    const RecurrenceView recur(note.m_recur);
    switch (note.m_nSchedKind) {
    case kDaily: {
        if (recur.Weekdays())
            return clock.nowLocal.weekday >= 1 && clock.nowLocal.weekday <= 5;
        if (IsConfirmedMark(note.m_tLastShown, clock))
            return true;
        // A day ahead of today gives a negative count: never due, whatever
        // count a damaged file holds.
        const int64_t days = DaysSinceShown(note, clock);
        return days >= 0 && days >= recur.EveryDays();
    }
    case kWeekly:
        return WeeklyDayMatches(note, clock, recur);
    case kMonthly:
        return MonthlyDayMatches(recur, clock.todayLocal);
    default:
        return true;  // one time, and kinds we do not know: no day condition
    }
}

// How far back from today the clock's distance from UTC is checked, a day at
// a time: past the longest spacing the dialog offers (52 weeks). Days last
// shown earlier than that are read through the runtime.
constexpr int kSteadyDaysChecked = 370;

// Finds the span up to the end of today in which the zone keeps one distance
// from UTC. Probed once a day: no zone changes its clocks and back again
// within a day.
void FindSteadySpan(DueClock& clock)
{
    const int64_t last = clock.todayEnd - 1;
    clock.steadyFrom = clock.todayEnd;  // an empty span: every date through the runtime
    const std::optional<int64_t> offset = UtcOffsetAt(last);
    if (!offset)
        return;
    clock.steadyOffset = *offset;
    clock.steadyFrom = last;
    for (int back = 1; back <= kSteadyDaysChecked; ++back) {
        const int64_t probe = last - back * kDay;
        const std::optional<int64_t> probeOffset = UtcOffsetAt(probe);
        if (!probeOffset || *probeOffset != *offset)
            return;
        clock.steadyFrom = probe;
    }
}

// The clock for a zone whose rules have just been read.
DueClock ClockWithZoneRead(NoteTime now, NoteTime today)
{
    DueClock clock;
    clock.now = now;
    clock.today = today;
    if (!ToLocal(now, clock.nowLocal) || !ToLocal(today, clock.todayLocal))
        return {};
    const LocalDateTime& t = clock.todayLocal;
    const auto dayStart = LocalMidnight(t.year, t.month, t.day);
    const auto dayEnd = LocalMidnight(t.year, t.month, t.day + 1);
    const auto markStart = ConfirmedScheduleMark();
    const auto markEnd = LocalMidnight(1981, 1, 1);
    if (!dayStart || !dayEnd || !markStart || !markEnd)
        return {};
    clock.todayStart = *dayStart;
    clock.todayEnd = *dayEnd;
    clock.markYearStart = *markStart;
    clock.markYearEnd = *markEnd;
    clock.todayDay = DayNumber(t);
    FindSteadySpan(clock);
    clock.valid = true;
    return clock;
}

}  // namespace

DueClock DueClock::At(NoteTime now)
{
    // Before today is worked out, so that today follows a change of zone too.
    RefreshLocalZone();
    const std::optional<NoteTime> today = LocalToday(now);
    return today ? ClockWithZoneRead(now, *today) : DueClock{};
}

DueClock DueClock::At(NoteTime now, NoteTime today)
{
    RefreshLocalZone();
    return ClockWithZoneRead(now, today);
}

std::optional<int64_t> DueClock::DayOf(int64_t t) const
{
    if (t >= steadyFrom && t < todayEnd) {
        const int64_t wall = t + steadyOffset;
        return wall / kDay - (wall % kDay < 0 ? 1 : 0);
    }
    LocalDateTime local;
    if (!ToLocal(t, local))
        return std::nullopt;
    return DayNumber(local);
}

std::optional<NoteTime> LocalToday(NoteTime now)
{
    LocalDateTime local;
    if (!ToLocal(now, local))
        return std::nullopt;
    const auto midnight = LocalMidnight(local.year, local.month, local.day);
    if (!midnight)
        return std::nullopt;
    return static_cast<NoteTime>(*midnight);
}

std::optional<NoteTime> ConfirmedScheduleMark()
{
    const auto mark = LocalMidnight(1980, 1, 1);
    if (!mark)
        return std::nullopt;
    return static_cast<NoteTime>(*mark);
}

std::optional<int64_t> OccurrenceMoment(const CNote& note, LocalDateTime& reading)
{
    // The start date's day at the start time's clock time, moved back by the
    // lead time.
    LocalDateTime date;
    LocalDateTime time;
    if (!ToLocal(note.m_tStartDate, date) || !ToLocal(note.m_tStartTime, time))
        return std::nullopt;
    std::optional<int64_t> moment = FromLocal(date.year, date.month, date.day, time.hour, time.minute, 0, &reading);
    if (!moment)
        return std::nullopt;
    const int64_t lead = note.m_nNotifyDays * kDay + note.m_nNotifyHours * int64_t{3600} +
                         note.m_nNotifyMinutes * int64_t{60};
    if (lead != 0) {
        *moment -= lead;
        if (!ToLocal(*moment, reading))
            return std::nullopt;
    }
    return moment;
}

bool IsDue(const CNote& note, const DueClock& clock)
{
    if (!clock.valid || note.m_bSchedDisabled)
        return false;
    // At most once per day.
    if (note.m_tLastShown >= clock.todayStart && note.m_tLastShown < clock.todayEnd)
        return false;
    if (!DayMatches(note, clock))
        return false;
    if (note.m_bHasEndDate) {
        LocalDateTime end;
        if (!ToLocal(note.m_tEndDate, end) || DateKey(end) < DateKey(clock.todayLocal))
            return false;
    }

    LocalDateTime occurrence;
    const std::optional<int64_t> moment = OccurrenceMoment(note, occurrence);
    if (!moment)
        return false;

    // Only the clock time of the occurrence counts here, never its date.
    const LocalDateTime& now = clock.nowLocal;
    const bool timeReached =
        now.hour > occurrence.hour || (now.hour == occurrence.hour && now.minute >= occurrence.minute);
    if (note.m_nSchedKind == kOneTime) {
        const int nowDate = DateKey(now);
        const int occurrenceDate = DateKey(occurrence);
        if (nowDate == occurrenceDate)
            return timeReached;
        // Its moment passed on an earlier day while the program was not
        // running (or the computer was off): it comes up now, at any time of
        // day, as long as it has not come up since it was confirmed. Once
        // stamped with a day it never comes again.
        return nowDate > occurrenceDate && IsConfirmedMark(note.m_tLastShown, clock);
    }
    if (!timeReached)
        return false;
    // Recurring kinds: not before the schedule has started, counted in whole
    // minutes (every zone's offset is whole minutes, so this drops the seconds).
    return clock.now - now.second >= *moment;
}

bool IsDue(const CNote& note, NoteTime now, NoteTime today)
{
    return IsDue(note, DueClock::At(now, today));
}
