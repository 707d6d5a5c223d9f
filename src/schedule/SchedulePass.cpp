#include "schedule/SchedulePass.h"

namespace {

void GiveWindowIfMissing(CNote& note, IScheduleActions& actions)
{
    if (note.m_bVisible && !note.m_pWnd)
        note.m_pWnd = actions.CreateNoteWindow(note);
}

// Brings the note up: due today (clock given: the day is stamped), or back
// from a snooze. Apart from the pass's walk, which stays small.
void BringUp(CNoteList& notes, CNote& note, const DueClock* dueClock, IScheduleActions& actions)
{
    if (!note.m_bVisible) {
        note.m_bVisible = 1;
        actions.NoteShown(note);
    }
    GiveWindowIfMissing(note, actions);
    if (dueClock)
        note.m_tLastShown = static_cast<NoteTime>(dueClock->today);
    // Up again, by either road: the snooze has done its work.
    note.m_tSnoozeUntil = 0;
    notes.m_bModified = 1;
    actions.NoteCameUp(note);

    if (note.m_bAlarm && !note.m_strSoundFile.empty() && actions.SoundFileExists(note.m_strSoundFile))
        actions.PlayAlarm(note.m_strSoundFile);
}

}  // namespace

void GiveWindowsToVisibleNotes(CNoteList& notes, IScheduleActions& actions)
{
    for (NotePos pos = notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos)) {
        CNote& note = *notes.GetAt(pos);
        if (!note.m_bInSchedDialog)
            GiveWindowIfMissing(note, actions);
    }
}

void ScheduleNote(CNoteList& notes, CNote& note, const DueClock& clock, IScheduleActions& actions)
{
    // The scheduling dialog owns the note while it is open.
    if (note.m_bInSchedDialog)
        return;
    GiveWindowIfMissing(note, actions);
    const bool due = IsDue(note, clock);
    // A snooze whose time passed while the program was not running comes
    // back at the first pass.
    if (!due && (note.m_tSnoozeUntil == 0 || clock.now < note.m_tSnoozeUntil))
        return;
    BringUp(notes, note, due ? &clock : nullptr, actions);
}

void RunSchedulePass(CNoteList& notes, NoteTime now, IScheduleActions& actions)
{
    if (notes.IsEmpty())
        return;
    const DueClock clock = DueClock::At(now);
    // Nothing the pass calls dispatches messages, so no note leaves the list
    // under the walk.
    for (NotePos pos = notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos))
        ScheduleNote(notes, *notes.GetAt(pos), clock, actions);
}
