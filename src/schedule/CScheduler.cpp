#include "schedule/CScheduler.h"

#include "notewnd/CNoteWnd.h"
#include "schedule/WaveSound.h"

namespace {

const CSystemClock& SystemClock()
{
    static const CSystemClock clock;
    return clock;
}

CWaveAlarmPlayer& WavePlayer()
{
    static CWaveAlarmPlayer player;
    return player;
}

}  // namespace

void CWaveAlarmPlayer::Play(const std::u16string& path)
{
    PlayWaveInBackground(path);
}

CScheduler::CScheduler(CNoteList& notes, INoteHost& host) : CScheduler(notes, host, SystemClock(), WavePlayer()) {}

CScheduler::CScheduler(CNoteList& notes, INoteHost& host, const IScheduleClock& clock, IAlarmPlayer& player)
    : m_notes(notes),
      m_host(host),
      m_clock(clock),
      m_player(player),
      m_createWindow([&host](CNote* note) { return CNoteWnd::Create(note, false, host); })
{
}

int CScheduler::ScheduleTick()
{
    RunSchedulePass(m_notes, m_clock.Now(), *this);
    return 1;
}

void CScheduler::ShowVisibleNotes()
{
    GiveWindowsToVisibleNotes(m_notes, *this);
}

CNoteWnd* CScheduler::CreateNoteWindow(CNote& note)
{
    return m_createWindow ? m_createWindow(&note) : nullptr;
}

void CScheduler::NoteShown(CNote& note)
{
    m_host.NoteChanged(note.m_pos);
}

bool CScheduler::SoundFileExists(const std::u16string& path)
{
    return WaveFileExists(path);
}

void CScheduler::PlayAlarm(const std::u16string& path)
{
    m_player.Play(path);
}
