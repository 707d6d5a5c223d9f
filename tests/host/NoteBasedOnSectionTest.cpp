// The change each note's run of changes was made on top of travels in a
// trailer section of its own: through the notes file and back, and a
// damaged section costs only itself.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/NoteBasedOnSection.h"

namespace {

// Two notes, the second made on top of another computer's change.
void FillTwo(CNoteList& list)
{
    for (uint64_t n = 1; n <= 2; ++n) {
        auto note = std::make_unique<CNote>();
        note->m_identity.id = NoteId{7, n};
        note->m_identity.changedUtc = 1'700'000'000 + static_cast<int64_t>(n);
        note->m_identity.changedBy = NoteId{5, 5};
        if (n == 2) {
            note->m_identity.basedOnUtc = 1'690'000'000;
            note->m_identity.basedOnBy = NoteId{9, 9};
        }
        list.Add(note);
    }
}

}  // namespace

TEST(NoteBasedOnSection, TravelsWithTheNoteAndADamagedOneCostsOnlyItself)
{
    struct Case {
        const char* label;
        void (*damage)(std::vector<uint8_t>& payload);  // null: as written
        bool kept;
    } cases[] = {
        {"as written", nullptr, true},
        {"cut by a byte", [](std::vector<uint8_t>& p) { p.pop_back(); }, false},
        {"a count the bytes do not hold", [](std::vector<uint8_t>& p) { p[0] = 2; }, false},
        {"an entry length under the version's", [](std::vector<uint8_t>& p) { p[4] = 39; }, false},
        {"a longer entry of a newer version: read as far as known",
         [](std::vector<uint8_t>& p) {
             p[4] = 44;
             p.insert(p.end(), 4, 0xEE);
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CNoteList written;
        FillTwo(written);
        CNoteList read;
        ASSERT_TRUE(read.LoadFromBytes(written.StoreToBytes()));
        std::vector<CNote*> notes;
        for (NotePos p = read.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            notes.push_back(read.GetAt(p));
        std::vector<const CNote*> constNotes(notes.begin(), notes.end());
        std::optional<NotesTrailer::Section> section = NoteBasedOnSection::Encode(constNotes);
        ASSERT_TRUE(section.has_value());
        if (c.damage)
            c.damage(section->payload);
        const NotesTrailer::SectionView view{section->tag, section->version, section->payload};
        NoteBasedOnSection::Apply(&view, notes);

        EXPECT_EQ(notes[0]->m_identity.basedOnUtc, 0) << "a note made here has none";
        EXPECT_EQ(notes[1]->m_identity.basedOnUtc, c.kept ? 1'690'000'000 : 0);
        EXPECT_EQ(notes[1]->m_identity.basedOnBy, c.kept ? (NoteId{9, 9}) : NoteId{});
        EXPECT_EQ(notes[1]->m_identity.changedUtc, 1'700'000'002) << "the id section's stamps stay";
        EXPECT_EQ(read.GetAt(1)->m_strText, written.GetAt(1)->m_strText);
    }
}
