#include "schedule/OccurrenceDays.h"

OccurrenceDays::OccurrenceDays(NoteTime from)
{
    RefreshLocalZone();
    m_valid = ToLocal(from, m_from);
    m_firstDay = m_valid ? DayNumber(m_from) : 0;
}

const DueClock* OccurrenceDays::Day(int index)
{
    if (!m_valid || index < 0)
        return nullptr;
    if (static_cast<size_t>(index) >= m_days.size())
        m_days.resize(static_cast<size_t>(index) + 1);
    std::optional<DueClock>& day = m_days[static_cast<size_t>(index)];
    if (!day) {
        const auto start = LocalMidnight(m_from.year, m_from.month, m_from.day + index);
        const auto end = LocalMidnight(m_from.year, m_from.month, m_from.day + index + 1);
        day = (start && end) ? DueClock::At(static_cast<NoteTime>(*end - 60), static_cast<NoteTime>(*start))
                             : DueClock{};
    }
    return day->valid ? &*day : nullptr;
}
