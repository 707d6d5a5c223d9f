// The merge of two computers' notes files at the list's limit: 32767 notes
// each, 50 changed on each side since the file both last saw.
#include <benchmark/benchmark.h>

#include "notes/CNoteList.h"
#include "notes/NotesMerge.h"

namespace {

void FillLargest(CNoteList& list)
{
    for (int i = 0; i < CNoteList::kMaxNotes; ++i) {
        auto note = std::make_unique<CNote>();
        note->m_strText = std::u16string(100, static_cast<char16_t>(u'a' + i % 26));
        note->m_tStartTime = note->m_tStartDate = note->m_tEndDate = note->m_tLastShown = 0;
        note->m_identity.id = {0x5eed, static_cast<uint64_t>(i) + 1};
        note->m_identity.changedUtc = 1000;
        list.Add(note);
    }
}

void BM_MergeLargestFilesDifferingIn100Notes(benchmark::State& state)
{
    CNoteList base, local, remote;
    FillLargest(base);
    FillLargest(local);
    FillLargest(remote);
    int i = 0;
    for (NotePos p = local.GetHeadPosition(); p; p = CNoteList::GetNext(p), ++i) {
        if (i % 656 == 0)
            local.GetAt(p)->m_rcWindow.left += 40;  // moved here
    }
    i = 0;
    for (NotePos p = remote.GetHeadPosition(); p; p = CNoteList::GetNext(p), ++i) {
        if (i % 656 == 328) {
            remote.GetAt(p)->m_strText += u" typed over there";
            remote.GetAt(p)->m_identity.changedUtc = 2000;
        }
    }
    size_t changes = 0;
    for (auto _ : state) {
        const NotesMergePlan plan = PlanNotesMerge(base, local, remote);
        changes = plan.update.size();
        benchmark::DoNotOptimize(changes);
    }
    state.counters["notes taking changes"] = static_cast<double>(changes);
}
BENCHMARK(BM_MergeLargestFilesDifferingIn100Notes)->Unit(benchmark::kMillisecond);

}  // namespace
