#include "notes/ConflictCopies.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/ConflictCopyMatcher.h"
#include "notes/DeletedNotesBin.h"
#include "notes/KeptCopyName.h"
#include "notes/NotesSync.h"

namespace {

using StoredForm = std::vector<uint8_t>;

StoredForm StoredFormOf(const CNote& note)
{
    CArchive ar;
    const_cast<CNote&>(note).Serialize(ar);  // storing does not change the note
    return ar.TakeBuffer();
}

// "C:\Sync" and '\' for "C:\Sync\notes.dat".
struct Folder {
    std::string path;
    char separator = '/';
    std::string name;  // the file's own name
};

Folder FolderOf(const std::string& filePath)
{
    const size_t slash = filePath.find_last_of("\\/");
    if (slash == std::string::npos)
        return {".", '/', filePath};
    return {filePath.substr(0, slash), filePath[slash], filePath.substr(slash + 1)};
}

// A note of ours the copy lacks was deleted over there when the bin holds
// it: as it went into the bin, it is the base, so the merge deletes it here
// too unless it changed here since.
void AddDeletedThere(const CNoteList& copy, const CNoteList& notes, const CDeletedNotesBin& bin, CNoteList& base)
{
    std::unordered_set<NoteId> inCopy;
    for (NotePos p = copy.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        inCopy.insert(copy.GetAt(p)->m_identity.id);
    std::unordered_map<NoteId, const CNote*> binned;
    for (const CDeletedNotesBin::Entry& entry : bin.Entries())
        binned[entry.note->m_identity.id] = entry.note.get();  // the latest delete of an id
    for (NotePos p = notes.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
        const NoteId& id = notes.GetAt(p)->m_identity.id;
        const auto found = binned.find(id);
        if (!inCopy.count(id) && found != binned.end())
            base.Add(found->second->Clone());
    }
}

// No file was ever the base of both: what both already hold is, and so is
// what was deleted here into the bin, which then stays deleted. A note is
// held when we hold its id in the same stored form; a copy none of whose ids
// we know (written without ids, so loading gave it new ones) is matched by
// stored form alone, and the merge then pairs its notes by content.
void FillCommonBase(const CNoteList& copy, const CNoteList& notes, const CDeletedNotesBin* bin, CNoteList& base)
{
    std::vector<const CNote*> held;
    for (NotePos p = notes.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        held.push_back(notes.GetAt(p));
    if (bin)
        for (const CDeletedNotesBin::Entry& entry : bin->Entries())
            held.push_back(entry.note.get());
    std::unordered_multimap<NoteId, StoredForm> byId;
    std::multiset<StoredForm> byForm;
    for (const CNote* note : held) {
        byForm.insert(StoredFormOf(*note));
        byId.emplace(note->m_identity.id, StoredFormOf(*note));
    }
    bool idsKnown = false;
    for (NotePos p = copy.GetHeadPosition(); p && !idsKnown; p = CNoteList::GetNext(p))
        idsKnown = byId.count(copy.GetAt(p)->m_identity.id) > 0;
    for (NotePos p = copy.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
        const CNote& note = *copy.GetAt(p);
        const StoredForm form = StoredFormOf(note);
        bool common = false;
        if (idsKnown) {
            const auto [first, last] = byId.equal_range(note.m_identity.id);
            common = std::any_of(first, last, [&](const auto& entry) { return entry.second == form; });
        } else if (const auto it = byForm.find(form); it != byForm.end()) {
            byForm.erase(it);
            common = true;
        }
        if (common)
            base.Add(note.Clone());
    }
    if (idsKnown && bin)
        AddDeletedThere(copy, notes, *bin, base);
}
}  // namespace

ConflictCopies::Found ConflictCopies::MergeInto(NotesSync& sync, CNoteList& notes, int64_t now)
{
    Found found;
    m_merged.clear();
    if (notes.m_strPath.empty())
        return found;
    const Folder folder = FolderOf(notes.m_strPath);
    const ConflictCopyMatcher notesCopy(folder.name);
    const ConflictCopyMatcher binCopy(FolderOf(CDeletedNotesBin::PathBeside(notes.m_strPath)).name);
    for (const std::string& name : m_store.ListFiles(folder.path)) {
        const std::string path = folder.path + folder.separator + name;
        if (notesCopy.Matches(name))
            MergeNotesCopy(sync, notes, path, now, found);
        else if (binCopy.Matches(name))
            MergeBinCopy(sync, path, now, found);
    }
    return found;
}

void ConflictCopies::MergeNotesCopy(NotesSync& sync, CNoteList& notes, const std::string& path, int64_t now,
                                    Found& found)
{
    std::vector<uint8_t> bytes;
    FileStamp stamp;
    if (!ReadCopy(path, bytes, stamp))
        return;
    CNoteList copy;
    if (!copy.LoadFromBytes(bytes)) {
        NoteUnreadable(path, stamp, found);
        return;
    }
    CNoteList base;
    FillCommonBase(copy, notes, sync.Bin(), base);
    const NotesSync::OtherFileResult merged = sync.MergeOtherFile(base, copy);
    found.notesCame += merged.notesCame;
    if (merged.notesLeftOut > 0) {
        // The list is full: that version goes on under a name no sync
        // client or merge looks at, with the notes that could not come.
        const KeptCopyName names([this](const std::string& candidate) { return m_store.Exists(candidate); });
        const std::string kept = names.PathFor(notes.m_strPath, "did not fit", now);
        if (!m_store.ReplaceAll(kept, bytes))
            return;
        found.leftOut.push_back(kept);
    }
    m_merged.push_back({path, stamp});
}

void ConflictCopies::MergeBinCopy(NotesSync& sync, const std::string& path, int64_t now, Found& found)
{
    std::vector<uint8_t> bytes;
    FileStamp stamp;
    if (!ReadCopy(path, bytes, stamp))
        return;
    CDeletedNotesBin copy(&m_store);
    if (!copy.LoadFromBytes(bytes, static_cast<NoteTime>(now))) {
        NoteUnreadable(path, stamp, found);
        return;
    }
    CDeletedNotesBin* bin = sync.Bin();
    if (!bin)
        return;
    std::multiset<StoredForm> held;
    for (const CDeletedNotesBin::Entry& entry : bin->Entries())
        held.insert(StoredFormOf(*entry.note));
    bool added = false;
    for (const CDeletedNotesBin::Entry& entry : copy.Entries()) {
        const auto it = held.find(StoredFormOf(*entry.note));
        if (it != held.end()) {
            held.erase(it);
            continue;
        }
        bin->Add(*entry.note, entry.deletedAt);
        added = true;
    }
    // The bin is its own file: once it holds the copy's notes, the copy goes.
    if (!added || bin->Save())
        RemoveIfUnchanged({path, stamp});
}

bool ConflictCopies::ReadCopy(const std::string& path, std::vector<uint8_t>& bytes, FileStamp& stamp)
{
    const std::optional<FileStamp> now = m_store.Stamp(path);
    if (!now)
        return false;
    const auto told = m_toldUnreadable.find(path);
    if (told != m_toldUnreadable.end() && told->second == *now)
        return false;  // unreadable as it was: left where it is, told already
    std::optional<std::vector<uint8_t>> read = ReadWholeFile(m_store, path);
    if (!read)
        return false;  // being written just now: the next pass looks again
    bytes = std::move(*read);
    stamp = *now;
    return true;
}

void ConflictCopies::NoteUnreadable(const std::string& path, const FileStamp& stamp, Found& found)
{
    // Told once, whatever it becomes: it is looked at again when it changes.
    if (!m_toldUnreadable.count(path))
        found.unreadable.push_back(path);
    m_toldUnreadable[path] = stamp;
}

void ConflictCopies::RemoveMerged()
{
    for (const Merged& copy : m_merged)
        RemoveIfUnchanged(copy);
    m_merged.clear();
}

void ConflictCopies::RemoveIfUnchanged(const Merged& copy)
{
    if (m_store.Stamp(copy.path) == copy.stamp)
        m_store.RemoveFile(copy.path);
}
