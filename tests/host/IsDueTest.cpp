// The due test. Moments are written as local clock readings (built with the
// C runtime's mktime), so every row holds in each zone the suite runs under.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ScheduleTestNotes.h"
#include "schedule/IsDue.h"
#include "schedule/RecurrenceBlock.h"

namespace {

using namespace schedtest;

// A confirmed, enabled schedule starting on the given day at h:mi. The start
// time value carries another date and stray seconds: only its clock time counts.
struct Schedule {
    uint32_t kind;
    NoteTime startDay;
    int hour;
    int minute;
};

void Apply(CNote& note, const Schedule& s)
{
    SetSchedule(note, s.kind, s.startDay + 13 * 3600, Local(2001, 7, 4, s.hour, s.minute, 37));
}

struct Row {
    const char* label;
    Schedule schedule;
    std::function<void(CNote&)> tweak;
    NoteTime now;
    bool due;
};

void CheckRows(const std::vector<Row>& rows)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CNote note;
        Apply(note, row.schedule);
        if (row.tweak)
            row.tweak(note);
        const std::optional<NoteTime> today = LocalToday(row.now);
        ASSERT_TRUE(today.has_value());
        EXPECT_EQ(IsDue(note, row.now, *today), row.due);
    }
}

auto LastShown(NoteTime t)
{
    return [t](CNote& n) { n.m_tLastShown = t; };
}

auto Daily(int16_t everyDays, NoteTime lastShown)
{
    return [=](CNote& n) {
        RecurrenceBlock(n.m_recur).SetDaily(everyDays, false);
        n.m_tLastShown = lastShown;
    };
}

auto Weekly(int16_t everyWeeks, uint16_t dayMask, NoteTime lastShown)
{
    return [=](CNote& n) {
        RecurrenceBlock(n.m_recur).SetWeekly(everyWeeks, dayMask);
        n.m_tLastShown = lastShown;
    };
}

auto ByDay(int16_t day, uint16_t monthMask = 0)
{
    return [=](CNote& n) { RecurrenceBlock(n.m_recur).SetMonthlyByDay(day, monthMask); };
}

auto ByWeekday(int32_t ordinal, int16_t weekday, uint16_t monthMask = 0)
{
    return [=](CNote& n) { RecurrenceBlock(n.m_recur).SetMonthlyByWeekday(ordinal, weekday, monthMask); };
}

constexpr uint16_t kMonday = 1 << 1;
constexpr uint16_t kWednesday = 1 << 3;
constexpr int16_t kFriday = 5;

// Sets TZ for one test and puts the suite's zone back afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        const char* old = std::getenv("TZ");
        m_hadOld = old != nullptr;
        if (old)
            m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_hadOld)
            setenv("TZ", m_old.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool m_hadOld = false;
    std::string m_old;
};

}  // namespace

// 2024-06-12 is a Wednesday, far from every daylight-saving change.
TEST(IsDue, OneTime)
{
    const Schedule at14{kOneTime, Local(2024, 6, 12), 14, 0};
    CheckRows({
        {"a minute early", at14, nullptr, Local(2024, 6, 12, 13, 59), false},
        {"the last second before", at14, nullptr, Local(2024, 6, 12, 13, 59, 59), false},
        {"on the minute", at14, nullptr, Local(2024, 6, 12, 14, 0), true},
        {"first tick after", at14, nullptr, Local(2024, 6, 12, 14, 0, 5), true},
        {"late in the day, program started late", at14, nullptr, Local(2024, 6, 12, 22, 10), true},
        {"next tick that day, once shown", at14, LastShown(Local(2024, 6, 12)), Local(2024, 6, 12, 14, 0, 10),
         false},
        {"a day early", at14, nullptr, Local(2024, 6, 11, 14, 0), false},
        // Its moment passed while the program was not running: it comes up
        // at the first pass of any later day, at any time of day, once.
        {"the next day, not brought up: at once", at14, nullptr, Local(2024, 6, 13, 0, 5), true},
        {"a year later, not brought up", at14, nullptr, Local(2025, 6, 12, 8, 0), true},
        {"the next day, brought up on its day", at14, LastShown(Local(2024, 6, 12)), Local(2024, 6, 13, 14, 0),
         false},
        {"a week later, brought up the next day", at14, LastShown(Local(2024, 6, 13)), Local(2024, 6, 19, 14, 0),
         false},
        {"yesterday's moment, already brought up today", {kOneTime, Local(2024, 6, 11), 14, 0},
         LastShown(Local(2024, 6, 12)), Local(2024, 6, 12, 15, 0), false},
        {"the next day, not confirmed since a stamp in 2023", at14, LastShown(Local(2023, 1, 1)),
         Local(2024, 6, 13, 14, 0), false},
        {"an end date before the day is not ignored", at14,
         [](CNote& n) {
             n.m_bHasEndDate = 1;
             n.m_tEndDate = Local(2024, 6, 11, 23, 0);
         },
         Local(2024, 6, 12, 14, 0), false},
    });
}

