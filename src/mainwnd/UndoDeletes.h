#pragma once
// The deletes of this run that Ctrl+Z can take back, newest last. One
// delete (a note's own Delete, or "Delete note" over several rows) is one
// step; each step keeps the notes themselves, each with its place in the
// list and whether it was on the desktop.
#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

#include "notes/CNote.h"

class CNoteList;

class UndoDeletes {
public:
    // More than the 20 steps a user can be sure of.
    static constexpr size_t kMaxSteps = 50;

    struct Deleted {
        std::unique_ptr<CNote> note;
        int index;  // in the list, before this step took any note away
    };

    // The notes of one delete, in any order.
    void Push(std::vector<Deleted> step);
    bool CanUndo() const { return !m_steps.empty(); }
    // Puts the notes of the newest step back into the list at their places,
    // and answers them (now owned by the list) in list order. Notes the
    // full list does not take stay in the step, which then stays.
    std::vector<CNote*> UndoInto(CNoteList& notes);
    // A note brought back some other way (from the bin) is no longer Ctrl+Z's
    // to bring back: drops the newest kept note with the same id (the same
    // stored form, for a note without one), and its step when that leaves
    // the step empty.
    void Forget(const CNote& note);

private:
    std::deque<std::vector<Deleted>> m_steps;
};
