#pragma once
// Where deleted notes go: the steps of this run that Ctrl+Z takes back, and
// the bin beside the notes file (the notes sync keeps it) with a copy of each
// past the run, from which "Deleted notes..." brings them back.
#include <windows.h>

#include <optional>
#include <vector>

#include "mainwnd/UndoDeletes.h"
#include "notes/CNoteList.h"
#include "notes/NotesSync.h"

class DeletedNotes {
public:
    DeletedNotes(CNoteList& notes, NotesSync& sync) : m_notes(notes), m_sync(sync) {}

    // Every delete ends here: the notes leave the list, as one step of the
    // undo steps, and a copy of each goes to the bin. `lastFirst`: in list
    // order from the last up, so each note's index is still the one it had
    // before this delete.
    void Delete(const std::vector<NotePos>& lastFirst);
    bool CanUndo() const { return m_undo.CanUndo(); }
    // The notes of the last delete, back in the list (and out of the bin),
    // in list order.
    std::vector<CNote*> Undo();
    // The notes the user chose from the bin, back in the list; nothing when
    // the user chose none.
    std::optional<std::vector<CNote*>> RestoreChosen(HWND owner);

private:
    void Keep(std::vector<UndoDeletes::Deleted> step);

    CNoteList& m_notes;
    NotesSync& m_sync;
    UndoDeletes m_undo;
};