TEST(IsDue, LeadTime)
{
    const auto lead = [](int days, int hours, int minutes) {
        return [=](CNote& n) {
            n.m_nNotifyDays = static_cast<uint16_t>(days);
            n.m_nNotifyHours = static_cast<uint16_t>(hours);
            n.m_nNotifyMinutes = static_cast<uint16_t>(minutes);
        };
    };
    const auto dailyWithLead = [](int hours) {
        return [=](CNote& n) {
            RecurrenceBlock(n.m_recur).SetDaily(1, false);
            n.m_tLastShown = Local(2024, 6, 10);
            n.m_nNotifyHours = static_cast<uint16_t>(hours);
        };
    };
    const Schedule oneTime9{kOneTime, Local(2024, 6, 13), 9, 0};
    const Schedule daily0030{kDaily, Local(2024, 6, 1), 0, 30};
    CheckRows({
        {"1 day 2 hours: before 07:00 the day before", oneTime9, lead(1, 2, 0), Local(2024, 6, 12, 6, 59), false},
        {"1 day 2 hours: from 07:00 the day before", oneTime9, lead(1, 2, 0), Local(2024, 6, 12, 7, 0), true},
        {"1 day 2 hours: all evening the day before", oneTime9, lead(1, 2, 0), Local(2024, 6, 12, 23, 59), true},
        {"1 day 2 hours: on the event day, once brought up the day before", oneTime9,
         [=](CNote& n) {
             lead(1, 2, 0)(n);
             n.m_tLastShown = Local(2024, 6, 12);
         },
         Local(2024, 6, 13, 9, 0), false},
        {"1 day 2 hours: on the event day, missed the day before", oneTime9, lead(1, 2, 0), Local(2024, 6, 13, 6, 0),
         true},
        {"15 minutes", oneTime9, lead(0, 0, 15), Local(2024, 6, 13, 8, 45), true},
        {"15 minutes, a minute early", oneTime9, lead(0, 0, 15), Local(2024, 6, 13, 8, 44), false},
        {"00:30 less 1 hour: not just after midnight", daily0030, dailyWithLead(1), Local(2024, 6, 12, 0, 45),
         false},
        {"00:30 less 1 hour: not at 23:29", daily0030, dailyWithLead(1), Local(2024, 6, 12, 23, 29), false},
        {"00:30 less 1 hour: from 23:30", daily0030, dailyWithLead(1), Local(2024, 6, 12, 23, 30), true},
        {"00:30 with no lead: from 00:30", daily0030, dailyWithLead(0), Local(2024, 6, 12, 0, 30), true},
    });
}

TEST(IsDue, Daily)
{
    const Schedule daily9{kDaily, Local(2024, 5, 1), 9, 0};
    const auto weekdays = [](CNote& n) { RecurrenceBlock(n.m_recur).SetDaily(0, true); };
    CheckRows({
        {"every 3 days, shown the 1st: not the 2nd", daily9, Daily(3, Local(2024, 6, 1)), Local(2024, 6, 2, 10), false},
        {"every 3 days, shown the 1st: not the 3rd", daily9, Daily(3, Local(2024, 6, 1)), Local(2024, 6, 3, 10), false},
        {"every 3 days, shown the 1st: the 4th", daily9, Daily(3, Local(2024, 6, 1)), Local(2024, 6, 4, 10), true},
        {"every 3 days, just confirmed: at once", daily9, Daily(3, Mark1980()), Local(2024, 6, 2, 10), true},
        {"every 3 days, late in 1980 counts as the mark", daily9, Daily(3, Local(1980, 12, 31, 23, 59)),
         Local(2024, 6, 2, 10), true},
        {"every day, before the time of day", daily9, Daily(1, Local(2024, 6, 1)), Local(2024, 6, 2, 8, 59), false},
        {"weekdays on a Friday", daily9, weekdays, Local(2024, 6, 14, 10), true},
        {"weekdays on a Saturday", daily9, weekdays, Local(2024, 6, 15, 10), false},
        {"weekdays on a Sunday", daily9, weekdays, Local(2024, 6, 16, 10), false},
        {"weekdays on a Monday", daily9, weekdays, Local(2024, 6, 17, 10), true},
        {"shown on a later day than today", daily9, Daily(1, Local(2024, 6, 20)), Local(2024, 6, 12, 10), false},
    });
}

