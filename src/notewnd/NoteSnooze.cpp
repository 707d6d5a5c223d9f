#include "notewnd/NoteSnooze.h"

#include "res/resource.h"

bool SnoozeChoiceOfCommand(int command, SnoozeChoice& choice)
{
    static_assert(ID_NOTE_SNOOZE_LAST - ID_NOTE_SNOOZE_FIRST + 1 == kSnoozeChoiceCount);
    if (command < ID_NOTE_SNOOZE_FIRST || command > ID_NOTE_SNOOZE_LAST)
        return false;
    choice = static_cast<SnoozeChoice>(command - ID_NOTE_SNOOZE_FIRST);
    return true;
}

bool SnoozeNote(CNote& note, SnoozeChoice choice, NoteTime now)
{
    const std::optional<NoteTime> until = SnoozeUntil(choice, now);
    if (!until)
        return false;
    note.m_tSnoozeUntil = *until;
    return true;
}
