#pragma once
// Every note of the program, in order, with the notes file that holds them.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "notes/CNote.h"
#include "notes/NoteChangeStamps.h"
#include "notes/NotesBackups.h"
#include "notes/NotesTrailer.h"

class CArchive;
class INoteFileStore;

class CNoteList {
public:
    // The signed 16-bit count of the file limits the list.
    static constexpr int kMaxNotes = 32767;
    static constexpr uint32_t kFileHeader = 256;

    CNoteList();
    ~CNoteList();
    CNoteList(const CNoteList&) = delete;
    CNoteList& operator=(const CNoteList&) = delete;

    // Inserts before the note at index (0 <= index < count), otherwise
    // appends. Returns the new place, or nullptr when the list is full; the
    // list then does not take the note, and the caller still owns it.
    NotePos Add(std::unique_ptr<CNote>& note, int index = -1);
    // Convenience for callers that build a note just to add it.
    NotePos Add(std::unique_ptr<CNote>&& note, int index = -1);
    // Destroys the note at the place (and its window) and drops the place.
    void Remove(NotePos pos);
    // Takes the note at the place out of the list without destroying it (its
    // window closes, as on Remove): a deleted note that can come back. The
    // place is no longer the list's; Add gives the note a new one.
    std::unique_ptr<CNote> Detach(NotePos pos);
    // The place's index in the list, or -1.
    int IndexOf(NotePos pos) const;

    // Walks from the head: fine for a single lookup, never inside a loop.
    CNote* GetAt(int index, NotePos* pos = nullptr) const;
    CNote* GetAt(NotePos pos) const { return static_cast<CNote*>(pos); }

    // In-order walk: for (NotePos p = GetHeadPosition(); p; p = GetNext(p)).
    NotePos GetHeadPosition() const { return m_head; }
    static NotePos GetNext(NotePos pos) { return pos->m_nextNode; }

    // Whole-list archive form: header, count, records, then the trailer
    // (NotesTrailer.h) with each note's identity and the sections of newer
    // versions this one keeps for them. An empty list with nothing kept is
    // written without a trailer. Loading gives every note an id (a new one
    // where the file has none) and remembers the records as unchanged.
    void Serialize(CArchive& ar);

    // Reads the file at path, creating it with the current list when it is
    // missing. On success the list is exactly the file's notes and path
    // becomes the file to save; on failure (unreadable, truncated,
    // malformed) the list keeps what it held before.
    bool Load(const std::string& path);
    // Reads the file like Load, taking its notes as a change made here (a
    // restore): a note that differs from what the list held under its id, or
    // that the list did not hold, takes a change stamp at the next save.
    bool LoadAsChange(const std::string& path, int64_t now);
    // Writes the list when modified, its change stamps brought up to date
    // first (StampChangedNotes). True when it wrote; a failed write keeps
    // the list modified so the next save tries again (on Windows the thread's
    // last error then says why). The first save of a day first keeps the file
    // as it stood as that day's backup (NotesBackups.h); a backup that cannot
    // be kept never stops the save.
    bool Save();
    // The bytes the last successful save wrote (empty before one).
    const std::vector<uint8_t>& LastWritten() const { return m_lastWritten; }
    // Reads a whole notes file held in memory; on failure the list keeps
    // what it held.
    bool LoadFromBytes(std::span<const uint8_t> bytes);

    // File store used by Load and Save (tests inject failing stores).
    void SetFileStore(INoteFileStore* store) { m_store = store; }
    INoteFileStore& FileStore() const { return *m_store; }
    // "Now" for the daily backup, in seconds since 1970 (tests choose the day).
    void SetClock(std::function<int64_t()> clock) { m_clock = std::move(clock); }
    int64_t Now() const { return m_clock(); }
    // True once after a save whose daily backup could not be kept, so that
    // the user is told once.
    bool TakeBackupFailure() { return std::exchange(m_bBackupFailed, false); }

    bool IsEmpty() const { return m_head == nullptr; }
    // The file form as the list stands; change stamps are left as they are.
    std::vector<uint8_t> StoreToBytes() const;

    // Gives every note changed since the last load, save or stamp (and every
    // note the list has not seen since then) now and installation as its
    // last change; a note without an id, or with the id of a note before it
    // in the list, becomes a new note made now. Call before comparing the
    // list with another copy of the file.
    void StampChangedNotes(int64_t now, NoteId installation);
    // The notes as they stand count as unchanged from here on (a merge that
    // took another computer's notes with their own stamps).
    void RememberNotesAsStamped();
    // Sections of the trailer that a newer version wrote and this one does
    // not read: written back as they came.
    const std::vector<NotesTrailer::Section>& KeptSections() const { return m_keptSections; }

    uint32_t m_bModified = 0;
    int16_t m_nCount = 0;
    std::string m_strPath;

private:
    void RemoveAll();
    // Drops this list's notes and takes over all of loaded's.
    void TakeNotesOf(CNoteList& loaded);
    // The list takes ownership; a note's own address is its place.
    NotePos InsertNode(std::unique_ptr<CNote> note, NoteNode* before);
    // Header, count and records; with stamps, each record is walked by them
    // as it is written.
    void WriteRecords(CArchive& ar, NoteChangeStamps* stamps);
    void WriteTrailer(CArchive& ar) const;
    void ReadTrailer(CArchive& ar);
    // Walks every note's stored record through the stamps.
    void WalkRecords();
    std::vector<CNote*> Notes() const;

    std::vector<uint8_t> m_lastWritten;
    NoteNode* m_head = nullptr;
    NoteNode* m_tail = nullptr;
    INoteFileStore* m_store;
    std::vector<uint8_t> m_saveBuffer;  // kept between saves for its capacity
    std::function<int64_t()> m_clock;
    DailyBackup m_dailyBackup;
    bool m_bBackupFailed = false;
    std::vector<NotesTrailer::Section> m_keptSections;
    NoteChangeStamps m_stamps;
};
