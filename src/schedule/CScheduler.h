#pragma once
// The scheduler the main window owns: one pass over the note list per
// housekeeping tick. The decisions are the portable pass's; this class gives
// it windows, the note host's row refresh, the file check and the sound.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "notewnd/INoteHost.h"
#include "schedule/SchedulePass.h"

// Where the pass takes "now" from.
class IScheduleClock {
public:
    virtual ~IScheduleClock() = default;
    virtual NoteTime Now() const = 0;
};

// Plays an alarm file.
class IAlarmPlayer {
public:
    virtual ~IAlarmPlayer() = default;
    virtual void Play(const std::u16string& path) = 0;
};

// The computer's clock.
class CSystemClock : public IScheduleClock {
public:
    NoteTime Now() const override { return CurrentNoteTime(); }
};

// The wave file in the background (see WaveSound.h): the pass, and every
// window with it, goes on while it plays. A sound the program is already
// playing is not cut off (the alarm is then skipped), so of two notes due in
// one pass only the first may be heard; a file that cannot be played gives
// silence rather than the system's default sound.
class CWaveAlarmPlayer : public IAlarmPlayer {
public:
    void Play(const std::u16string& path) override;
};

class CScheduler : private IScheduleActions {
public:
    // Makes a note's window (nullptr on failure); by default a note window
    // that does not take the focus.
    using WindowFactory = std::function<CNoteWnd*(CNote*)>;

    // The real clock and sound. The notes shown and their windows tell host
    // of their changes.
    CScheduler(CNoteList& notes, INoteHost& host);
    // host, clock and player must outlive the scheduler.
    CScheduler(CNoteList& notes, INoteHost& host, const IScheduleClock& clock, IAlarmPlayer& player);

    // One pass; always returns 1.
    int ScheduleTick();

    void SetWindowFactory(WindowFactory factory) { m_createWindow = std::move(factory); }

    // Hears of the notes a pass brought up, in list order, once their
    // windows are above the others: the reminder that asks for attention.
    // Not called for a pass that brought none.
    using RemindersHandler = std::function<void(const std::vector<CNote*>& notes)>;
    void SetRemindersHandler(RemindersHandler handler) { m_onReminders = std::move(handler); }

    // Gives every visible note its window now, as the next pass would.
    void ShowVisibleNotes();

private:
    CNoteWnd* CreateNoteWindow(CNote& note) override;
    void NoteShown(CNote& note) override;
    bool SoundFileExists(const std::u16string& path) override;
    void PlayAlarm(const std::u16string& path) override;
    void NoteCameUp(CNote& note) override;

    CNoteList& m_notes;
    INoteHost& m_host;
    const IScheduleClock& m_clock;
    IAlarmPlayer& m_player;
    WindowFactory m_createWindow;
    RemindersHandler m_onReminders;
    std::vector<CNote*> m_cameUp;  // during a pass
};
