// One scheduler pass over the largest list (32767 notes, none due, no window
// to make), walked in list order, against the same pass looking each note up
// by index from the head of the list.
#include <benchmark/benchmark.h>

#include <ctime>

#include "notes/CNoteList.h"
#include "schedule/RecurrenceBlock.h"
#include "schedule/SchedulePass.h"

namespace {

NoteTime Local(int y, int mo, int d, int h = 0, int mi = 0)
{
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_isdst = -1;
    return static_cast<NoteTime>(std::mktime(&tm));
}

const NoteTime kNow = Local(2024, 6, 12, 10, 0);  // a Wednesday

class CountingActions : public IScheduleActions {
public:
    CNoteWnd* CreateNoteWindow(CNote&) override
    {
        ++m_requests;
        return nullptr;
    }
    void NoteShown(CNote&) override { ++m_requests; }
    bool SoundFileExists(const std::string&) override { return false; }
    void PlayAlarm(const std::string&) override { ++m_requests; }
    int m_requests = 0;
};

void Schedule(CNote& note, uint32_t kind, NoteTime startDate, int hour, int minute)
{
    note.m_bSchedDisabled = 0;
    note.m_bSchedNew = 0;
    note.m_nSchedKind = kind;
    note.m_tStartDate = startDate;
    note.m_tStartTime = Local(2024, 1, 1, hour, minute);
    note.m_tLastShown = Local(2024, 6, 1);
}

// A list as a user with many notes might have: most notes unscheduled, the
// rest spread over the kinds, each not due for its own reason.
std::unique_ptr<CNoteList> MixedList()
{
    auto list = std::make_unique<CNoteList>();
    for (int i = 0; i < CNoteList::kMaxNotes; ++i) {
        auto note = std::make_unique<CNote>();
        note->m_bVisible = 0;
        switch (i % 8) {
        case 4:  // one time, tomorrow
            Schedule(*note, 0, Local(2024, 6, 13), 9, 0);
            break;
        case 5:  // daily, already shown today
            Schedule(*note, 1, Local(2024, 1, 1), 9, 0);
            RecurrenceBlock(note->m_recur).SetDaily(1, false);
            note->m_tLastShown = Local(2024, 6, 12);
            break;
        case 6:  // weekly on Mondays
            Schedule(*note, 2, Local(2024, 1, 1), 9, 0);
            RecurrenceBlock(note->m_recur).SetWeekly(1, 1 << 1);
            break;
        case 7:  // daily, later today: every rule has to be asked
            Schedule(*note, 1, Local(2024, 1, 1), 18, 0);
            RecurrenceBlock(note->m_recur).SetDaily(1, false);
            break;
        default:  // unscheduled
            break;
        }
        list->Add(note);
    }
    return list;
}

// Every note scheduled daily for later today: the dearest note the due test
// can meet, on every note.
std::unique_ptr<CNoteList> AllLaterTodayList()
{
    auto list = std::make_unique<CNoteList>();
    for (int i = 0; i < CNoteList::kMaxNotes; ++i) {
        auto note = std::make_unique<CNote>();
        note->m_bVisible = 0;
        Schedule(*note, 1, Local(2024, 1, 1), 18, 0);
        RecurrenceBlock(note->m_recur).SetDaily(1, false);
        list->Add(note);
    }
    return list;
}

void PerNote(benchmark::State& state)
{
    state.counters["per_note"] = benchmark::Counter(CNoteList::kMaxNotes,
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void BM_SchedulerPass(benchmark::State& state)
{
    const auto list = MixedList();
    CountingActions actions;
    for (auto _ : state)
        RunSchedulePass(*list, kNow, actions);
    if (actions.m_requests != 0)
        state.SkipWithError("a note was due");
    PerNote(state);
}

void BM_SchedulerPassAllLaterToday(benchmark::State& state)
{
    const auto list = AllLaterTodayList();
    CountingActions actions;
    for (auto _ : state)
        RunSchedulePass(*list, kNow, actions);
    if (actions.m_requests != 0)
        state.SkipWithError("a note was due");
    PerNote(state);
}

// The same work, each note found by walking from the head of the list.
void BM_SchedulerPassByIndexFromHead(benchmark::State& state)
{
    const auto list = MixedList();
    CountingActions actions;
    for (auto _ : state) {
        const DueClock clock = DueClock::At(kNow);
        for (int i = 0; i < list->m_nCount; ++i)
            ScheduleNote(*list, *list->GetAt(i), clock, actions);
    }
    if (actions.m_requests != 0)
        state.SkipWithError("a note was due");
    PerNote(state);
}

}  // namespace

BENCHMARK(BM_SchedulerPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchedulerPassAllLaterToday)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchedulerPassByIndexFromHead)->Unit(benchmark::kMillisecond);
