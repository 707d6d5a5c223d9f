// Another computer's notes file merged into this copy's list: what the list,
// the bin beside the file and the windows end up with, and what is left for
// the next save.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "MemoryNoteStore.h"
#include "core/LocalTime.h"
#include "core/UnicodeText.h"
#include "notes/CNoteList.h"
#include "notes/NotesSync.h"

namespace {

constexpr const char* kPath = "C:\\Sync\\notes.dat";

// "text@x": a note with that text at that place. The notes at one place of
// two lists are one note, as their ids make them.
void Fill(CNoteList& list, const std::vector<std::string>& notes)
{
    for (const std::string& written : notes) {
        const size_t at = written.find('@');
        auto note = std::make_unique<CNote>();
        note->m_identity = {NoteId{1, static_cast<uint64_t>(list.m_nCount) + 1}, 0, 0, {}};
        note->m_strText = Utf16FromUtf8(written.substr(0, at));
        const int x = std::stoi(written.substr(at + 1));
        note->m_rcWindow = NoteRect{x, 0, x + 200, 150};
        list.Add(note);
    }
}

std::string Written(const CNote& note)
{
    return Utf8FromUtf16(note.m_strText) + "@" + std::to_string(note.m_rcWindow.left) + " ";
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

// A list read from the file, as at start-up, on a fixed day.
struct SyncedList {
    explicit SyncedList(const std::vector<std::string>& written)
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
    std::string Notes() const
    {
        std::string out;
        for (NotePos p = notes.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            out += Written(*notes.GetAt(p));
        return out;
    }
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
    MemoryNoteStore store;
    CNoteList notes;
    FakeView view{notes};
    NotesSync sync{notes, store, view};
};

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
    } cases[] = {
        {"added there", {{"a@0", "b@300", "c@600"}}, "", false, Outcome::kMerged, "a@0 b@300 c@600 ", "", "", 1},
        {"deleted there: kept in the bin", {{"a@0"}}, "", false, Outcome::kMerged, "a@0 ", "b@300 ", "", 1},
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
        EXPECT_EQ(synced.notes.m_bModified, c.ownChanges ? 1u : 0u);
        // The merged file is the new base: the next pass finds nothing new.
        EXPECT_EQ(synced.sync.MergeOutsideChanges().outcome, Outcome::kUnchanged);
        EXPECT_EQ(synced.store.opens[kPath], c.reads);
    }
}

TEST(NotesSync, AFileCutShortIsKeptAsADatedCopyAndOursGoBack)
{
    SyncedList synced({"a@0", "b@300"});
    std::vector<uint8_t> torn = synced.store.files[kPath];
    torn.resize(torn.size() / 2);
    synced.store.ReplaceAll(kPath, torn);

    const NotesSync::Result result = synced.sync.MergeOutsideChanges();
    EXPECT_EQ(result.outcome, NotesSync::Outcome::kKeptUnreadable);
    EXPECT_EQ(result.copyPath, "C:\\Sync\\notes (from another computer 2024-03-05 1407).dat");
    EXPECT_EQ(synced.store.files[result.copyPath], torn);
    EXPECT_EQ(synced.Notes(), "a@0 b@300 ");
    EXPECT_EQ(synced.notes.m_bModified, 1u) << "ours are written over the torn file";
    EXPECT_EQ(synced.sync.MergeOutsideChanges().outcome, NotesSync::Outcome::kUnchanged) << "kept once";
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
        RacingStore store;
        CNoteList notes;
        notes.SetFileStore(&store);
        notes.m_strPath = kPath;
        FakeView view(notes);
        NotesSync sync(notes, store, view);
        store.ReplaceAll(kPath, notes.StoreToBytes());
        sync.RememberFileAsBase(notes.StoreToBytes());
        if (c.gone)
            store.files.erase(kPath);
        Fill(notes, {"a@0"});
        store.racesLeft = c.races;

        NotesSync::Result merged;
        EXPECT_EQ(sync.MergeAndSave(merged), c.result);
        CNoteList file;
        ASSERT_TRUE(file.LoadFromBytes(store.files[kPath]));
        std::string written;
        for (NotePos p = file.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            written += Written(*file.GetAt(p));
        EXPECT_EQ(written, c.file);
        EXPECT_EQ(notes.m_bModified, c.result == SaveResult::kSaved ? 0u : 1u) << "unsaved changes stay marked";
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
        CDeletedNotesBin start(&synced.store);
        start.Load(binPath, static_cast<NoteTime>(synced.now));
        CNoteList kept;
        Fill(kept, {"k@1"});
        start.Add(*kept.GetAt(kept.GetHeadPosition()), static_cast<NoteTime>(synced.now - 60));
        start.Save();
        ASSERT_NE(synced.sync.Bin(), nullptr);  // this copy reads the bin as it starts

        CDeletedNotesBin other(&synced.store);
        other.Load(binPath, static_cast<NoteTime>(synced.now));
        while (!other.Entries().empty())
            other.Take(0);
        CNoteList theirs;
        Fill(theirs, c.theirs);
        for (NotePos p = theirs.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            other.Add(*theirs.GetAt(p), static_cast<NoteTime>(synced.now - 60));
        synced.store.clock += 1;
        other.Save();

        // Deleted here as the main window deletes: into the bin, bin saved.
        CDeletedNotesBin* bin = synced.sync.Bin();
        bin->Add(*synced.notes.GetAt(synced.notes.GetHeadPosition()), static_cast<NoteTime>(synced.now));
        bin->Save();
        EXPECT_EQ(synced.BinOnDisk(), c.bin);
    }
}
