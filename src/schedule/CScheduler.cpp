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
    m_cameUp.clear();
    RunSchedulePass(m_notes, m_clock.Now(), *this);
    if (m_cameUp.empty())
        return 1;
    // Over the window the user is in, whose keyboard it keeps: a note that
    // came up behind it would go unseen.
    for (CNote* note : m_cameUp) {
        if (note->m_pWnd)
            note->m_pWnd->RaiseWithoutActivating();
    }
    // Moved out first: the handler may run a message loop, and with it
    // another pass.
    const std::vector<CNote*> cameUp = std::move(m_cameUp);
    m_cameUp.clear();
    if (m_onReminders)
        m_onReminders(cameUp);
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

void CScheduler::NoteCameUp(CNote& note)
{
    m_cameUp.push_back(&note);
}

void CScheduler::PlayAlarm(const std::u16string& path)
{
    m_player.Play(path);
}
