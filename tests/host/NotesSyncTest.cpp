// Another computer's notes file merged into this copy's list: what the list,
// the bin beside the file and the windows end up with, and what is left for
// the next save.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "MemoryNoteStore.h"
#include "MergeTestNotes.h"
#include "core/LocalTime.h"
#include "core/UnicodeText.h"
#include "notes/CNoteList.h"
#include "notes/ConflictCopies.h"
#include "notes/NoteIdSource.h"
#include "notes/NotesSync.h"

namespace {

constexpr const char* kPath = "C:\\Sync\\notes.dat";

void Fill(CNoteList& list, const std::vector<std::string>& notes)
{
    mergetest::Fill(list, notes, mergetest::Ids::kByPlace);
}

std::string Written(const CNote& note)
{
    return mergetest::Written(note) + " ";
}

std::string NotesOf(const CNoteList& list)
{
    std::string out;
    for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        out += Written(*list.GetAt(p));
    return out;
}

// The notes the file holds, as written; "unreadable" when it does not decode.
std::string FileNotes(MemoryNoteStore& store)
{
    CNoteList file;
    if (!store.files.count(kPath) || !file.LoadFromBytes(store.files[kPath]))
        return "unreadable";
    return NotesOf(file);
}

void AddAll(CDeletedNotesBin& bin, const CNoteList& deleted, NoteTime deletedAt)
{
    for (NotePos p = deleted.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        bin.Add(*deleted.GetAt(p), deletedAt);
}

class FakeView : public INotesSyncView {
public:
    explicit FakeView(CNoteList& notes) : m_notes(notes) {}
    bool IsBeingTypedIn(const CNote& note) override { return Utf8FromUtf16(note.m_strText) == typedIn; }
    // A note window that moves marks the list modified, as the real one does.
    void NoteTookNewForm(CNote& note) override
    {
        newForms += Written(note);
        m_notes.m_bModified = 1;
    }
    void NotesRearranged() override { ++rearranged; }

    std::string typedIn;
    std::string newForms;
    int rearranged = 0;

private:
    CNoteList& m_notes;
};

// A list read from the file, as at start-up, on a fixed day. Store is the
// disk: a MemoryNoteStore, or one that lets another program in at a step of
// a save.
template <typename Store>
struct SyncedListOn {
    explicit SyncedListOn(const std::vector<std::string>& written)
    {
        notes.SetFileStore(&store);
        notes.m_strPath = kPath;
        Fill(notes, written);
        store.ReplaceAll(kPath, notes.StoreToBytes());
        notes.m_bModified = 0;
        sync.SetClock([this] { return now; });
        sync.RememberFileAsBase(notes.StoreToBytes());
    }
    void OtherComputerWrites(const std::vector<std::string>& written)
    {
        CNoteList other;
        Fill(other, written);
        store.ReplaceAll(kPath, other.StoreToBytes());
    }
    // The bin beside the file, written with these notes added, deleted
    // secondsAgo: by the other computer, or before this copy looked.
    bool WriteBin(const std::vector<std::string>& written, int64_t secondsAgo = 60)
    {
        CNoteList deleted;
        Fill(deleted, written);
        CDeletedNotesBin bin(&store);
        bin.Load(CDeletedNotesBin::PathBeside(kPath), static_cast<NoteTime>(now));
        AddAll(bin, deleted, static_cast<NoteTime>(now - secondsAgo));
        return bin.Save();
    }
    std::string Notes() const { return NotesOf(notes); }
    std::string BinOnDisk()
    {
        CDeletedNotesBin bin(&store);
        bin.Load(CDeletedNotesBin::PathBeside(kPath), static_cast<NoteTime>(now));
        std::string out;
        for (const CDeletedNotesBin::Entry& entry : bin.Entries())
            out += Written(*entry.note);
        return out;
    }

    const int64_t now = FromLocal(2024, 3, 5, 14, 7, 0).value();
    Store store;
    CNoteList notes;
    FakeView view{notes};
    NotesSync sync{notes, store, view};
};
using SyncedList = SyncedListOn<MemoryNoteStore>;

}  // namespace

TEST(NotesSync, AMergeReachesTheListTheBinAndTheWindows)
{
    using Outcome = NotesSync::Outcome;
    const std::vector<std::string> same = {"a@0", "b@300"};
    struct Case {
        const char* label;
        std::optional<std::vector<std::string>> theirs;  // none: the file is not written
        const char* typedIn;
        bool ownChanges;  // changes of this copy wait to be saved
        Outcome outcome;
        const char* notes;
        const char* bin;
        const char* newForms;
        int reads;
        std::vector<std::string> theirBin = {};  // what the other computer put in the shared bin
        bool writtenBack = false;                 // the list holds what the file lacks
    } cases[] = {
        {"added there", {{"a@0", "b@300", "c@600"}}, "", false, Outcome::kMerged, "a@0 b@300 c@600 ", "", "", 1},
        {"deleted there: kept in the bin, once", {{"a@0"}}, "", false, Outcome::kMerged, "a@0 ", "b@300 ", "", 1,
         {"b@300#2"}},
        // A sync client kept the other computer's file, which never had it.
        {"missing there, not in the bin: stays", {{"a@0"}}, "", false, Outcome::kMerged, "a@0 b@300 ", "", "", 1, {},
         true},
        {"changed there: in place", {{"a@0", "B@300"}}, "", false, Outcome::kMerged, "a@0 B@300 ", "", "B@300 ", 1},
        {"moved there, ours waiting", {{"a@0", "b@400"}}, "", true, Outcome::kMerged, "a@0 b@400 ", "", "b@400 ", 1},
        // The caret alone is no change: a second window over the note would
        // take the user's next keys away from the note that is saved.
        {"changed there while the caret is in it here: in place, no copy", {{"a@0", "B@300"}}, "b", false,
         Outcome::kMerged, "a@0 B@300 ", "", "B@300 ", 1},
        {"written again as it was", same, "", false, Outcome::kUnchanged, "a@0 b@300 ", "", "", 1},
        {"not written: not even read", std::nullopt, "", false, Outcome::kUnchanged, "a@0 b@300 ", "", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SyncedList synced(same);
        if (!c.theirBin.empty())
            synced.WriteBin(c.theirBin);
        if (c.theirs)
            synced.OtherComputerWrites(*c.theirs);
        synced.view.typedIn = c.typedIn;
        synced.notes.m_bModified = c.ownChanges ? 1 : 0;

        EXPECT_EQ(synced.sync.MergeOutsideChanges().outcome, c.outcome);
        EXPECT_EQ(synced.Notes(), c.notes);
        EXPECT_EQ(synced.BinOnDisk(), c.bin);
        EXPECT_EQ(synced.view.newForms, c.newForms);
        EXPECT_EQ(synced.view.rearranged, c.outcome == Outcome::kMerged ? 1 : 0);
        EXPECT_EQ(synced.store.opens[kPath], c.reads);
        // Moves made by the merge are no change of ours: the list is what
        // the file holds unless ours still wait.
        EXPECT_EQ(synced.notes.m_bModified, c.ownChanges || c.writtenBack ? 1u : 0u);
        // The merged file is the new base: the next pass finds nothing new.
        EXPECT_EQ(synced.sync.MergeOutsideChanges().outcome, Outcome::kUnchanged);
        EXPECT_EQ(synced.store.opens[kPath], c.reads);
    }
}

namespace {

// The other version as a sync client still writing it leaves it.
std::vector<uint8_t> CutShort(SyncedList& synced, size_t keep(size_t))
{
    std::vector<uint8_t> torn = synced.store.files[kPath];
    torn.resize(keep(torn.size()));
    return torn;
}

// A full list here, and a version over there with two notes it cannot take.
std::vector<uint8_t> TooManyForTheList(SyncedList& synced)
{
    CNoteList theirs;
    for (int i = 0; i < CNoteList::kMaxNotes; ++i) {
        auto note = std::make_unique<CNote>();
        note->m_rcWindow = NoteRect{i, 0, i + 200, 150};
        if (i + 2 < CNoteList::kMaxNotes)
            synced.notes.Add(note->Clone());  // ours: all but two of theirs...
        theirs.Add(note);
    }
    Fill(synced.notes, {"made here@5", "and here@6"});  // ...and two made here
    synced.notes.m_bModified = 0;
    return theirs.StoreToBytes();
}

}  // namespace

// What cannot be taken from the other version stays in a copy of it, named
// to the second; ours, saved next, go over the file.
TEST(NotesSync, AVersionThatCannotBeTakenIsKeptAsADatedCopy)
{
    using Outcome = NotesSync::Outcome;
    struct Case {
        const char* label;
        std::vector<std::string> ours;
        std::vector<uint8_t> (*other)(SyncedList&);
        Outcome outcome;
        const char* copyPath;
        const char* notes;  // null: only counted
        int count;
    } cases[] = {
        {"cut in half", {"a@0", "b@300"},
         [](SyncedList& s) { return CutShort(s, [](size_t n) { return n / 2; }); }, Outcome::kKeptUnreadable,
         "C:\\Sync\\notes (from another computer 2024-03-05 140700).dat", "a@0 b@300 ", 2},
        {"zero bytes", {"a@0", "b@300"}, [](SyncedList& s) { return CutShort(s, [](size_t) { return size_t{0}; }); },
         Outcome::kKeptUnreadable, "C:\\Sync\\notes (from another computer 2024-03-05 140700).dat", "a@0 b@300 ",
         2},
        {"more notes than the list holds", {}, TooManyForTheList, Outcome::kMergedListFull,
         "C:\\Sync\\notes (did not fit 2024-03-05 140700).dat", nullptr, CNoteList::kMaxNotes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SyncedList synced(c.ours);
        const std::vector<uint8_t> other = c.other(synced);
        synced.store.ReplaceAll(kPath, other);

        const NotesSync::Result result = synced.sync.MergeOutsideChanges();
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.copyPath, c.copyPath);
        EXPECT_EQ(synced.store.files[result.copyPath], other) << "their notes stay in the copy";
        if (c.notes) {
            EXPECT_EQ(synced.Notes(), c.notes);
        }
        EXPECT_EQ(synced.notes.m_nCount, c.count);
        EXPECT_EQ(synced.notes.m_bModified, 1u) << "ours go over the file";
        EXPECT_EQ(synced.sync.MergeOutsideChanges().outcome, NotesSync::Outcome::kUnchanged) << "kept once";
    }
}

// A sync client's conflict copy beside the notes file (or beside the bin) is
// the other computer's version: what it holds that we lack comes, and the
// copy goes once our file holds it. One that cannot be read stays, told once.
TEST(NotesSync, ConflictCopiesBesideTheFileAreMergedThenRemoved)
{
    struct Case {
        const char* label;
        const char* name;
        std::vector<std::string> copy;  // empty: three bytes, no notes file
        bool isBin;
        const char* notes;
        const char* bin;
        int came;
        bool copyStays;
    } cases[] = {
        {"a note made there", "notes.sync-conflict-20240305-140512-ABCDEFG.dat", {"a@0", "b@300", "c@600"}, false,
         "a@0 b@300 c@600 ", "z@900 ", 1, false},
        {"nothing new", "notes (Anna's conflicted copy 2024-03-05).dat", {"b@300#2"}, false, "a@0 b@300 ", "z@900 ",
         0, false},
        {"a note deleted here stays deleted", "NOTES-LAPTOP.DAT", {"a@0", "z@900#9"}, false, "a@0 b@300 ", "z@900 ",
         0, false},
        // Known by id, not by content: no base says which text is newer.
        {"our note's text changed there: both versions", "notes.sync-conflict-20240305-140512-ABCDEFG.dat",
         {"a@0", "B@300"}, false, "a@0 b@300 B@508 ", "z@900 ", 1, false},
        {"a note made there like one of ours", "notes-LAPTOP.dat", {"a@0", "b@300", "a@0#7"}, false,
         "a@0 b@300 a@0 ", "z@900 ", 1, false},
        {"cannot be read", "notes-LAPTOP.dat", {}, false, "a@0 b@300 ", "z@900 ", 0, true},
        {"the bin's copy", "deleted-LAPTOP.dat", {"y@1200", "z@900"}, true, "a@0 b@300 ", "z@900 y@1200 ", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SyncedList synced({"a@0", "b@300"});
        ASSERT_TRUE(synced.WriteBin({"z@900#9"}, 0));  // ours
        std::vector<uint8_t> bytes{1, 2, 3};
        if (!c.copy.empty()) {
            CNoteList theirs;
            Fill(theirs, c.copy);
            CDeletedNotesBin theirBin;
            AddAll(theirBin, theirs, static_cast<NoteTime>(synced.now));
            bytes = c.isBin ? theirBin.StoreToBytes() : theirs.StoreToBytes();
        }
        const std::string copyPath = std::string("C:\\Sync\\") + c.name;
        synced.store.ReplaceAll(copyPath, bytes);

        ConflictCopies copies(synced.store);
        const ConflictCopies::Found found = copies.MergeInto(synced.sync, synced.notes, synced.now);
        EXPECT_EQ(found.notesCame, c.came);
        EXPECT_EQ(found.unreadable.size(), c.copyStays ? 1u : 0u);
        EXPECT_EQ(synced.notes.m_bModified, c.came > 0 ? 1u : 0u) << "what came is saved";
        EXPECT_EQ(synced.Notes(), c.notes);
        EXPECT_EQ(synced.BinOnDisk(), c.bin);
        copies.RemoveMerged();
        EXPECT_EQ(synced.store.Exists(copyPath), c.copyStays);
        EXPECT_TRUE(copies.MergeInto(synced.sync, synced.notes, synced.now).unreadable.empty()) << "told once";
    }
}

TEST(NotesSync, ADamagedBinIsKeptAsideAndANewOneKeepsDeletes)
{
    SyncedList synced({"a@0", "b@300"});
    const std::string binPath = CDeletedNotesBin::PathBeside(kPath);
    synced.store.files[binPath] = {0x00, 0x01, 0x00};
    CDeletedNotesBin* bin = synced.sync.Bin();
    ASSERT_NE(bin, nullptr);
    const std::string kept = synced.sync.TakeDamagedBinCopy();
    EXPECT_EQ(kept, "C:\\Sync\\deleted (damaged 2024-03-05 140700).dat");
    EXPECT_EQ(synced.store.files[kept], (std::vector<uint8_t>{0x00, 0x01, 0x00}));
    EXPECT_EQ(synced.sync.TakeDamagedBinCopy(), "") << "told once";

    // The other computer deletes as it does: into the shared bin, now a new one.
    synced.WriteBin({"b@300#2"});
    synced.OtherComputerWrites({"a@0"});
    synced.sync.MergeOutsideChanges();
    EXPECT_EQ(synced.Notes(), "a@0 ");
    EXPECT_EQ(synced.BinOnDisk(), "b@300 ") << "deletes are kept again";

    // Damaged again while this copy runs: kept aside beside the first one,
    // and the deletes this copy knows written back.
    synced.store.ReplaceAll(binPath, std::vector<uint8_t>{0x00, 0x02});
    ASSERT_NE(synced.sync.Bin(), nullptr);
    const std::string second = synced.sync.TakeDamagedBinCopy();
    ASSERT_NE(second, "");
    EXPECT_NE(second, kept);
    EXPECT_EQ(synced.store.files[second], (std::vector<uint8_t>{0x00, 0x02}));
    EXPECT_EQ(synced.store.files[kept], (std::vector<uint8_t>{0x00, 0x01, 0x00}));
    EXPECT_EQ(synced.BinOnDisk(), "b@300 ");
}

namespace {

// Another program renames its file over the notes file while a save is on
// its way, at the first tries of a save (every try: -1).
class RacingStore : public MemoryNoteStore {
public:
    ReplaceOutcome ReplaceAllUnlessChanged(const std::string& path, std::span<const uint8_t> bytes,
                                           const std::optional<FileStamp>& expected) override
    {
        if (racesLeft != 0) {
            --racesLeft;
            ++raceNumber;
            CNoteList other;
            Fill(other, {"theirs" + std::to_string(raceNumber) + "@" + std::to_string(700 + raceNumber)});
            other.GetAt(other.GetHeadPosition())->m_identity.id = NoteId{2, static_cast<uint64_t>(raceNumber)};
            ReplaceAll(path, other.StoreToBytes());
        }
        return MemoryNoteStore::ReplaceAllUnlessChanged(path, bytes, expected);
    }
    int racesLeft = 0;
    int raceNumber = 0;
};

}  // namespace

TEST(NotesSync, ASaveNeverReplacesAFileWrittenSinceItsMerge)
{
    using SaveResult = NotesSync::SaveResult;
    struct Case {
        const char* label;
        int races;
        bool gone;  // the file was removed after this copy last wrote it
        SaveResult result;
        const char* file;  // the notes file afterwards
    } cases[] = {
        {"nobody else writes", 0, false, SaveResult::kSaved, "a@0 "},
        {"written once meanwhile: merged, then saved", 1, false, SaveResult::kSaved, "a@0 theirs1@701 "},
        {"written at every try: left for the next pass", -1, false, SaveResult::kPostponed, "theirs4@704 "},
        {"gone: made again from ours", 0, true, SaveResult::kSaved, "a@0 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SyncedListOn<RacingStore> synced({});
        if (c.gone)
            synced.store.files.erase(kPath);
        Fill(synced.notes, {"a@0"});
        synced.store.racesLeft = c.races;

        NotesSync::Result merged;
        EXPECT_EQ(synced.sync.MergeAndSave(merged), c.result);
        EXPECT_EQ(FileNotes(synced.store), c.file);
        EXPECT_EQ(synced.notes.m_bModified, c.result == SaveResult::kSaved ? 0u : 1u) << "unsaved changes stay marked";
    }
}

TEST(NotesSync, TheBinKeepsWhatEitherCopyPutInAndForgetsWhatEitherTookOut)
{
    struct Case {
        const char* label;
        std::vector<std::string> theirs;  // the bin the other copy wrote
        const char* ours;                 // deleted here afterwards
        const char* bin;                  // the bin on disk at the end
    } cases[] = {
        {"put in over there, then here", {"k@1", "t@2"}, "o@3", "k@1 t@2 o@3 "},
        {"taken out over there", {}, "o@3", "o@3 "},
        {"nothing new over there", {"k@1"}, "o@3", "k@1 o@3 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SyncedList synced({"o@3"});
        const std::string binPath = CDeletedNotesBin::PathBeside(kPath);
        synced.WriteBin({"k@1"});
        ASSERT_NE(synced.sync.Bin(), nullptr);  // this copy reads the bin as it starts

        CDeletedNotesBin other(&synced.store);
        other.Load(binPath, static_cast<NoteTime>(synced.now));
        while (!other.Entries().empty())
            other.Take(0);
        CNoteList theirs;
        Fill(theirs, c.theirs);
        AddAll(other, theirs, static_cast<NoteTime>(synced.now - 60));
        synced.store.clock += 1;
        other.Save();

        // Deleted here as the main window deletes: into the bin, bin saved.
        CDeletedNotesBin* bin = synced.sync.Bin();
        bin->Add(*synced.notes.GetAt(synced.notes.GetHeadPosition()), static_cast<NoteTime>(synced.now));
        bin->Save();
        EXPECT_EQ(synced.BinOnDisk(), c.bin);
    }
}

// The other computer decides whether a change is newer than the version it
// holds by the change stamps: a change made here must count as newer even
// when this computer's clock is behind the one that made the version.
TEST(NotesSync, AChangeMadeHereIsNewerThanTheVersionItChanged)
{
    struct Case {
        const char* label;
        int64_t thereAhead;  // seconds the other computer's clock is ahead of ours
    } cases[] = {
        {"clocks agree, both in one second", 0},
        {"our clock an hour behind", 3600},
        {"our clock a year behind", 366 * 86400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SyncedList here({"a@0"});
        here.notes.SetClock([&here] { return here.now; });  // the save stamps by the list's clock
        CNoteList there;
        Fill(there, {"b@0"});
        there.GetAt(there.GetHeadPosition())->m_identity.changedUtc = here.now + c.thereAhead;
        here.store.ReplaceAll(kPath, there.StoreToBytes());
        ASSERT_EQ(here.sync.MergeOutsideChanges().outcome, NotesSync::Outcome::kMerged);

        here.notes.GetAt(here.notes.GetHeadPosition())->m_strText = Utf16FromUtf8("c");
        here.notes.m_bModified = 1;
        NotesSync::Result merged;
        ASSERT_EQ(here.sync.MergeAndSave(merged), NotesSync::SaveResult::kSaved);

        CNoteList written;
        ASSERT_TRUE(written.LoadFromBytes(here.store.files[kPath]));
        EXPECT_GT(written.GetAt(written.GetHeadPosition())->m_identity.changedUtc, here.now + c.thereAhead);
        const NotesMergePlan plan = PlanNotesMerge(there, there, written);
        ASSERT_EQ(plan.update.size(), 1u) << "taken over there, not dropped as a stale copy";
        EXPECT_EQ(Utf8FromUtf16(plan.update[0].second->m_strText), "c");
    }
}

namespace {

// One of two computers whose folders a sync client keeps in step: both
// start from one file, each with its own installation id.
struct Computer {
    Computer(const std::vector<std::string>& written, NoteId installation) : id(installation), synced(written)
    {
        synced.notes.SetClock([this] { return synced.now; });
        for (NotePos p = synced.notes.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
            NoteIdentity& identity = synced.notes.GetAt(p)->m_identity;
            identity.changedUtc = synced.now - 3600;
            identity.changedBy = NoteId{0xC, 0xC};  // made on a third computer, long ago
        }
        synced.store.ReplaceAll(kPath, synced.notes.StoreToBytes());
        synced.sync.RememberFileAsBase(synced.notes.StoreToBytes());
        synced.notes.RememberNotesAsStamped();
    }
    std::vector<uint8_t> Save()
    {
        NoteIdSource::SetInstallation(id);
        synced.notes.m_bModified = 1;
        NotesSync::Result merged;
        EXPECT_EQ(synced.sync.MergeAndSave(merged), NotesSync::SaveResult::kSaved);
        return synced.store.files[kPath];
    }
    // A housekeeping pass: the file, then the conflict copies, then a save.
    void Pass()
    {
        NoteIdSource::SetInstallation(id);
        synced.sync.MergeOutsideChanges();
        ConflictCopies copies(synced.store);
        copies.MergeInto(synced.sync, synced.notes, synced.now);
        NotesSync::Result merged;
        synced.sync.MergeAndSave(merged);
        copies.RemoveMerged();
    }
    void Type(int index, const char* text) { synced.notes.GetAt(index)->m_strText = Utf16FromUtf8(text); }

    NoteId id;
    SyncedList synced;
};

constexpr const char* kConflictCopy = "C:\\Sync\\notes.sync-conflict-20240305-140512-ABCDEFG.dat";

}  // namespace

// Offline, each computer changed the notes; back online, the sync client
// kept B's file as the notes file on both and A's beside it as a conflict
// copy. Both computers end with every note and edit, once; a note typed in
// on both has its two versions, once.
TEST(NotesSync, ASyncClientsConflictCopyLosesAndDuplicatesNothing)
{
    struct Case {
        const char* label;
        void (*offlineA)(Computer&);
        void (*offlineB)(Computer&);
        const char* notes;  // on both computers at the end
    } cases[] = {
        {"A adds a note, B types in another", [](Computer& a) { Fill(a.synced.notes, {"A-1@600#3"}); },
         [](Computer& b) { b.Type(1, "B"); }, "a@0 B@300 A-1@600 "},
        {"A adds a note, B deletes one", [](Computer& a) { Fill(a.synced.notes, {"A-1@600#3"}); },
         [](Computer& b) {
             b.synced.sync.Bin()->Add(*b.synced.notes.GetAt(0), static_cast<NoteTime>(b.synced.now));
             b.synced.sync.Bin()->Save();
             b.synced.notes.Remove(b.synced.notes.GetHeadPosition());
         },
         "b@300 A-1@600 "},
        {"both type in one note: ours, and the other version beside it once", [](Computer& a) { a.Type(1, "A"); },
         [](Computer& b) { b.Type(1, "B"); }, "a@0 B@300 A@508 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Computer a({"a@0", "b@300"}, NoteId{0xA, 0xA}), b({"a@0", "b@300"}, NoteId{0xB, 0xB});
        c.offlineA(a);
        c.offlineB(b);
        const std::vector<uint8_t> fromA = a.Save(), fromB = b.Save();
        // The sync client: B's file and bin on both, A's file as a copy.
        const std::string bin = CDeletedNotesBin::PathBeside(kPath);
        const auto binOfB = b.synced.store.files.find(bin);
        const std::vector<uint8_t> binFromB =
            binOfB != b.synced.store.files.end() ? binOfB->second : std::vector<uint8_t>{};
        for (Computer* side : {&a, &b}) {
            side->synced.store.ReplaceAll(kPath, fromB);
            side->synced.store.ReplaceAll(kConflictCopy, fromA);
            if (!binFromB.empty())
                side->synced.store.ReplaceAll(bin, binFromB);
            side->Pass();
        }
        // Each saved its merge; the sync client brings A's to B, then back.
        b.synced.store.ReplaceAll(kPath, a.synced.store.files[kPath]);
        b.Pass();
        a.synced.store.ReplaceAll(kPath, b.synced.store.files[kPath]);
        a.Pass();
        EXPECT_EQ(a.synced.Notes(), c.notes);
        EXPECT_EQ(b.synced.Notes(), c.notes);
        EXPECT_FALSE(a.synced.store.Exists(kConflictCopy));
    }
    NoteIdSource::SetInstallation(NoteId{});
}

namespace {

// The file with a note added on the other computer, under an id of its own.
std::vector<uint8_t> TheirFile()
{
    CNoteList other;
    Fill(other, {"a@0", "theirs@700"});
    other.GetAt(CNoteList::GetNext(other.GetHeadPosition()))->m_identity.id = NoteId{9, 9};
    return other.StoreToBytes();
}

}  // namespace

// A sync client that takes the file away for a moment (deletes it and puts
// it back, or is half-way through replacing it): the passes wait for it, and
// take in what comes back, before ours is written in its place.
TEST(NotesSync, AFileGoneAtAPassIsWaitedForBeforeOursTakesItsPlace)
{
    struct Case {
        const char* label;
        bool changedHere;
        int backAtPass;      // 0: never
        const char* passes;  // per pass: W waiting, S saved, N nothing to save, F failed, P postponed
        const char* file;
    } cases[] = {
        {"back at the second pass, with a note from there", true, 2, "WSNN", "a@0 b@300 theirs@700 "},
        {"never back: ours after three passes", true, 0, "WWWS", "a@0 b@300 "},
        {"never back, nothing changed here: ours all the same", false, 0, "WWWS", "a@0 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SyncedList synced({"a@0"});
        synced.store.files.erase(kPath);
        if (c.changedHere)
            Fill(synced.notes, {"b@300"});
        std::string passes;
        for (int pass = 1; pass <= 4; ++pass) {
            if (pass == c.backAtPass)
                synced.store.ReplaceAll(kPath, TheirFile());
            NotesSync::Result merged;
            passes += "NSFPW"[static_cast<int>(synced.sync.MergeAndSave(merged, true))];
        }
        EXPECT_EQ(passes, c.passes);
        EXPECT_EQ(FileNotes(synced.store), c.file);
    }
}

namespace {

// Another computer's file lands just before a save renames ours in, after
// the file was moved aside.
class LandingStore : public MemoryNoteStore {
public:
    bool MoveWithoutReplacing(const std::string& from, const std::string& to) override
    {
        if (!landing.empty() && from == TemporaryPathOf(to))
            ReplaceAll(to, std::exchange(landing, {}));
        return MemoryNoteStore::MoveWithoutReplacing(from, to);
    }
    std::vector<uint8_t> landing;
};

}  // namespace

// What a save moved aside and did not remove (a kill, or a file that came
// before its rename) is never lost and never kept twice.
TEST(NotesSync, AFileMovedAsideByASaveComesBackOnce)
{
    enum class Setup { kAloneAfterAKill, kBesideTheFileAfterAKill, kOursWhenAFileLanded };
    struct Case {
        const char* label;
        Setup setup;
        const char* notes;
    } cases[] = {
        {"alone: put back as the file", Setup::kAloneAfterAKill, "a@0 b@300 theirs@700 "},
        {"beside the file: merged as a conflict copy", Setup::kBesideTheFileAfterAKill, "a@0 b@300 theirs@700 "},
        {"ours, moved aside when theirs landed: dropped, theirs merged", Setup::kOursWhenAFileLanded,
         "a@0 b@300 theirs@700 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SyncedListOn<LandingStore> synced({"a@0"});
        ConflictCopies copies(synced.store);
        Fill(synced.notes, {"b@300"});
        const std::vector<uint8_t> other = TheirFile();
        const std::string aside = MovedAsidePathOf(kPath);
        LandingStore& store = synced.store;
        switch (c.setup) {
        case Setup::kAloneAfterAKill: store.files.erase(kPath), store.files[aside] = other; break;
        case Setup::kBesideTheFileAfterAKill: store.files[aside] = other; break;
        case Setup::kOursWhenAFileLanded: store.landing = other; break;
        }

        for (int pass = 0; pass < 2; ++pass) {
            synced.sync.MergeOutsideChanges();
            copies.MergeInto(synced.sync, synced.notes, 0);
            NotesSync::Result merged;
            if (synced.sync.MergeAndSave(merged, true) == NotesSync::SaveResult::kSaved)
                copies.RemoveMerged();
        }
        EXPECT_EQ(FileNotes(store), c.notes);
        std::string others;
        for (const auto& [path, bytes] : store.files)
            if (path != kPath && path != CDeletedNotesBin::PathBeside(kPath) && path.find("Backups") == std::string::npos)
                others += path + " ";
        EXPECT_EQ(others, "") << "nothing left beside the file";
    }
}
