#pragma once
// What a note window tells the program around it: the note list that keeps
// its note and the main window that lists it. Each window gets its host when
// it is made, so a window (and a test of one) needs no application object.
#include "notes/CNote.h"

class INoteHost {
public:
    virtual ~INoteHost() = default;
    // The note's text, look, flags or schedule changed: the notes file needs
    // saving, and the note's row is refreshed once the current message is
    // done, never during this call.
    virtual void NoteChanged(NotePos pos) = 0;
    // The note's window was moved or sized, or text is being typed that
    // goes into the note a moment later: only the notes file needs saving.
    virtual void NoteMoved() = 0;
    // The user deleted the note from its window. Done before this returns:
    // the row and the note are gone afterwards.
    virtual void NoteDeleted(NotePos pos) = 0;
    // Ctrl+Z with no typing to undo: the last delete comes back, later.
    virtual void UndoLastDelete() = 0;
    // New notes take this note's paper, ink and font from now on.
    virtual void UseAsNewNoteStyle(NotePos pos) = 0;
};
