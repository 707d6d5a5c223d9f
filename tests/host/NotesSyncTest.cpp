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
        {"changed there while typed in here: both kept", {{"a@0", "B@300"}}, "b", false, Outcome::kMerged,
         "a@0 b@300 B@300 ", "", "", 1},
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
