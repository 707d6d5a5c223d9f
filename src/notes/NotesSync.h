#pragma once
// This copy's notes and the notes file that other copies of the program
// change too (another computer, through a folder a sync service shares):
// before each save, whatever the file gained since this copy last read or
// wrote it is merged into the list (PlanNotesMerge), never written over; and
// the deleted-notes bin beside the file, where notes deleted here or over
// there are kept.
//
// The windows above the list follow the merge through INotesSyncView; what
// to tell the user is left to the caller, from the result.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "notes/DeletedNotesBin.h"
#include "notes/NoteFileStore.h"
#include "notes/NotesMerge.h"

class CNoteList;

// What a merge needs of the windows that show the notes.
class INotesSyncView {
public:
    virtual ~INotesSyncView() = default;
    // True while the user types in the note: it is not replaced under the
    // caret, the other side's version comes as a note of its own.
    virtual bool IsBeingTypedIn(const CNote& note) = 0;
    // The note took the other side's stored form; its window, when it has
    // one, shows the new form where the note now is, or closes.
    virtual void NoteTookNewForm(CNote& note) = 0;
    // Notes came or went: the rows are laid out again and the visible notes
    // without a window get one.
    virtual void NotesRearranged() = 0;
};

class NotesSync {
public:
    enum class Outcome {
        kUnchanged,       // the file is as this copy knows it, or cannot be read just now
        kMerged,          // the file's notes and this copy's are merged in the list
        kKeptUnreadable,  // not a notes file: kept as copyPath, ours go back into the file
        kMergedListFull,  // merged, but a full list left notes out: the file is kept as copyPath
    };
    struct Result {
        Outcome outcome = Outcome::kUnchanged;
        std::string copyPath;
    };

    // The list's m_strPath is the notes file; the store reads it and writes
    // the files beside it.
    NotesSync(CNoteList& notes, INoteFileStore& store, INotesSyncView& view);
    NotesSync(const NotesSync&) = delete;
    NotesSync& operator=(const NotesSync&) = delete;

    // "Now" in seconds since 1970 (tests choose it): the date of the notes
    // put in the bin and, read as local time, the name of a kept file.
    void SetClock(std::function<int64_t()> clock) { m_clock = std::move(clock); }

    // The file as this copy last read or wrote it, and its stamp as it is
    // now: what later changes on disk are told from.
    void RememberFileAsBase(std::vector<uint8_t> bytes);
    // Merges what another copy (or the user) changed in the file since.
    // Cheap when the stamp did not change. Changes the merge makes (window
    // moves included) do not leave the list modified: without changes of
    // its own the list then is what the file holds.
    Result MergeOutsideChanges();
    // The bin beside the notes file, read on first need; null when there is
    // no notes file (a test's list).
    CDeletedNotesBin* Bin();
    // A bin beside the file that was damaged: kept as this copy, and a new
    // bin started. Empty when there was none since the last call.
    std::string TakeDamagedBinCopy() { return std::exchange(m_damagedBinCopy, {}); }

    // Another computer's version of the file that is not the file itself (a
    // sync client's conflict copy): its notes are merged like the file's,
    // base holding what both sides already hold. The list is left modified
    // when the merge changed it, so that the file gets the result.
    struct OtherFileResult {
        int notesCame = 0;  // notes the list gained
        int notesLeftOut = 0;  // notes a full list could not take
    };
    OtherFileResult MergeOtherFile(const CNoteList& base, const CNoteList& other);

private:
    // Keeps bytes that are not a notes file beside it; returns the copy's path.
    std::string KeepUnreadable(const std::vector<uint8_t>& bytes);
    // Keeps bytes of the file at path beside it, named for why; the copy's
    // path, or empty when it could not be written.
    std::string KeepCopy(const std::string& path, const std::string& why, const std::vector<uint8_t>& bytes);
    // The bin file at path could not be read as a bin: kept aside, a new
    // one is started. False when it could not be kept (held open, say).
    bool StartNewBin(const std::string& path);
    void ApplyMerge(const NotesMergePlan& plan);
    void MoveToBin(const std::vector<NotePos>& gone);
    void TakeNewForm(NotePos pos, const CNote& from);

    CNoteList& m_notes;
    INoteFileStore& m_store;
    INotesSyncView& m_view;
    std::function<int64_t()> m_clock;
    std::vector<uint8_t> m_baseBytes;
    std::optional<FileStamp> m_baseStamp;
    CDeletedNotesBin m_bin;
    std::string m_strBinPath;  // the file m_bin was read from
    std::string m_damagedBinCopy;
    int m_nNotAdded = 0;  // notes the last merge could not add to a full list
};
