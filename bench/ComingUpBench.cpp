// "Coming up" over the largest list, every note scheduled (the kinds mixed,
// one in eight also snoozed): the rows worked out and the texts the dialog
// keeps for each, as the dialog does when it opens.
#include <benchmark/benchmark.h>

#include "ScheduleTestNotes.h"
#include "notes/CNoteList.h"
#include "schedule/ComingUp.h"
#include "schedule/RecurrenceBlock.h"
#include "schedule/ReminderText.h"

namespace {

using namespace schedtest;

const NoteTime kNow = Local(2024, 6, 12, 10, 0);  // a Wednesday

void Prepare(CNote& note, int i)
{
    note.m_bVisible = 0;
    note.m_strText = u"Reminder number " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + u"\r\nmore";
    SetSchedule(note, kDaily, Local(2024, 1, 1), Local(2024, 1, 1, 6 + i % 14, i % 60));
    RecurrenceBlock recur(note.m_recur);
    switch (i % 8) {
    case 0: SetSchedule(note, kOneTime, Local(2024, 6, 12 + i % 9), Local(2024, 1, 1, 9, 0)); break;
    case 1: recur.SetDaily(1, false); break;
    case 2: recur.SetDaily(3, false); note.m_tLastShown = Local(2024, 6, 11); break;
    case 3: recur.SetDaily(0, true); break;
    case 4: note.m_nSchedKind = kWeekly; recur.SetWeekly(1, static_cast<uint16_t>(1 << (i % 7))); break;
    case 5: note.m_nSchedKind = kMonthly; recur.SetMonthlyByDay(static_cast<int16_t>(1 + i % 31), 0); break;
    case 6: note.m_nSchedKind = kMonthly; recur.SetMonthlyByWeekday(i % 5, static_cast<int16_t>(i % 7), 0); break;
    default:
        recur.SetDaily(1, false);
        note.m_tSnoozeUntil = kNow + 600 + i;
        note.m_nNotifyMinutes = 15;
        break;
    }
}

void BM_ComingUpFullList(benchmark::State& state)
{
    CNoteList list;
    for (int i = 0; i < CNoteList::kMaxNotes; ++i) {
        auto note = std::make_unique<CNote>();
        Prepare(*note, i);
        list.Add(note);
    }
    size_t rows = 0;
    for (auto _ : state) {
        const std::vector<ComingUpRow> found = ComingUpRows(list, kNow);
        std::vector<std::u16string> texts;
        texts.reserve(found.size() * 2);
        for (const ComingUpRow& row : found) {
            const CNote& note = *list.GetAt(row.pos);
            texts.push_back(FirstLineOf(note, 80));
            texts.push_back(RepeatTextOf(note));
        }
        rows = found.size();
        benchmark::DoNotOptimize(texts.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

}  // namespace

BENCHMARK(BM_ComingUpFullList)->Unit(benchmark::kMillisecond);
