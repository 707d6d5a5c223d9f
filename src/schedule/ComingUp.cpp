#include "schedule/ComingUp.h"

#include <algorithm>

#include "schedule/NextOccurrence.h"

std::vector<ComingUpRow> ComingUpRows(const CNoteList& notes, NoteTime now)
{
    constexpr int64_t kSpan = int64_t{kComingUpDays} * 86400;
    const int64_t end = now + kSpan;
    // Whole local days through the last moment: one day more than the span.
    OccurrenceDays days(now);
    std::vector<ComingUpRow> rows;
    for (NotePos pos = notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos)) {
        const CNote& note = *notes.GetAt(pos);
        if (note.m_tSnoozeUntil != 0 && note.m_tSnoozeUntil < end)
            rows.push_back({std::max(note.m_tSnoozeUntil, now), pos, true});
        if (note.m_bSchedDisabled || note.m_bInSchedDialog)
            continue;
        const std::optional<NoteTime> next = NextOccurrence(note, now, days, kComingUpDays + 1);
        if (next && *next < end)
            rows.push_back({*next, pos, false});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const ComingUpRow& a, const ComingUpRow& b) { return a.at < b.at; });
    return rows;
}