TEST(IsDue, Weekly)
{
    const Schedule weekly9{kWeekly, Local(2024, 5, 1), 9, 0};
    const uint16_t monWed = kMonday | kWednesday;
    CheckRows({
        {"Monday after a Monday", weekly9, Weekly(1, monWed, Local(2024, 6, 3)), Local(2024, 6, 10, 10), true},
        {"Wednesday of the week of a Monday", weekly9, Weekly(1, monWed, Local(2024, 6, 10)), Local(2024, 6, 12, 10),
         true},
        {"Tuesday: not in the mask", weekly9, Weekly(1, monWed, Local(2024, 6, 3)), Local(2024, 6, 11, 10), false},
        {"Wednesday a week and more on", weekly9, Weekly(1, monWed, Local(2024, 6, 3)), Local(2024, 6, 12, 10), true},
        {"the next Monday", weekly9, Weekly(1, monWed, Local(2024, 6, 10)), Local(2024, 6, 17, 10), true},
        {"every 2 weeks: one week on", weekly9, Weekly(2, kMonday, Local(2024, 6, 3)), Local(2024, 6, 10, 10), false},
        {"every 2 weeks: two weeks on", weekly9, Weekly(2, kMonday, Local(2024, 6, 3)), Local(2024, 6, 17, 10), true},
        {"no day in the mask: any day", weekly9, Weekly(1, 0, Local(2024, 6, 3)), Local(2024, 6, 15, 10), true},
        {"just confirmed", weekly9, Weekly(1, kWednesday, Mark1980()), Local(2024, 6, 12, 10), true},
        {"shown on a later day than today", weekly9, Weekly(1, monWed, Local(2024, 6, 20)), Local(2024, 6, 12, 10),
         false},
    });
}

TEST(IsDue, MonthlyByDay)
{
    const Schedule monthly9{kMonthly, Local(2010, 1, 1), 9, 0};
    const uint16_t janMar = (1 << 0) | (1 << 2);
    CheckRows({
        {"31: 31 January", monthly9, ByDay(31), Local(2024, 1, 31, 10), true},
        {"31: 30 January", monthly9, ByDay(31), Local(2024, 1, 30, 10), false},
        {"31: 29 February of a leap year", monthly9, ByDay(31), Local(2024, 2, 29, 10), true},
        {"31: 28 February of a leap year", monthly9, ByDay(31), Local(2024, 2, 28, 10), false},
        {"31: 28 February of a common year", monthly9, ByDay(31), Local(2023, 2, 28, 10), true},
        {"31: 31 March", monthly9, ByDay(31), Local(2024, 3, 31, 10), true},
        {"31: 30 April", monthly9, ByDay(31), Local(2024, 4, 30, 10), true},
        {"31: 29 April", monthly9, ByDay(31), Local(2024, 4, 29, 10), false},
        {"31: 1 May", monthly9, ByDay(31), Local(2024, 5, 1, 10), false},
        {"30: 29 February of a leap year", monthly9, ByDay(30), Local(2024, 2, 29, 10), true},
        {"30: 31 March", monthly9, ByDay(30), Local(2024, 3, 31, 10), false},
        {"29: 28 February of a common year", monthly9, ByDay(29), Local(2023, 2, 28, 10), true},
        // Europe turns its clocks back on this day: 24 hours from its
        // midnight is still 31 October there.
        {"31: 31 October 2021", monthly9, ByDay(31), Local(2021, 10, 31, 10), true},
        {"15: the 15th", monthly9, ByDay(15), Local(2024, 6, 15, 10), true},
        {"31 in January and March: 31 March", monthly9, ByDay(31, janMar), Local(2024, 3, 31, 10), true},
        {"31 in January and March: 30 April", monthly9, ByDay(31, janMar), Local(2024, 4, 30, 10), false},
        {"31: before the time of day", monthly9, ByDay(31), Local(2024, 1, 31, 8, 59), false},
        {"31: 31 December", monthly9, ByDay(31), Local(2024, 12, 31, 10), true},
        {"31: 30 December", monthly9, ByDay(31), Local(2024, 12, 30, 10), false},
    });
}

