#pragma once
// Two copies of the program on one notes file (a folder a sync service
// shares between two computers): when the file changed on disk, the notes
// this copy holds are merged with the file's instead of being written over
// it.
//
// The file holds no identity for a note, so a note is known by its whole
// stored form. The comparison is three-way, against the file as this copy
// last read or wrote it (the base):
// - a note of the base that the disk no longer has was deleted or changed
//   over there; if this copy left it as it was, it goes here too (or takes
//   the changed form, see below);
// - a note on disk that the base does not have was added or changed over
//   there, and comes here unless this copy already has the same note;
// - whatever this copy added or changed itself stays, whatever the disk
//   did: where both sides changed one note, both versions are kept.
// So no note added on either side and deleted on neither is ever lost.
//
// A note that goes here and a note that comes from disk are taken for one
// note changed over there when they had the same place on the screen, or
// else the same text: the note then takes the new form in place, so its
// window stays where the user knows it.
#include <utility>
#include <vector>

#include "notes/CNote.h"

class CNoteList;

struct NotesMergePlan {
    std::vector<NotePos> remove;                        // local notes that go
    std::vector<std::pair<NotePos, const CNote*>> update;  // local note, its new form
    std::vector<const CNote*> add;                      // disk notes that come, in disk order

    bool Empty() const { return remove.empty() && update.empty() && add.empty(); }
};

// What local must do to hold the merge of itself and remote, both compared
// with base. The plan points into local and remote.
NotesMergePlan PlanNotesMerge(const CNoteList& base, const CNoteList& local, const CNoteList& remote);
