// One scheduler pass over the largest list (32767 notes, none due, no window
// to make), walked in list order, against the same pass looking each note up
// by index from the head of the list.
#include <benchmark/benchmark.h>

#include <functional>

#include "ScheduleTestNotes.h"
#include "notes/CNoteList.h"
#include "schedule/RecurrenceBlock.h"
#include "schedule/SchedulePass.h"

namespace {

using namespace schedtest;

const NoteTime kNow = Local(2024, 6, 12, 10, 0);  // a Wednesday

class CountingActions : public IScheduleActions {
public:
    CNoteWnd* CreateNoteWindow(CNote&) override
    {
        ++m_requests;
        return nullptr;
    }
    void NoteShown(CNote&) override { ++m_requests; }
    bool SoundFileExists(const std::u16string&) override { return false; }
    void PlayAlarm(const std::u16string&) override { ++m_requests; }
    int m_requests = 0;
};

// A schedule of the given kind at hour:minute, last shown on 1 June.
void Schedule(CNote& note, uint32_t kind, NoteTime startDate, int hour, int minute)
{
    SetSchedule(note, kind, startDate, Local(2024, 1, 1, hour, minute));
    note.m_tLastShown = Local(2024, 6, 1);
}

// The largest list, hidden notes each prepared by its place in the list.
std::unique_ptr<CNoteList> FullList(const std::function<void(CNote&, int)>& prepare)
{
    auto list = std::make_unique<CNoteList>();
    for (int i = 0; i < CNoteList::kMaxNotes; ++i) {
        auto note = std::make_unique<CNote>();
        note->m_bVisible = 0;
        prepare(*note, i);
        list->Add(note);
    }
    return list;
}

void DailyLaterToday(CNote& note)
{
    Schedule(note, kDaily, Local(2024, 1, 1), 18, 0);
    RecurrenceBlock(note.m_recur).SetDaily(1, false);
}

// A list as a user with many notes might have: most notes unscheduled, the
// rest spread over the kinds, each not due for its own reason.
std::unique_ptr<CNoteList> MixedList()
{
    return FullList([](CNote& note, int i) {
        switch (i % 8) {
        case 4:  // one time, tomorrow
            Schedule(note, kOneTime, Local(2024, 6, 13), 9, 0);
            break;
        case 5:  // daily, already shown today
            Schedule(note, kDaily, Local(2024, 1, 1), 9, 0);
            RecurrenceBlock(note.m_recur).SetDaily(1, false);
            note.m_tLastShown = Local(2024, 6, 12);
            break;
        case 6:  // weekly on Mondays
            Schedule(note, kWeekly, Local(2024, 1, 1), 9, 0);
            RecurrenceBlock(note.m_recur).SetWeekly(1, 1 << 1);
            break;
        case 7:  // daily, later today: every rule has to be asked
            DailyLaterToday(note);
            break;
        default:  // unscheduled
            break;
        }
    });
}

// Every note scheduled daily for later today: the dearest note the due test
// can meet, on every note.
std::unique_ptr<CNoteList> AllLaterTodayList()
{
    return FullList([](CNote& note, int) { DailyLaterToday(note); });
}

// One pass per iteration over the list with the given walk; none of its
// notes may come due.
void TimePasses(benchmark::State& state, CNoteList& list,
                const std::function<void(CNoteList&, IScheduleActions&)>& pass)
{
    CountingActions actions;
    for (auto _ : state)
        pass(list, actions);
    if (actions.m_requests != 0)
        state.SkipWithError("a note was due");
    state.counters["per_note"] = benchmark::Counter(CNoteList::kMaxNotes,
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void InListOrder(CNoteList& list, IScheduleActions& actions)
{
    RunSchedulePass(list, kNow, actions);
}

// The same work, each note found by walking from the head of the list.
void ByIndexFromHead(CNoteList& list, IScheduleActions& actions)
{
    const DueClock clock = DueClock::At(kNow);
    for (int i = 0; i < list.m_nCount; ++i)
        ScheduleNote(list, *list.GetAt(i), clock, actions);
}

void BM_SchedulerPass(benchmark::State& state)
{
    TimePasses(state, *MixedList(), InListOrder);
}

void BM_SchedulerPassAllLaterToday(benchmark::State& state)
{
    TimePasses(state, *AllLaterTodayList(), InListOrder);
}

void BM_SchedulerPassByIndexFromHead(benchmark::State& state)
{
    TimePasses(state, *MixedList(), ByIndexFromHead);
}

}  // namespace

BENCHMARK(BM_SchedulerPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchedulerPassAllLaterToday)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchedulerPassByIndexFromHead)->Unit(benchmark::kMillisecond);
