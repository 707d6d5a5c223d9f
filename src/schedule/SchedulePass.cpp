#include "schedule/SchedulePass.h"

namespace {

void GiveWindowIfMissing(CNote& note, IScheduleActions& actions)
{
    if (note.m_bVisible && !note.m_pWnd)
        note.m_pWnd = actions.CreateNoteWindow(note);
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
    if (!IsDue(note, clock))
        return;

    if (!note.m_bVisible) {
        note.m_bVisible = 1;
        actions.NoteShown(note);
    }
    GiveWindowIfMissing(note, actions);
    note.m_tLastShown = static_cast<NoteTime>(clock.today);
    notes.m_bModified = 1;

    if (note.m_bAlarm && !note.m_strSoundFile.empty() && actions.SoundFileExists(note.m_strSoundFile))
        actions.PlayAlarm(note.m_strSoundFile);
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
