// The next time a note comes up agrees with the due test: a sweep of every
// minute of two 60-day windows, one through the spring clock changes of the
// suite's zones and one through the autumn ones, stamps each note the way
// the pass does and checks that the first minute the due test says yes is
// the one NextOccurrence gave.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ScheduleTestNotes.h"
#include "schedule/NextOccurrence.h"
#include "schedule/RecurrenceBlock.h"

namespace {

using namespace schedtest;

struct Row {
    const char* label;
    uint32_t kind;
    int startDay;  // days after the window's first day
    int hour;
    int minute;
    std::function<void(CNote&)> tweak;
};

auto Lead(uint16_t days, uint16_t hours, uint16_t minutes)
{
    return [=](CNote& n) {
        n.m_nNotifyDays = days;
        n.m_nNotifyHours = hours;
        n.m_nNotifyMinutes = minutes;
    };
}

auto Both(std::function<void(CNote&)> a, std::function<void(CNote&)> b)
{
    return [=](CNote& n) {
        a(n);
        b(n);
    };
}

// Every kind the dialog makes, at clock times the changes skip or repeat
// (they fall at 02:00 or 03:00 on Sundays in the suite's zones), with lead
// times and ending dates.
std::vector<Row> Rows(NoteTime windowStart)
{
    const auto endsOn = [windowStart](int day) {
        return [=](CNote& n) {
            n.m_bHasEndDate = 1;
            n.m_tEndDate = windowStart + day * 86400 + 5 * 3600;
        };
    };
    return {
        {"one time in the night", kOneTime, 30, 2, 30, nullptr},
        {"one time, a day and two hours early", kOneTime, 20, 9, 0, Lead(1, 2, 0)},
        {"one time whose day has passed", kOneTime, -3, 9, 0, nullptr},
        {"daily in the skipped hour", kDaily, 0, 2, 30, [](CNote& n) { RecurrenceBlock(n.m_recur).SetDaily(1, false); }},
        {"every 3 days, an hour early over midnight", kDaily, 2, 0, 30,
         Both([](CNote& n) { RecurrenceBlock(n.m_recur).SetDaily(3, false); }, Lead(0, 1, 0))},
        {"weekdays, ending mid-window", kDaily, 0, 9, 0,
         Both([](CNote& n) { RecurrenceBlock(n.m_recur).SetDaily(0, true); }, endsOn(40))},
        {"weekly on Monday and Wednesday", kWeekly, 0, 8, 15,
         [](CNote& n) { RecurrenceBlock(n.m_recur).SetWeekly(1, (1 << 1) | (1 << 3)); }},
        {"every 2 weeks on Sunday in the night, starting later", kWeekly, 9, 2, 45,
         [](CNote& n) { RecurrenceBlock(n.m_recur).SetWeekly(2, 1 << 0); }},
        {"monthly on day 31, late", kMonthly, 0, 23, 59,
         [](CNote& n) { RecurrenceBlock(n.m_recur).SetMonthlyByDay(31, 0); }},
        {"monthly on the second Sunday, 50 minutes early", kMonthly, 0, 3, 0,
         Both([](CNote& n) { RecurrenceBlock(n.m_recur).SetMonthlyByWeekday(1, 0, 0); }, Lead(0, 0, 50))},
        {"monthly on the last Friday", kMonthly, 0, 12, 0,
         [](CNote& n) { RecurrenceBlock(n.m_recur).SetMonthlyByWeekday(4, 5, 0); }},
        {"daily, already shown today", kDaily, -10, 6, 0,
         Both([](CNote& n) { RecurrenceBlock(n.m_recur).SetDaily(1, false); },
              [windowStart](CNote& n) { n.m_tLastShown = windowStart; })},
    };
}

// The clock of the day of t, moved to t, as the pass would build it at t.
DueClock ClockAt(const DueClock& day, NoteTime t)
{
    DueClock clock = day;
    clock.now = t;
    EXPECT_TRUE(ToLocal(t, clock.nowLocal));
    return clock;
}

void Sweep(const Row& row, NoteTime windowStart, int windowDays)
{
    SCOPED_TRACE(row.label);
    CNote note;
    SetSchedule(note, row.kind, windowStart + row.startDay * 86400, Local(2001, 7, 4, row.hour, row.minute));
    if (row.tweak)
        row.tweak(note);
    LocalDateTime first;
    ASSERT_TRUE(ToLocal(windowStart, first));
    std::optional<NoteTime> expected = NextOccurrence(note, windowStart);
    int comings = 0;
    for (int day = 0; day < windowDays; ++day) {
        const NoteTime start = static_cast<NoteTime>(*LocalMidnight(first.year, first.month, first.day + day));
        const NoteTime end = static_cast<NoteTime>(*LocalMidnight(first.year, first.month, first.day + day + 1));
        const DueClock dayClock = DueClock::At(start, start);
        for (NoteTime t = start; t < end; t += 60) {
            if (!IsDue(note, ClockAt(dayClock, t)))
                continue;
            ASSERT_EQ(expected, std::optional<NoteTime>(t)) << "due on day " << day;
            ++comings;
            note.m_tLastShown = start;  // what the pass stamps
            expected = NextOccurrence(note, t + 60);
        }
    }
    const NoteTime windowEnd = static_cast<NoteTime>(*LocalMidnight(first.year, first.month, first.day + windowDays));
    EXPECT_TRUE(!expected || *expected >= windowEnd) << "promised a time the sweep never found";
    EXPECT_GT(comings, 0) << "the row tests nothing in this window";
}

}  // namespace

TEST(NextOccurrence, AgreesWithTheDueTestThroughClockChanges)
{
    constexpr int kWindowDays = 60;
    for (const NoteTime windowStart : {Local(2024, 3, 1), Local(2024, 9, 25)}) {
        for (const Row& row : Rows(windowStart))
            Sweep(row, windowStart, kWindowDays);
    }
}

TEST(NextOccurrence, NoneForSchedulesThatNeverComeAgain)
{
    const NoteTime now = Local(2024, 6, 12, 10, 0);
    struct Case {
        const char* label;
        std::function<void(CNote&)> make;
    };
    const Case cases[] = {
        {"disabled", [&](CNote& n) { SetSchedule(n, kDaily, now, now); n.m_bSchedDisabled = 1; }},
        {"new, never confirmed", [](CNote&) {}},
        {"one time, shown on its day", [&](CNote& n) {
             SetSchedule(n, kOneTime, Local(2024, 6, 1), Local(2024, 6, 1, 9, 0));
             n.m_tLastShown = Local(2024, 6, 1);
         }},
        {"ended yesterday", [&](CNote& n) {
             SetSchedule(n, kDaily, Local(2024, 1, 1), Local(2024, 1, 1, 9, 0));
             RecurrenceBlock(n.m_recur).SetDaily(1, false);
             n.m_bHasEndDate = 1;
             n.m_tEndDate = Local(2024, 6, 11);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CNote note;
        c.make(note);
        EXPECT_FALSE(NextOccurrence(note, now).has_value());
    }
}
