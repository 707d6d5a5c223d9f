// The deleted-notes bin: what it keeps, for how long, and that its file stays
// a notes file whatever happens to the dates after the notes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MemoryNoteStore.h"
#include "TrailerBytes.h"
#include "notes/CNoteList.h"
#include "notes/DeletedNotesBin.h"
#include "core/UnicodeText.h"

namespace {

constexpr NoteTime kNow = 1'800'000'000;
constexpr NoteTime kDay = 86400;

std::unique_ptr<CNote> NoteWith(const std::string& text)
{
    auto note = std::make_unique<CNote>();
    note->m_strText = Utf16FromUtf8(text);
    return note;
}

std::vector<std::string> Texts(const CDeletedNotesBin& bin)
{
    std::vector<std::string> texts;
    for (const auto& entry : bin.Entries())
        texts.push_back(Utf8FromUtf16(entry.note->m_strText));
    return texts;
}

}  // namespace

TEST(DeletedNotesBin, KeepsThirtyDaysAndTheLastThousand)
{
    struct Case {
        const char* label;
        std::vector<NoteTime> ages;  // seconds before now, oldest first
        size_t kept;
    } cases[] = {
        {"a month to the second is kept", {30 * kDay, kDay, 0}, 3},
        {"a second more is dropped", {30 * kDay + 1, kDay, 0}, 2},
        {"a date in the future (clock set back) is kept", {-5 * kDay}, 1},
        {"1001 notes of today keep the newest 1000", std::vector<NoteTime>(1001, 0), 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CDeletedNotesBin bin;
        for (size_t i = 0; i < c.ages.size(); ++i)
            bin.Add(*NoteWith("n" + std::to_string(i)), kNow - c.ages[i]);
        bin.Prune(kNow);
        ASSERT_EQ(bin.Entries().size(), c.kept);
        EXPECT_EQ(Texts(bin).back(), "n" + std::to_string(c.ages.size() - 1)) << "the newest stays";
    }
}

TEST(DeletedNotesBin, FileIsANotesFileAndSurvivesALostTrailer)
{
    MemoryNoteStore store;
    CDeletedNotesBin bin(&store);
    ASSERT_TRUE(bin.Load("C:\\n\\deleted.dat", kNow));
    bin.Add(*NoteWith("old"), kNow - 20 * kDay);
    bin.Add(*NoteWith("new"), kNow);
    ASSERT_TRUE(bin.Save());
    const std::vector<uint8_t> bytes = store.files["C:\\n\\deleted.dat"];

    CNoteList asNotes;
    asNotes.SetFileStore(&store);
    ASSERT_TRUE(asNotes.Load("C:\\n\\deleted.dat")) << "a notes file reader reads the bin";
    EXPECT_EQ(asNotes.m_nCount, 2);

    struct Case {
        const char* label;
        size_t cut;  // bytes taken off the end
        NoteTime oldDeletedAt;
    } cases[] = {
        {"whole", 0, kNow - 20 * kDay},
        {"dates cut short: the notes count as deleted today", 3, kNow + kDay},
        {"no dates at all", 4 + 4 + 8, kNow + kDay},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CDeletedNotesBin read(&store);
        store.files["C:\\n\\deleted.dat"] = std::vector<uint8_t>(bytes.begin(), bytes.end() - c.cut);
        ASSERT_TRUE(read.Load("C:\\n\\deleted.dat", kNow + kDay));
        EXPECT_EQ(Texts(read), (std::vector<std::string>{"old", "new"}));
        EXPECT_EQ(read.Entries()[0].deletedAt, c.oldDeletedAt);
    }
    // A bin of an older version: its dates after the notes as "VDEL", a
    // count and one 32-bit time each. The dates are read; the notes get ids.
    std::vector<uint8_t> older = WithoutTrailer(bytes);
    for (uint32_t v : {CDeletedNotesBin::kTrailerMagic, 2u, uint32_t(kNow - 20 * kDay), uint32_t(kNow)})
        for (int shift = 0; shift < 32; shift += 8)
            older.push_back(static_cast<uint8_t>(v >> shift));
    CDeletedNotesBin fromOlder;
    ASSERT_TRUE(fromOlder.LoadFromBytes(older, kNow + kDay));
    ASSERT_EQ(Texts(fromOlder), (std::vector<std::string>{"old", "new"}));
    EXPECT_EQ(fromOlder.Entries()[0].deletedAt, kNow - 20 * kDay);
    EXPECT_NE(fromOlder.Entries()[0].note->m_identity.id, fromOlder.Entries()[1].note->m_identity.id);

    // A file that is no notes file is left alone.
    store.files["C:\\n\\deleted.dat"] = {1, 2, 3};
    CDeletedNotesBin damaged(&store);
    EXPECT_FALSE(damaged.Load("C:\\n\\deleted.dat", kNow));
    damaged.Add(*NoteWith("x"), kNow);
    EXPECT_FALSE(damaged.Save());
    EXPECT_EQ(store.files["C:\\n\\deleted.dat"], (std::vector<uint8_t>{1, 2, 3}));
}
