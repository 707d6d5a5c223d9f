#pragma once
// One scheduler pass over the note list: visible notes get their windows
// back, due notes are brought up, stamped with the day, and their alarms
// started, one after the other in list order. A snoozed note whose time has
// come is brought up the same way, without the day's stamp: a snooze never
// takes the place of the schedule's own occurrence. What touches the screen, the
// main window and the sound card is behind IScheduleActions.
#include <string>

#include "notes/CNoteList.h"
#include "schedule/IsDue.h"

class IScheduleActions {
public:
    virtual ~IScheduleActions() = default;
    // Makes the note's window; nullptr when it could not be made (the next
    // pass tries again).
    virtual CNoteWnd* CreateNoteWindow(CNote& note) = 0;
    // The note has just become visible: the main window refreshes its row.
    virtual void NoteShown(CNote& note) = 0;
    virtual bool SoundFileExists(const std::u16string& path) = 0;
    // Starts the alarm; it may still be playing when the pass goes on.
    virtual void PlayAlarm(const std::u16string& path) = 0;
    // The pass brought the note up (due, or back from a snooze), in list
    // order: the reminder that asks for the user's attention.
    virtual void NoteCameUp(CNote&) {}
};

// The pass with now fixed for all its notes.
void RunSchedulePass(CNoteList& notes, NoteTime now, IScheduleActions& actions);

// The first part of a pass alone: every visible note outside its scheduling
// dialog gets its window back (at start-up, before the first pass is due).
void GiveWindowsToVisibleNotes(CNoteList& notes, IScheduleActions& actions);

// The pass's work on one note.
void ScheduleNote(CNoteList& notes, CNote& note, const DueClock& clock, IScheduleActions& actions);