// May 2024 has five Fridays: 3, 10, 17, 24, 31.
TEST(IsDue, MonthlyByWeekday)
{
    const Schedule monthly9{kMonthly, Local(2010, 1, 1), 9, 0};
    const int16_t monday = 1;
    CheckRows({
        {"Last Friday: 31 May", monthly9, ByWeekday(4, kFriday), Local(2024, 5, 31, 10), true},
        {"Last Friday: not 24 May", monthly9, ByWeekday(4, kFriday), Local(2024, 5, 24, 10), false},
        {"Fourth Friday: 24 May", monthly9, ByWeekday(3, kFriday), Local(2024, 5, 24, 10), true},
        {"Fourth Friday: not 31 May", monthly9, ByWeekday(3, kFriday), Local(2024, 5, 31, 10), false},
        {"First Friday: 3 May", monthly9, ByWeekday(0, kFriday), Local(2024, 5, 3, 10), true},
        {"Second Friday: 10 May", monthly9, ByWeekday(1, kFriday), Local(2024, 5, 10, 10), true},
        {"Third Friday: not 10 May", monthly9, ByWeekday(2, kFriday), Local(2024, 5, 10, 10), false},
        {"Last Friday of a four-Friday month: 28 June", monthly9, ByWeekday(4, kFriday), Local(2024, 6, 28, 10),
         true},
        {"Fourth Friday of a four-Friday month: 28 June", monthly9, ByWeekday(3, kFriday), Local(2024, 6, 28, 10),
         true},
        {"First Friday: not on a Thursday", monthly9, ByWeekday(0, kFriday), Local(2024, 5, 2, 10), false},
        {"Last Friday, May not selected", monthly9, ByWeekday(4, kFriday, 1 << 5), Local(2024, 5, 31, 10), false},
        {"Last Friday, May selected", monthly9, ByWeekday(4, kFriday, 1 << 4), Local(2024, 5, 31, 10), true},
        // Europe turns its clocks back in the week after: a week of seconds
        // from midnight ends on 31 October at 23:00.
        {"Last Friday: 25 October 2024", monthly9, ByWeekday(4, kFriday), Local(2024, 10, 25, 10), true},
        // Sydney turned its clocks on on the 7th: a week of seconds back from
        // the 8th ends on 30 September at 23:00.
        {"Second Monday: 8 October 2018", monthly9, ByWeekday(1, monday), Local(2018, 10, 8, 10), true},
        {"First Monday: not 8 October 2018", monthly9, ByWeekday(0, monday), Local(2018, 10, 8, 10), false},
        {"First Monday: 1 October 2018", monthly9, ByWeekday(0, monday), Local(2018, 10, 1, 10), true},
        // December 2024 has four Fridays: 6, 13, 20, 27.
        {"Last Friday: 27 December", monthly9, ByWeekday(4, kFriday), Local(2024, 12, 27, 10), true},
        {"Last Friday: not 20 December", monthly9, ByWeekday(4, kFriday), Local(2024, 12, 20, 10), false},
        {"Last Friday: not 6 December", monthly9, ByWeekday(4, kFriday), Local(2024, 12, 6, 10), false},
    });
}

TEST(IsDue, EndAndStartDates)
{
    const auto endOn = [](NoteTime end) {
        return [=](CNote& n) {
            RecurrenceBlock(n.m_recur).SetDaily(1, false);
            n.m_bHasEndDate = 1;
            n.m_tEndDate = end;
        };
    };
    const auto everyDay = [](CNote& n) { RecurrenceBlock(n.m_recur).SetDaily(1, false); };
    const Schedule daily9{kDaily, Local(2024, 5, 1), 9, 0};
    const NoteTime now = Local(2024, 6, 12, 10);
    CheckRows({
        {"end date today (early morning)", daily9, endOn(Local(2024, 6, 12, 0, 1)), now, true},
        {"end date today (late evening)", daily9, endOn(Local(2024, 6, 12, 23, 59)), now, true},
        {"end date yesterday", daily9, endOn(Local(2024, 6, 11, 23, 59)), now, false},
        {"end date set aside", daily9,
         [](CNote& n) {
             RecurrenceBlock(n.m_recur).SetDaily(1, false);
             n.m_bHasEndDate = 0;
             n.m_tEndDate = Local(2024, 6, 11);
         },
         now, true},
        {"daily starting in a week", {kDaily, Local(2024, 6, 19), 9, 0}, everyDay, now, false},
        {"weekly starting in a week", {kWeekly, Local(2024, 6, 19), 9, 0}, Weekly(1, 0, Mark1980()), now, false},
        {"monthly starting next year", {kMonthly, Local(2025, 1, 1), 9, 0}, ByDay(12), now, false},
        {"daily starting today, time not reached", {kDaily, Local(2024, 6, 12), 10, 1}, everyDay, now, false},
        {"daily starting today, time reached", {kDaily, Local(2024, 6, 12), 10, 0}, everyDay, now, true},
        // The lead moves the start back too: the day before the first
        // occurrence is already open from 23:00.
        {"lead opens the eve of the first day", {kDaily, Local(2024, 6, 13), 0, 0},
         [](CNote& n) {
             RecurrenceBlock(n.m_recur).SetDaily(1, false);
             n.m_nNotifyHours = 1;
         },
         Local(2024, 6, 12, 23, 0), true},
    });
}

TEST(IsDue, UnknownKindsHaveOnlyTheStartGate)
{
    CheckRows({
        {"kind 4, started, time reached", {4, Local(2024, 6, 1), 9, 0}, nullptr, Local(2024, 6, 12, 10), true},
        {"kind 4, before the time of day", {4, Local(2024, 6, 1), 9, 0}, nullptr, Local(2024, 6, 12, 8), false},
        {"kind 4, not started", {4, Local(2024, 6, 20), 9, 0}, nullptr, Local(2024, 6, 12, 10), false},
        {"kind 0xFFFFFFFF, started", {0xFFFFFFFFu, Local(2024, 6, 1), 9, 0}, nullptr, Local(2024, 6, 12, 10), true},
        {"kind 4, already shown today", {4, Local(2024, 6, 1), 9, 0}, LastShown(Local(2024, 6, 12)),
         Local(2024, 6, 12, 10), false},
    });
}

