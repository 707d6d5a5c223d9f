#pragma once
// The parts of a note that two computers can change independently: a note
// moved on one and typed in on the other has both changes, because its text
// and its place are merged apart from each other.
#include "notes/CNote.h"

enum class NoteFieldGroup {
    kText,      // what the user typed, with its character formats
    kLook,      // font and colours
    kPlace,     // rectangle, on top, shown or hidden
    kSchedule,  // every schedule field, the day it was last shown and its snooze
};

inline constexpr NoteFieldGroup kAllNoteFieldGroups[] = {NoteFieldGroup::kText, NoteFieldGroup::kLook,
                                                        NoteFieldGroup::kPlace, NoteFieldGroup::kSchedule};

// True when a and b hold the same values in the group.
bool SameFieldGroup(const CNote& a, const CNote& b, NoteFieldGroup group);
// True when every group of a and b is the same: nothing a user sees differs.
bool SameFields(const CNote& a, const CNote& b);
// Gives to the values from has in the group; the rest of to stays.
void CopyFieldGroup(CNote& to, const CNote& from, NoteFieldGroup group);
