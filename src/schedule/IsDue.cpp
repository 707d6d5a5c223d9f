#include "schedule/IsDue.h"

#include "schedule/RecurrenceBlock.h"

namespace {

constexpr int64_t kDay = 86400;
constexpr int64_t kWeek = 604800;

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

// The kind's own day condition: today's date and the time since the note was
// last shown. It needs no conversion per note, so it is asked first.
bool DayMatches(const CNote& note, const DueClock& clock)
{
    const RecurrenceView recur(note.m_recur);
    // Spans from a day in the future are negative: never due, whatever count
    // a damaged file holds. Counts are widened: 32767 weeks of seconds do not
    // fit 32 bits.
    const int64_t span = clock.today - static_cast<int64_t>(note.m_tLastShown);
    switch (note.m_nSchedKind) {
    case kDaily:
        if (recur.Weekdays())
            return clock.nowLocal.weekday >= 1 && clock.nowLocal.weekday <= 5;
        if (note.m_tLastShown >= clock.markYearStart && note.m_tLastShown < clock.markYearEnd)
            return true;
        return span >= 0 && span >= recur.EveryDays() * kDay;
    case kWeekly: {
        if (span < 0 || span < recur.EveryWeeks() * kWeek)
            return false;
        const uint16_t mask = recur.DayMask();
        return mask == 0 || ((mask >> clock.todayLocal.weekday) & 1) != 0;
    }
    case kMonthly:
        return MonthlyDayMatches(recur, clock.todayLocal);
    default:
        return true;  // one time, and kinds we do not know: no day condition
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

    // The occurrence moment: the start date's day at the start time's clock
    // time, moved back by the lead time.
    LocalDateTime date;
    LocalDateTime time;
    if (!ToLocal(note.m_tStartDate, date) || !ToLocal(note.m_tStartTime, time))
        return false;
    LocalDateTime occurrence;
    std::optional<int64_t> moment =
        FromLocal(date.year, date.month, date.day, time.hour, time.minute, 0, &occurrence);
    if (!moment)
        return false;
    const int64_t lead = note.m_nNotifyDays * kDay + note.m_nNotifyHours * int64_t{3600} +
                         note.m_nNotifyMinutes * int64_t{60};
    if (lead != 0) {
        *moment -= lead;
        if (!ToLocal(*moment, occurrence))
            return false;
    }

    // Only the clock time of the occurrence counts here, never its date.
    const LocalDateTime& now = clock.nowLocal;
    if (now.hour < occurrence.hour || (now.hour == occurrence.hour && now.minute < occurrence.minute))
        return false;
    if (note.m_nSchedKind == kOneTime)
        return DateKey(now) == DateKey(occurrence);
    // Recurring kinds: not before the schedule has started, counted in whole
    // minutes (every zone's offset is whole minutes, so this drops the seconds).
    return clock.now - now.second >= *moment;
}

bool IsDue(const CNote& note, NoteTime now, NoteTime today)
{
    return IsDue(note, DueClock::At(now, today));
}
