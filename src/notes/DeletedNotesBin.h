#pragma once
// The deleted-notes bin: every deleted note is kept for 30 days (at most the
// last 1000) in deleted.dat beside the notes file, so that a delete clicked
// by mistake can be taken back later, after the program has ended.
//
// The file is a notes file: the notes come first in exactly the notes
// file's form, so anything that reads one reads the other, and the same
// trailer follows (NotesTrailer.h), with the notes' identities and, in a
// section of its own ("DELT": u32 count, u16 entry length 8, one i64 time per
// note in note order), the dates of the deletes. A missing or damaged
// section costs only what it held: notes without dates count as deleted
// when the bin was read, notes without ids get new ones. Bins written before
// the trailer carry their dates as "VDEL", a count and one 32-bit time per
// note; those are still read.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "notes/CNote.h"
#include "notes/NotesTrailer.h"

class INoteFileStore;

class CDeletedNotesBin {
public:
    static constexpr int kMaxNotes = 1000;
    static constexpr NoteTime kKeepSeconds = 30 * 24 * 60 * 60;
    static constexpr uint32_t kTrailerMagic = 0x4C454456;  // "VDEL", of bins before the trailer
    static constexpr uint32_t kDatesTag = TrailerTag("DELT");

    explicit CDeletedNotesBin(INoteFileStore* store = nullptr);
    ~CDeletedNotesBin();

    // deleted.dat in the notes file's folder.
    static std::string PathBeside(const std::string& notesPath);

    // Reads the bin at path (an empty bin when there is no file). False when
    // the file is there but is not a notes file: the bin then stays empty
    // and is not saved over the file, so nothing in it is lost.
    bool Load(const std::string& path, NoteTime now);
    // Writes the bin atomically; false when that failed.
    bool Save();

    // Keeps a copy of a deleted note, dropping what is too old or too many.
    void Add(const CNote& note, NoteTime deletedAt);
    // Drops the notes deleted more than 30 days before now, then the oldest
    // beyond 1000.
    void Prune(NoteTime now);

    struct Entry {
        std::unique_ptr<CNote> note;
        NoteTime deletedAt;
    };
    // Newest last, as they were deleted.
    const std::vector<Entry>& Entries() const { return m_entries; }
    // Takes the note at index out of the bin; nullptr for a bad index.
    std::unique_ptr<CNote> Take(size_t index);
    // Drops the newest copy of this note (one brought back by Ctrl+Z), found
    // by its id (by its stored form for a note without one).
    void Forget(const CNote& note);

    std::vector<uint8_t> StoreToBytes() const;
    // Reads bytes written by StoreToBytes (or a plain notes file).
    bool LoadFromBytes(const std::vector<uint8_t>& bytes, NoteTime now);

private:
    // The dates and ids after the notes; false when there is nothing after
    // them that this version reads.
    void ReadTrailer(std::span<const uint8_t> rest, std::vector<Entry>& loaded);

    INoteFileStore* m_store;
    std::string m_strPath;
    bool m_bWritable = true;
    std::vector<Entry> m_entries;
    std::vector<NotesTrailer::Section> m_keptSections;  // a newer version's, written back
};