// Values a damaged or hand-edited file may hold: each gives a definite answer
// and never a due note that the schedule's own words would not allow.
TEST(IsDue, DamagedValues)
{
    const Schedule daily9{kDaily, Local(2024, 5, 1), 9, 0};
    const Schedule weekly9{kWeekly, Local(2024, 5, 1), 9, 0};
    const Schedule monthly9{kMonthly, Local(2010, 1, 1), 9, 0};
    const NoteTime now = Local(2024, 6, 12, 10);
    CheckRows({
        {"every 0 days: the day after", daily9, Daily(0, Local(2024, 6, 11)), now, true},
        {"every -5 days, shown on a later day", daily9, Daily(-5, Local(2024, 6, 20)), now, false},
        // 32767 days of seconds do not fit 32 bits; wrapped, they would be negative.
        {"every 32767 days, shown in 1990", daily9, Daily(32767, Local(1990, 1, 1)), now, false},
        {"every 32767 weeks, shown in 1990", weekly9, Weekly(32767, 0, Local(1990, 1, 1)), now, false},
        {"every 0 weeks, shown yesterday", weekly9, Weekly(0, 0, Local(2024, 6, 11)), now, true},
        {"every -1 weeks, shown on a later day", weekly9, Weekly(-1, 0, Local(2024, 6, 20)), now, false},
        {"day mask with unknown bits only", weekly9, Weekly(1, 0xFF80, Local(2024, 1, 1)), now, false},
        {"month day 0 on a last day", monthly9, ByDay(0), Local(2024, 6, 30, 10), false},
        {"month day -3 on a last day", monthly9, ByDay(-3), Local(2024, 6, 30, 10), false},
        {"month day 400 on a last day", monthly9, ByDay(400), Local(2024, 6, 30, 10), true},
        {"month day 400 on another day", monthly9, ByDay(400), Local(2024, 6, 29, 10), false},
        {"month mask with unknown bits only", monthly9, ByDay(12, 0xF000), now, false},
        {"weekday 9", monthly9, ByWeekday(0, 9), now, false},
        {"weekday -1", monthly9, ByWeekday(0, -1), now, false},
        {"ordinal 7: any Wednesday", monthly9, ByWeekday(7, 3), now, true},
        {"ordinal -1: any Wednesday", monthly9, ByWeekday(-1, 3), now, true},
        {"start date before 1970", daily9,
         [](CNote& n) {
             RecurrenceBlock(n.m_recur).SetDaily(1, false);
             n.m_tStartDate = -86400 * 400;
         },
         now, false},
        {"start time before 1970", daily9,
         [](CNote& n) {
             RecurrenceBlock(n.m_recur).SetDaily(1, false);
             n.m_tStartTime = -5;
         },
         now, false},
        {"end date before 1970", daily9,
         [](CNote& n) {
             RecurrenceBlock(n.m_recur).SetDaily(1, false);
             n.m_bHasEndDate = 1;
             n.m_tEndDate = -86400;
         },
         now, false},
        {"shown before 1970: long ago", daily9, Daily(1, -86400 * 400), now, true},
        // A lead of 65535 days reaches back before 1970.
        {"lead of 65535 days", {kOneTime, Local(2024, 6, 12), 9, 0},
         [](CNote& n) { n.m_nNotifyDays = 65535; }, now, false},
        {"lead hours past 23", {kOneTime, Local(2024, 6, 13), 9, 0}, [](CNote& n) { n.m_nNotifyHours = 30; },
         Local(2024, 6, 12, 3, 0), true},
    });
}

TEST(IsDue, DisabledIsNeverDue)
{
    const NoteTime now = Local(2024, 5, 31, 10);
    const auto everything = [](CNote& n) {
        n.m_bHasEndDate = 1;
        n.m_tEndDate = Local(2030, 1, 1);
        n.m_nNotifyDays = 1;
        n.m_nNotifyHours = 2;
        n.m_nNotifyMinutes = 3;
        n.m_bAlwaysDisplay = 1;
        n.m_bAlarm = 1;
        n.m_strSoundFile = u"C:\\alarm.wav";
        n.m_tLastShown = Mark1980();
    };
    const struct {
        const char* label;
        Schedule schedule;
        std::function<void(CNote&)> recur;
    } cases[] = {
        {"one time", {kOneTime, Local(2024, 6, 1), 12, 0}, nullptr},
        {"daily", {kDaily, Local(2024, 1, 1), 9, 0}, Daily(1, Mark1980())},
        {"weekly", {kWeekly, Local(2024, 1, 1), 9, 0}, Weekly(1, 0x7F, Mark1980())},
        {"monthly", {kMonthly, Local(2024, 1, 1), 9, 0}, ByWeekday(4, kFriday, 0xFFF)},
        {"unknown kind", {9, Local(2024, 1, 1), 9, 0}, nullptr},
    };
    for (const auto& c : cases) {
        for (uint16_t disabled : {0, 1, 2}) {
            SCOPED_TRACE(std::string(c.label) + ", disabled " + std::to_string(disabled));
            CNote note;
            Apply(note, c.schedule);
            if (c.recur)
                c.recur(note);
            everything(note);
            note.m_bSchedDisabled = disabled;
            const NoteTime today = *LocalToday(now);
            EXPECT_EQ(IsDue(note, now, today), disabled == 0);
        }
    }
}

