#pragma once
// Moments and scheduled notes for the scheduler's tests and timings. Moments
// are written as local clock readings (through the C runtime's mktime), so a
// row holds in whichever zone the suite runs under.
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

#include "notes/CNote.h"
#include "core/UnicodeText.h"

namespace schedtest {

enum Kind : uint32_t { kOneTime = 0, kDaily = 1, kWeekly = 2, kMonthly = 3 };

inline NoteTime Local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    tm.tm_isdst = -1;
    return static_cast<NoteTime>(std::mktime(&tm));
}

// The day last shown a confirmed schedule starts with.
inline NoteTime Mark1980()
{
    return Local(1980, 1, 1);
}

// A confirmed, enabled schedule, not brought up since it was confirmed.
inline void SetSchedule(CNote& note, uint32_t kind, NoteTime startDate, NoteTime startTime)
{
    note.m_bSchedDisabled = 0;
    note.m_bSchedNew = 0;
    note.m_nSchedKind = kind;
    note.m_tStartDate = startDate;
    note.m_tStartTime = startTime;
    note.m_tLastShown = Mark1980();
}

// The day the pass tests run on: Wednesday 2024-06-12.
inline NoteTime PassDay()
{
    return Local(2024, 6, 12);
}

// A hidden note with a one-time schedule due from 13:30 on PassDay, with its
// alarm on when a sound is named.
inline std::unique_ptr<CNote> MakeDueNote(const std::string& text, const std::string& sound)
{
    auto note = std::make_unique<CNote>();
    note->m_strText = Utf16FromUtf8(text);
    SetSchedule(*note, kOneTime, PassDay(), Local(2024, 6, 12, 13, 30));
    note->m_bVisible = 0;
    note->m_bAlarm = sound.empty() ? 0 : 1;
    note->m_strSoundFile = Utf16FromUtf8(sound);
    return note;
}

}  // namespace schedtest
