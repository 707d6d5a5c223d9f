#pragma once
// The conflict copies a sync client leaves beside the notes file and the
// deleted-notes bin (see ConflictCopyMatcher): each one is another
// computer's version, so its notes are merged into ours like the file's,
// its deleted notes into our bin, and the copy goes once what it brought is
// safe in our own files. A copy that cannot be read stays where it is.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "notes/NoteFileStore.h"

class CNoteList;
class NotesSync;

class ConflictCopies {
public:
    explicit ConflictCopies(INoteFileStore& store) : m_store(store) {}

    struct Found {
        int notesCame = 0;                 // notes the list gained from the copies
        std::vector<std::string> unreadable;  // copies that cannot be read, each named once
        std::vector<std::string> leftOut;     // kept copies of notes a full list could not take
    };
    // Merges every conflict copy beside the notes file (sync's list) into
    // the list and the bin. now: seconds since 1970, for the bin's dates and
    // the names of kept copies.
    Found MergeInto(NotesSync& sync, CNoteList& notes, int64_t now);
    // Removes the notes-file copies merged by the last MergeInto; to be
    // called once the notes file holds the merge. A copy written again since
    // it was read stays, for the next merge.
    void RemoveMerged();

private:
    struct Merged {
        std::string path;
        FileStamp stamp;
    };
    void MergeNotesCopy(NotesSync& sync, CNoteList& notes, const std::string& path, int64_t now, Found& found);
    void MergeBinCopy(NotesSync& sync, const std::string& path, int64_t now, Found& found);
    // The copy's bytes, or none when it is busy or unreadable (told once).
    bool ReadCopy(const std::string& path, std::vector<uint8_t>& bytes, FileStamp& stamp);
    void NoteUnreadable(const std::string& path, const FileStamp& stamp, Found& found);
    void RemoveIfUnchanged(const Merged& copy);

    INoteFileStore& m_store;
    std::vector<Merged> m_merged;
    std::map<std::string, FileStamp> m_toldUnreadable;
};