// A week whose clocks go forward is an hour short of a week of seconds, and
// one whose clocks go back an hour long: for Mondays only, the next Monday is
// due after either, and the Monday after it too.
TEST(IsDue, WeeklyAcrossDaylightSavingChanges)
{
    // This zone's changes in 2024, found as Mondays whose weeks are not a
    // whole week of seconds long (2024-01-01 is a Monday).
    int springMonday = 0;
    int autumnMonday = 0;
    for (int day = 1; day < 366; day += 7) {
        const NoteTime length = Local(2024, 1, day + 7) - Local(2024, 1, day);
        if (length < 604800)
            springMonday = day;
        else if (length > 604800)
            autumnMonday = day;
    }
    if (!springMonday || !autumnMonday)
        GTEST_SKIP() << "this zone keeps no daylight saving";

    const auto weeklyOnMondays = [](CNote& note, int lastShownDay) {
        Apply(note, {kWeekly, Local(2023, 12, 1), 9, 0});
        RecurrenceBlock(note.m_recur).SetWeekly(1, kMonday);
        note.m_tLastShown = Local(2024, 1, lastShownDay);
    };
    const auto dueOn = [](const CNote& note, int day) {
        const NoteTime now = Local(2024, 1, day, 10);
        return IsDue(note, now, *LocalToday(now));
    };
    CNote spring;
    weeklyOnMondays(spring, springMonday);
    EXPECT_TRUE(dueOn(spring, springMonday + 7)) << "the Monday after the short week";
    EXPECT_TRUE(dueOn(spring, springMonday + 14)) << "the Monday after that";
    CNote autumn;
    weeklyOnMondays(autumn, autumnMonday);
    EXPECT_TRUE(dueOn(autumn, autumnMonday + 7)) << "the Monday after the long week";
}

namespace {

// Passes over a run of days as the scheduler makes them: at each of the
// given hours (at half past) of every day, skipping the days the program did
// not run, stamping the note as the pass does. Answers the days, counted
// from the first, on which the note came up.
std::vector<int> DaysBroughtUp(CNote& note, int y, int mo, int firstDay, int days, std::vector<int> hours,
                               const std::set<int>& offDays = {})
{
    std::vector<int> up;
    for (int i = 0; i < days; ++i) {
        if (offDays.count(i))
            continue;
        for (int hour : hours) {
            const NoteTime now = Local(y, mo, firstDay + i, hour, 30);
            const NoteTime today = *LocalToday(now);
            if (IsDue(note, now, today)) {
                note.m_tLastShown = today;
                up.push_back(i);
            }
        }
    }
    return up;
}

std::vector<int> EveryNth(int step, int days)
{
    std::vector<int> out;
    for (int i = 0; i < days; i += step)
        out.push_back(i);
    return out;
}

}  // namespace

// Daily and weekly spacing across both changes of the clocks of 2027 in the
// suite's zone (in a zone without daylight saving, across an ordinary week):
// no day is skipped after the clocks go forward, none comes early after they
// go back. Each run starts a week before the change with the note just
// confirmed, due from midnight, and passes four times a day.
TEST(IsDue, SpacingInCalendarDaysAcrossClockChanges)
{
    struct Change {
        std::string label;
        int day;  // of January 2027, carried over into later months
    };
    std::vector<Change> changes;
    for (int day = 1; day <= 365; ++day) {
        const NoteTime length = Local(2027, 1, day + 1) - Local(2027, 1, day);
        if (length != 86400)
            changes.push_back({length < 86400 ? "clocks forward" : "clocks back", day});
    }
    if (changes.empty())
        changes.push_back({"no change in this zone", 73});  // 14 March
    ASSERT_LE(changes.size(), 2u);

    const struct {
        const char* label;
        uint32_t kind;
        int16_t every;
        std::vector<int> expected;
    } rows[] = {
        {"daily, every day", kDaily, 1, EveryNth(1, 21)},
        {"daily, every 3 days", kDaily, 3, EveryNth(3, 21)},
        {"weekly, every week", kWeekly, 1, {0, 7, 14}},
        {"weekly, every 2 weeks", kWeekly, 2, {0, 14}},
    };
    for (const Change& change : changes) {
        const int first = change.day - 7;
        LocalDateTime firstDay;
        ASSERT_TRUE(ToLocal(Local(2027, 1, first, 12), firstDay));
        for (const auto& row : rows) {
            SCOPED_TRACE(change.label + ", " + row.label);
            CNote note;
            SetSchedule(note, row.kind, Local(2026, 12, 1), Local(2026, 12, 1, 0, 0));
            if (row.kind == kDaily)
                RecurrenceBlock(note.m_recur).SetDaily(row.every, false);
            else
                RecurrenceBlock(note.m_recur).SetWeekly(row.every, static_cast<uint16_t>(1u << firstDay.weekday));
            EXPECT_EQ(DaysBroughtUp(note, 2027, 1, first, 21, {0, 6, 12, 23}), row.expected);
        }
    }
}

