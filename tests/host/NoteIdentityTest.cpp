// A note's identity: kept through the bin, the backups and a restore, and
// its change stamp brought up to date by a save whoever changed the note;
// and every field the trailer carries for a note (id, formats, snooze) goes
// wherever the note goes, the merge with another computer included.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "MemoryNoteStore.h"
#include "RunsText.h"
#include "TrailerBytes.h"
#include "core/LocalTime.h"
#include "core/UnicodeText.h"
#include "notes/CNoteList.h"
#include "notes/DeletedNotesBin.h"
#include "notes/NoteFormatsSection.h"
#include "notes/NoteIdSource.h"
#include "notes/NoteIdText.h"
#include "notes/NoteIdentitySection.h"
#include "notes/NoteSnoozeSection.h"
#include "notes/NotesBackups.h"
#include "notes/NotesSync.h"

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

    // The note at index goes into the bin's file, the notes file is saved
    // without it, and it is taken back to its place.
    void ThroughTheBin(int index)
    {
        const std::string binPath = CDeletedNotesBin::PathBeside(kNotes);
        CDeletedNotesBin bin(&store);
        bin.Load(binPath, static_cast<NoteTime>(now));
        bin.Add(*list.Detach(Note(index)->m_pos), static_cast<NoteTime>(now));
        ASSERT_TRUE(bin.Save());
        list.Save();
        CDeletedNotesBin read(&store);
        ASSERT_TRUE(read.Load(binPath, static_cast<NoteTime>(now)));
        list.Add(read.Take(0), index);
    }
    // The notes as they are now kept as a backup; after meanwhile and a
    // save, that backup restored.
    void KeepAndRestoreBackup(const std::function<void()>& meanwhile)
    {
        ASSERT_TRUE(KeepBackup(store, kNotes, list.StoreToBytes(), now));
        meanwhile();
        list.Save();
        const auto day = *DailyBackupNameAt(now);
        ASSERT_EQ(RestoreBackup(list, BackupPathOf(kNotes, BackupFileName({day.year, day.month, day.day, 2})), now),
                  RestoreResult::kRestored);
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
        {"the second through the bin's file and back", [](Loaded& f) { f.ThroughTheBin(1); }, "-S-"},
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
             f.KeepAndRestoreBackup([&] {
                 f.list.Remove(f.Note(2)->m_pos);
                 f.list.Remove(f.Note(0)->m_pos);
             });
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

namespace {

class QuietView : public INotesSyncView {
public:
    bool IsBeingTypedIn(const CNote&) override { return false; }
    void NoteTookNewForm(CNote&) override {}
    void NotesRearranged() override {}
};

// A field the trailer carries for each note: how a note is given a value of
// it, how it is taken away again where a user can, and how it reads.
struct TrailerField {
    const char* label;
    uint32_t tag;
    bool written;  // the section is in every file, not only while a note has the field
    std::function<void(CNote&)> give, takeAway;
    std::function<std::string(const CNote&)> read;
};

// "text=value" of each note, sorted: a note lost, doubled or given another
// note's value shows.
std::vector<std::string> FieldOf(const CNoteList& list, const TrailerField& field)
{
    std::vector<std::string> out;
    for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        out.push_back(Utf8FromUtf16(list.GetAt(p)->m_strText) + "=" + field.read(*list.GetAt(p)));
    std::sort(out.begin(), out.end());
    return out;
}

// The other computer reads the file, does what it does and writes the file
// back; this copy merges it as the program does.
void MergedFromTheOtherComputer(Loaded& f, const std::function<void(CNoteList&)>& there,
                                std::vector<std::string>& expected, const TrailerField& field)
{
    QuietView view;
    NotesSync sync(f.list, f.store, view);
    sync.SetClock([&f] { return f.now; });
    sync.RememberFileAsBase(f.store.files[kNotes]);
    CNoteList other;
    ASSERT_TRUE(other.LoadFromBytes(f.store.files[kNotes]));
    there(other);
    expected = FieldOf(other, field);
    f.store.ReplaceAll(kNotes, other.StoreToBytes());
    EXPECT_EQ(sync.MergeOutsideChanges().outcome, NotesSync::Outcome::kMerged);
}

}  // namespace

TEST(NoteIdentity, EveryTrailerFieldGoesWhereverItsNoteGoes)
{
    const NoteIdentity made{{0xF0F0, 0x0F0F}, kMade - 60, kMade, Loaded::kElsewhere};
    const TrailerField fields[] = {
        {"id", NoteIdentitySection::kTag, true,
         [&](CNote& n) {
             if (n.m_identity.id.IsNull())  // an id is given once and never changes
                 n.m_identity = made;
         },
         [](CNote&) {},
         [](const CNote& n) {
             return NoteIdToText(n.m_identity.id) + " made " + std::to_string(n.m_identity.createdUtc);
         }},
        {"snooze", NoteSnoozeSection::kTag, false,
         [](CNote& n) { n.m_tSnoozeUntil = static_cast<NoteTime>(kMade + 300); },
         [](CNote& n) { n.m_tSnoozeUntil = 0; }, [](const CNote& n) { return std::to_string(n.m_tSnoozeUntil); }},
        {"formats", NoteFormatsSection::kTag, false,
         [](CNote& n) { n.m_formats = {{0, 2, kFormatBold}, {2, 1, kFormatStrike}}; },
         [](CNote& n) { n.m_formats.clear(); },
         [](const CNote& n) { return RunsText(n.m_formats); }},
    };
    // The second note is given the field here, or on the other computer
    // (there), before the trip; what every note holds then is what it must
    // hold once the list is saved and read again.
    using Expected = std::vector<std::string>;
    const struct {
        const char* label;
        bool there;
        std::function<void(Loaded&, const TrailerField&, Expected&)> trip;
    } trips[] = {
        {"through a save and a restart", false, [](Loaded&, const TrailerField&, Expected&) {}},
        {"found by id when the notes come in another order", false,
         [](Loaded& f, const TrailerField&, Expected&) { f.list.Add(f.list.Detach(f.list.GetHeadPosition())); }},
        {"through the bin's file and back", false,
         [](Loaded& f, const TrailerField&, Expected&) { f.ThroughTheBin(1); }},
        {"a backup kept, the field taken away, the backup restored", false,
         [](Loaded& f, const TrailerField& field, Expected&) {
             f.KeepAndRestoreBackup([&] {
                 field.takeAway(*f.Note(1));
                 f.list.m_bModified = 1;
             });
         }},
        {"given on the other computer to a note both have", true,
         [](Loaded& f, const TrailerField& field, Expected& expected) {
             MergedFromTheOtherComputer(f, [&](CNoteList& other) {
                 field.give(*other.GetAt(1));
                 other.GetAt(1)->m_identity.changedUtc = f.now;
             }, expected, field);
         }},
        {"a note made on the other computer", true, [](Loaded& f, const TrailerField& field, Expected& expected) {
             MergedFromTheOtherComputer(f, [&](CNoteList& other) {
                 auto note = std::make_unique<CNote>();
                 note->m_strText = u"four";
                 field.give(*note);
                 if (note->m_identity.id.IsNull())
                     note->m_identity = NoteIdSource::NewIdentity(f.now);
                 other.Add(note);
             }, expected, field);
         }},
    };
    for (const TrailerField& field : fields) {
        for (const auto& t : trips) {
            SCOPED_TRACE(std::string(field.label) + ", " + t.label);
            Loaded f;
            Expected expected;
            if (!t.there) {
                field.give(*f.Note(1));
                expected = FieldOf(f.list, field);
            }
            t.trip(f, field, expected);
            f.list.m_bModified = 1;
            ASSERT_TRUE(f.list.Save());
            EXPECT_TRUE(HoldsTag(f.store.files[kNotes], field.tag));
            CNoteList read;
            ASSERT_TRUE(read.LoadFromBytes(f.store.files[kNotes]));
            EXPECT_EQ(FieldOf(read, field), expected);
        }
        // A file where no note has the field holds no such section.
        Loaded plain;
        EXPECT_EQ(HoldsTag(plain.list.StoreToBytes(), field.tag), field.written) << field.label;
    }
}
