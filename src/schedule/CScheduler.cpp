#include "schedule/CScheduler.h"

#include "framework/CWinAppBase.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"
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

CScheduler::CScheduler(CNoteList& notes) : CScheduler(notes, SystemClock(), WavePlayer()) {}

CScheduler::CScheduler(CNoteList& notes, const IScheduleClock& clock, IAlarmPlayer& player, HWND receiver)
    : m_notes(notes),
      m_clock(clock),
      m_player(player),
      m_receiver(receiver),
      m_createWindow([](CNote* note) { return CNoteWnd::Create(note, false); })
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
    // Without a main window there is no row to refresh; a null window would
    // post to this thread's own queue instead.
    if (HWND receiver = Receiver())
        PostMessageA(receiver, WM_NOTE_CHANGED, NOTE_REFRESHED, reinterpret_cast<LPARAM>(note.m_pos));
}

bool CScheduler::SoundFileExists(const std::u16string& path)
{
    return WaveFileExists(path);
}

void CScheduler::PlayAlarm(const std::u16string& path)
{
    m_player.Play(path);
}

HWND CScheduler::Receiver() const
{
    if (m_receiver)
        return m_receiver;
    return CWinAppBase::Get() ? CWinAppBase::Get()->m_hMainWnd : nullptr;
}