// Several ticked days: weeks run Sunday to Saturday, and every ticked day of
// an open week counts. Six weeks from Sunday 2 June 2024 (Monday is day 1,
// Thursday day 4), one pass a day after the time of day.
TEST(IsDue, WeeklyOnMondayAndThursday)
{
    constexpr uint16_t kMonThu = (1 << 1) | (1 << 4);
    const std::set<int> firstFiveDaysOff = {0, 1, 2, 3, 4, 5};
    const struct {
        const char* label;
        int16_t everyWeeks;
        NoteTime lastShown;
        std::set<int> offDays;
        std::vector<int> expected;
    } rows[] = {
        {"every week", 1, Mark1980(), {}, {1, 4, 8, 11, 15, 18, 22, 25, 29, 32, 36, 39}},
        {"every 2 weeks", 2, Mark1980(), {}, {1, 4, 15, 18, 29, 32}},
        {"every week, a Monday missed: its Thursday still comes", 1, Mark1980(), {8},
         {1, 4, 11, 15, 18, 22, 25, 29, 32, 36, 39}},
        {"every 2 weeks, the first Monday missed", 2, Mark1980(), {1}, {4, 15, 18, 29, 32}},
        {"every 2 weeks, first run on the Friday", 2, Mark1980(), firstFiveDaysOff, {8, 11, 22, 25, 36, 39}},
        {"every 2 weeks, last shown the Thursday before", 2, Local(2024, 5, 30), {}, {8, 11, 22, 25, 36, 39}},
        {"every 3 weeks", 3, Mark1980(), {}, {1, 4, 22, 25}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        CNote note;
        SetSchedule(note, kWeekly, Local(2024, 5, 1), Local(2024, 5, 1, 9, 0));
        RecurrenceBlock(note.m_recur).SetWeekly(row.everyWeeks, kMonThu);
        note.m_tLastShown = row.lastShown;
        EXPECT_EQ(DaysBroughtUp(note, 2024, 6, 2, 42, {10}, row.offDays), row.expected);
    }
}

TEST(IsDue, TodayOnADayWhoseMidnightIsSkipped)
{
    // Sao Paulo moved its clocks from 00:00 to 01:00 on 4 November 2018.
    ScopedTimeZone zone("America/Sao_Paulo");
    const NoteTime noon = Local(2018, 11, 4, 12);
    const std::optional<NoteTime> today = LocalToday(noon);
    ASSERT_TRUE(today.has_value());
    LocalDateTime reading;
    ASSERT_TRUE(ToLocal(*today, reading));
    EXPECT_EQ(DateKey(reading), 20181104) << "today must be on its own date";
    EXPECT_EQ(reading.hour, 1);
    EXPECT_EQ(noon - *today, 11 * 3600);

    // Stamped with that today, the note is not brought up again that day.
    CNote note;
    Apply(note, {kDaily, Local(2018, 10, 1), 9, 0});
    RecurrenceBlock(note.m_recur).SetDaily(1, false);
    note.m_tLastShown = Local(2018, 11, 3);
    EXPECT_TRUE(IsDue(note, noon, *today));
    note.m_tLastShown = *today;
    const NoteTime evening = Local(2018, 11, 4, 20);
    EXPECT_FALSE(IsDue(note, evening, *LocalToday(evening)));
}

// A pass after the system's zone has changed counts today in the new zone.
TEST(IsDue, TodayFollowsAChangeOfZone)
{
    ScopedTimeZone zone("Asia/Tokyo");
    // 2024-06-12 04:00 UTC: the 12th in Tokyo, 21:00 on the 11th in Los Angeles.
    const NoteTime now = 1718164800;
    setenv("TZ", "America/Los_Angeles", 1);  // changed, not yet read
    const DueClock clock = DueClock::At(now);
    ASSERT_TRUE(clock.valid);
    EXPECT_EQ(DateKey(clock.todayLocal), 20240611);
    EXPECT_EQ(clock.today, 1718089200) << "midnight of the 11th in Los Angeles";
}

TEST(LocalTime, ReadingsAroundTheChangesAreSettledAlike)
{
    ScopedTimeZone zone("Europe/Berlin");
    const struct {
        const char* label;
        int y, mo, d, h, mi;
        int64_t utc;  // the expected moment
    } cases[] = {
        {"an ordinary reading", 2024, 6, 12, 14, 0, 1718193600},
        // 02:00 to 03:00 is skipped: the moment of the jump.
        {"a skipped reading", 2024, 3, 31, 2, 30, 1711846800},
        // 02:00 to 03:00 happens twice: the first time.
        {"a repeated reading", 2024, 10, 27, 2, 30, 1729989000},
        {"days carry into the next month", 2024, 1, 32, 0, 0, 1706742000},
        {"months carry into the next year", 2023, 13, 1, 0, 0, 1704063600},
        {"the mark", 1980, 1, 1, 0, 0, 315529200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::optional<int64_t> t = FromLocal(c.y, c.mo, c.d, c.h, c.mi, 0);
        ASSERT_TRUE(t.has_value());
        EXPECT_EQ(*t, c.utc);
    }
    EXPECT_FALSE(FromLocal(1969, 12, 31, 12, 0, 0).has_value()) << "before 1970";
    LocalDateTime r;
    EXPECT_FALSE(ToLocal(-1, r));
}

// Every moment of the suite's zone, read and converted back, comes back as
// itself, or as the first of two moments when its reading happens twice.
TEST(LocalTime, ReadingsRoundTripInThisZone)
{
    uint64_t state = 12345;
    int repeated = 0;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const int64_t t = 31536000 + static_cast<int64_t>((state >> 33) % (2145916800LL - 31536000));
        LocalDateTime r;
        ASSERT_TRUE(ToLocal(t, r));
        LocalDateTime back;
        const std::optional<int64_t> f = FromLocal(r.year, r.month, r.day, r.hour, r.minute, r.second, &back);
        ASSERT_TRUE(f.has_value()) << t;
        EXPECT_EQ(back.year * 100000000LL + back.month * 1000000 + back.day * 10000 + back.hour * 100 + back.minute,
                  r.year * 100000000LL + r.month * 1000000 + r.day * 10000 + r.hour * 100 + r.minute)
            << t;
        EXPECT_EQ(back.weekday, r.weekday) << t;
        if (*f != t) {
            ++repeated;
            EXPECT_LT(*f, t) << t;
            EXPECT_LE(t - *f, 7200) << t;
        }
    }
    EXPECT_LT(repeated, 20) << "only moments in a repeated hour come back earlier";
}

TEST(RecurrenceBlock, WritesOnlyTheBytesOfItsKind)
{
    RecurBytes bytes;
    bytes.fill(0xEE);
    RecurrenceBlock block(bytes);

    block.SetDaily(7, false);
    EXPECT_EQ(block.EveryDays(), 7);
    EXPECT_EQ(block.Weekdays(), 0);
    EXPECT_EQ(bytes[4], 0xEE) << "daily writes four bytes";
    block.SetDaily(7, true);
    EXPECT_EQ(block.EveryDays(), 0);
    EXPECT_EQ(block.Weekdays(), 1);

    block.SetWeekly(-2, 0x41);
    EXPECT_EQ(bytes[0], 0xFE);
    EXPECT_EQ(bytes[1], 0xFF);
    EXPECT_EQ(block.EveryWeeks(), -2) << "read sign-extended";
    EXPECT_EQ(block.DayMask(), 0x41);

    block.SetMonthlyByWeekday(4, 5, 0x0801);
    const uint8_t byWeekday[16] = {1, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0, 0x01, 0x08, 0, 0};
    EXPECT_EQ(std::memcmp(bytes.data(), byWeekday, 16), 0);
    EXPECT_EQ(bytes[16], 0xEE) << "monthly writes sixteen bytes";
    EXPECT_EQ(block.Ordinal(), 4);
    EXPECT_EQ(block.Weekday(), 5);
    EXPECT_EQ(block.MonthMask(), 0x0801);

    block.SetMonthlyByDay(31, 0x0FFF);
    const uint8_t byDay[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 31, 0, 0xFF, 0x0F, 0, 0};
    EXPECT_EQ(std::memcmp(bytes.data(), byDay, 16), 0);
    EXPECT_EQ(block.ByWeekday(), 0);
    EXPECT_EQ(block.MonthDay(), 31);

    bytes[4] = 0xFF;
    bytes[5] = 0xFF;
    bytes[6] = 0xFF;
    bytes[7] = 0xFF;
    EXPECT_EQ(block.Ordinal(), -1);
}
