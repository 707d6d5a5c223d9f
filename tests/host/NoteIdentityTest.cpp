// A note's identity: kept through the bin, the backups and a restore, and
// its change stamp brought up to date by a save whoever changed the note.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "MemoryNoteStore.h"
#include "core/LocalTime.h"
#include "notes/CNoteList.h"
#include "notes/DeletedNotesBin.h"
#include "notes/NoteIdSource.h"
#include "notes/NotesBackups.h"

namespace {

const std::string kNotes = "C:\\Notes\\notes.dat";
const int64_t kMade = 1'700'000'000;

// A notes file of three notes made and last changed at kMade by another
// computer, loaded; the list's clock reads `now`, a day later.
struct Loaded {
    Loaded()
    {
        list.SetFileStore(&store);
        list.SetClock([this] { return now; });
        for (const char16_t* text : {u"one", u"two", u"three"}) {
            auto note = std::make_unique<CNote>();
            note->m_strText = text;
            note->m_identity = {NoteIdSource::NewId(), kMade, kMade, kElsewhere};
            list.Add(note);
        }
        store.files[kNotes] = list.StoreToBytes();
        EXPECT_TRUE(list.Load(kNotes));
        before = Identities();
    }
    CNote* Note(int index) { return list.GetAt(index); }
    std::vector<NoteIdentity> Identities()
    {
        std::vector<NoteIdentity> ids;
        for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            ids.push_back(list.GetAt(p)->m_identity);
        return ids;
    }
    // "-" for a note that kept its stamp, "S" for one stamped now here, "N"
    // for a note new to the file, in list order; after a save and a load.
    std::string Stamps()
    {
        CNoteList saved;
        saved.SetFileStore(&store);
        if (!saved.Load(kNotes))
            return "(unreadable)";
        std::string out;
        for (NotePos p = saved.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
            const NoteIdentity& id = saved.GetAt(p)->m_identity;
            const bool known = std::any_of(before.begin(), before.end(), [&](auto& b) { return b.id == id.id; });
            const bool stamped = id.changedUtc == now && id.changedBy == NoteIdSource::Installation();
            if (!known)
                out += stamped ? "N" : "?";
            else
                out += stamped ? "S" : id == Find(id.id) ? "-" : "?";
        }
        return out;
    }
    NoteIdentity Find(NoteId id)
    {
        for (const NoteIdentity& b : before)
            if (b.id == id)
                return b;
        return {};
    }

    static constexpr NoteId kElsewhere{0xE15E, 0xE15E};
    int64_t now = *FromLocal(2026, 12, 9, 10, 0, 0);
    MemoryNoteStore store;
    CNoteList list;
    std::vector<NoteIdentity> before;
};

}  // namespace

TEST(NoteIdentity, ASaveStampsWhatChangedAndKeepsIdsThroughTheBinAndTheBackups)
{
    const std::string binPath = CDeletedNotesBin::PathBeside(kNotes);
    struct Row {
        const char* label;
        std::function<void(Loaded&)> act;
        const char* stamps;
    } rows[] = {
        {"nothing changed", [](Loaded&) {}, "---"},
        {"typed in the second", [](Loaded& f) { f.Note(1)->m_strText += u"!"; }, "-S-"},
        {"the first moved", [](Loaded& f) { f.Note(0)->m_rcWindow.left += 10; }, "S--"},
        {"a new note", [](Loaded& f) { f.list.Add(std::make_unique<CNote>()); }, "---N"},
        {"a copy of the third", [](Loaded& f) { f.list.Add(f.Note(2)->Clone()); }, "---N"},
        {"deleted and taken back before a save", [](Loaded& f) {
             f.list.Add(f.list.Detach(f.Note(1)->m_pos), 1);
         }, "---"},
        {"the second through the bin's file and back", [&](Loaded& f) {
             CDeletedNotesBin bin(&f.store);
             bin.Load(binPath, static_cast<NoteTime>(f.now));
             bin.Add(*f.list.Detach(f.Note(1)->m_pos), static_cast<NoteTime>(f.now));
             ASSERT_TRUE(bin.Save());
             f.list.Save();
             CDeletedNotesBin read(&f.store);
             ASSERT_TRUE(read.Load(binPath, static_cast<NoteTime>(f.now)));
             f.list.Add(read.Take(0), 1);
         }, "-S-"},
        {"the day's backup restored after an edit", [](Loaded& f) {
             f.Note(0)->m_strText = u"edited";
             f.list.m_bModified = 1;
             f.list.Save();  // the first save of the day keeps the file as it was
             f.now += 60;
             const auto day = *DailyBackupNameAt(f.now);
             ASSERT_EQ(RestoreBackup(f.list, BackupPathOf(kNotes, BackupFileName(day)), f.now),
                       RestoreResult::kRestored);
         }, "S--"},
        {"a backup kept before a restore, restored after deletes", [](Loaded& f) {
             ASSERT_TRUE(KeepBackup(f.store, kNotes, f.list.StoreToBytes(), f.now));
             f.list.Remove(f.Note(2)->m_pos);
             f.list.Remove(f.Note(0)->m_pos);
             f.list.Save();
             const auto day = *DailyBackupNameAt(f.now);
             ASSERT_EQ(RestoreBackup(f.list, BackupPathOf(kNotes, BackupFileName({day.year, day.month, day.day, 2})),
                                     f.now),
                       RestoreResult::kRestored);
         }, "S-S"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Loaded f;
        row.act(f);
        f.list.m_bModified = 1;
        ASSERT_TRUE(f.list.Save());
        EXPECT_EQ(f.Stamps(), row.stamps);
    }
}
