#pragma once
// The merge of notes that carry no id (see NotesMerge.h): the notes are
// known by their whole stored form, and a note that goes here and one that
// comes from disk are taken for one note changed over there when they had
// the same place, else the same text.
#include <vector>

#include "notes/NotesMerge.h"

struct NotesPairedByContent {
    std::vector<const CNote*> base;
    std::vector<NotePos> local;
    std::vector<const CNote*> remote;  // in disk order
};

// Fills an empty plan with what local must do for these notes.
void PlanContentMerge(const NotesPairedByContent& notes, NotesMergePlan& plan);
