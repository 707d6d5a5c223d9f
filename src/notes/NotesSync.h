#pragma once
// This copy's notes and the notes file that other copies of the program
// change too (another computer, through a folder a sync service shares):
// before each save, whatever the file gained since this copy last read or
// wrote it is merged into the list (PlanNotesMerge), never written over, and
// a save does not replace a file that changed again since that merge; and
// the deleted-notes bin beside the file, where notes deleted here or over
// there are kept, merged with the bin the other copy wrote in the same way.
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
class NoteIdTable;

// What a merge needs of the windows that show the notes.
class INotesSyncView {
public:
    virtual ~INotesSyncView() = default;
    // True while the user types in the note. Its text is replaced only when
    // this side left it as last saved (else the other side's text comes
    // beside it), and its window keeps the focus and the caret.
    virtual bool IsBeingTypedIn(const CNote& note) = 0;
    // The note took the other side's stored form; its window, when it has
    // one, shows the new form where the note now is, or closes, without
    // taking the focus from where the user types.
    virtual void NoteTookNewForm(CNote& note) = 0;
    // Notes came or went: the rows are laid out again and the visible notes
    // without a window get one.
    virtual void NotesRearranged() = 0;
    // The part of the screen holding the rectangle that notes may cover, so
    // that the other side's version of a note is put where it is seen.
    virtual NoteRect WorkAreaAt(const NoteRect& rect)
    {
        return {rect.left - 4096, rect.top - 4096, rect.right + 4096, rect.bottom + 4096};
    }
    // The other side's versions of notes whose text both sides changed were
    // added beside them (after NotesRearranged): they come to the front
    // without taking the keyboard from where the user types, and the user
    // learns that both versions are on the desktop.
    virtual void BothVersionsKept(const std::vector<CNote*>& versions) { (void)versions; }
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
        int keptBoth = 0;  // notes whose other version came beside them
    };
    enum class SaveResult {
        kNothingToSave,  // no change of ours: the file already holds the list
        kSaved,
        kFailed,         // the write failed; the list stays modified
        kPostponed,      // the file kept changing under every try: the next pass tries again
        kWaitingForFile, // the file is gone for now (a sync client replacing it): not made again yet
    };
    // How often a save merges again when the file changed between its merge
    // and its rename, before it leaves the save to the next pass.
    static constexpr int kMaxMergeRounds = 4;
    // How many passes a file that went away has to come back before ours
    // is written in its place: a sync client that deletes the file and puts
    // it back, or replaces it, takes a moment, and a file made again at once
    // from this copy's notes would read as every other note deleted here.
    static constexpr int kPassesToWaitForMissingFile = 3;

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
    // Merges, then saves the list (when modified); the rename is made only
    // when the file is still the one merged, else it merges again. merged
    // receives what the merges did: the one that kept a version aside, when
    // one did, else the last that found the file changed.
    // A periodic pass waits for a file that went away (waitForMissingFile);
    // a save that may be the last (at exit) writes ours at once.
    SaveResult MergeAndSave(Result& merged, bool waitForMissingFile = false);
    // Milliseconds to the next periodic pass: a little different each time
    // and on each computer, so that two copies do not save in step.
    int NextPassDelayMs();
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
    // The ids in the bin, each with its note's stored fingerprint.
    NoteIdTable BinnedIds();
    // Keeps bytes that are not a notes file beside it; returns the copy's path.
    std::string KeepUnreadable(const std::vector<uint8_t>& bytes);
    // Keeps bytes of the file at path beside it, named for why; the copy's
    // path, or empty when it could not be written.
    std::string KeepCopy(const std::string& path, const std::string& why, const std::vector<uint8_t>& bytes);
    // The bin file at path could not be read as a bin: kept aside, a new
    // one is started. False when it could not be kept (held open, say).
    bool StartNewBin(const std::string& path);
    // A file a save moved aside and did not remove (MovedAsidePathOf): put
    // back when the place is free; else removed when it is the file a merge
    // here already took in; else left as a conflict copy, for ConflictCopies
    // to merge like another computer's file.
    void TakeInMovedAside();
    // False when a pass is to wait for the missing file rather than write
    // ours in its place.
    bool MayWriteMissingFile(bool waitForMissingFile);
    // Returns how many notes were kept in two versions; counts in
    // m_nNotAdded the notes a full list could not take.
    int ApplyMerge(const NotesMergePlan& plan);
    void MoveToBin(const std::vector<NotePos>& gone);
    void TakeNewForm(NotePos pos, const CNote& from);
    void AddFromDisk(const CNote& from);
    std::vector<CNote*> KeepBothVersions(const std::vector<std::pair<NotePos, const CNote*>>& conflicts);
    // Takes in what the other copy did to the bin file since this copy
    // last read or wrote it; writes the bin back when the file lacks some
    // of this copy's.
    void MergeBinOnDisk();
    // The bin file turned out damaged after this copy read it: kept aside
    // (TakeDamagedBinCopy), and ours written in its place.
    void KeepDamagedBinOnDisk(const std::vector<uint8_t>& bytes);

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
    std::optional<FileStamp> m_binStamp;
    std::vector<std::vector<uint8_t>> m_binBase;  // the bin file's entries as last read or written
    uint64_t m_jitterState = 0;
    std::optional<FileStamp> m_mergedAside;  // the stamp of the last file a save moved aside after its merge
    int m_nPassesMissing = 0;  // passes in a row that found the file gone
};
