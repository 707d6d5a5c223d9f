// The trailer after the records of a notes file: whatever happens to it,
// every note and every character of its text still loads, and it costs no
// more than the section it hit.
#include <gtest/gtest.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "TrailerBytes.h"
#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/NoteIdentitySection.h"
#include "notes/NotesTrailer.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Section = NotesTrailer::Section;

const std::u16string kTexts[] = {u"first", std::u16string(300, u'y'), u"\u039A\u03B1\u03BB\u03B7 wide"};

// A section of a newer version that this one does not read.
const Section kUnknown{TrailerTag("FMTS"), 3, {9, 8, 7, 6, 5, 4, 3, 2, 1}};

struct Written {
    Bytes file;
    size_t identityAt;  // where the identity section starts
    size_t unknownAt;   // where the unknown one starts
    std::vector<NoteIdentity> identities;
};

// Three notes, their identities, then the unknown section; identities of
// only the first idCount notes when asked.
Written WriteFile(size_t idCount = 3, uint16_t identityVersion = NoteIdentitySection::kVersion)
{
    CNoteList list;
    Written w;
    for (const std::u16string& text : kTexts) {
        auto note = std::make_unique<CNote>();
        note->m_strText = text;
        const auto n = static_cast<uint64_t>(list.m_nCount) + 1;
        note->m_identity = {NoteId{0xA1B2C3D4E5F60718ull * n, n}, 1'700'000'000 + int64_t(n),
                            1'800'000'000 + int64_t(n), NoteId{n << 40, 77}};
        w.identities.push_back(note->m_identity);
        list.Add(note);
    }
    const Bytes records = WithoutTrailer(list.StoreToBytes());
    std::vector<const CNote*> named;
    for (int i = 0; i < static_cast<int>(idCount); ++i)
        named.push_back(list.GetAt(i));
    Section ids = NoteIdentitySection::Encode(named);
    ids.version = identityVersion;
    CArchive ar;
    ar.WriteBytes(records.data(), records.size());
    NotesTrailer::Write(ar, {&ids, 1}, {&kUnknown, 1});
    w.file = ar.TakeBuffer();
    w.identityAt = records.size() + NotesTrailer::kStartBytes;
    w.unknownAt = w.identityAt + NotesTrailer::kSectionHeaderBytes + ids.payload.size();
    return w;
}

struct Row {
    std::string label;
    Bytes file;
    bool idsKept;
    bool unknownKept;
    bool savedAsItCame = false;
};

std::vector<Row> Rows()
{
    const Written w = WriteFile();
    const size_t recordsEnd = RecordsEnd(w.file);
    std::vector<Row> rows = {
        {"whole", w.file, true, true, true},
        {"the start mark damaged", [&] {
             Bytes b = w.file;
             b[recordsEnd] ^= 1;
             return b;
         }(), false, false},
        {"no trailer (an older version's file)", Bytes(w.file.begin(), w.file.begin() + recordsEnd), false, false},
        {"identities for two notes of three", WriteFile(2).file, false, true},
        {"a newer identity version is read", WriteFile(3, 7).file, true, true},
        {"an old tail of other bytes", [&] {
             Bytes b(w.file.begin(), w.file.begin() + recordsEnd);
             b.insert(b.end(), 40, 0xAB);
             return b;
         }(), false, false},
    };
    for (size_t cut = recordsEnd + 1; cut < w.file.size(); ++cut)
        rows.push_back({"cut at " + std::to_string(cut), Bytes(w.file.begin(), w.file.begin() + cut),
                        cut >= w.unknownAt, false});
    for (size_t at = w.identityAt; at < w.file.size(); ++at) {
        Bytes flipped = w.file;
        flipped[at] ^= 0x20;
        rows.push_back({"byte flipped at " + std::to_string(at), flipped, at >= w.unknownAt, at < w.unknownAt});
    }
    return rows;
}

std::vector<NoteIdentity> IdentitiesOf(const CNoteList& list)
{
    std::vector<NoteIdentity> ids;
    for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        ids.push_back(list.GetAt(p)->m_identity);
    return ids;
}

}  // namespace

TEST(NotesTrailer, EveryNoteLoadsWhateverHappensToTheTrailer)
{
    // The checksum is the common CRC-32, so other tools can check a section.
    const std::string check = "123456789";
    ASSERT_EQ(NotesTrailer::Crc32({reinterpret_cast<const uint8_t*>(check.data()), check.size()}), 0xCBF43926u);

    const std::vector<NoteIdentity> written = WriteFile().identities;
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.label);
        CNoteList list;
        ASSERT_TRUE(list.LoadFromBytes(row.file));
        ASSERT_EQ(list.m_nCount, 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(list.GetAt(i)->m_strText, kTexts[i]);

        const std::vector<NoteIdentity> loaded = IdentitiesOf(list);
        if (row.idsKept) {
            EXPECT_EQ(loaded, written);
        } else {
            std::unordered_set<NoteId> distinct;
            for (size_t i = 0; i < loaded.size(); ++i) {
                EXPECT_NE(loaded[i].id, written[i].id) << "a damaged section is not half used";
                EXPECT_FALSE(loaded[i].id.IsNull());
                EXPECT_EQ(loaded[i].changedUtc, 0) << "when it changed is not known";
                distinct.insert(loaded[i].id);
            }
            EXPECT_EQ(distinct.size(), 3u);
        }
        EXPECT_EQ(list.KeptSections(), row.unknownKept ? std::vector<Section>{kUnknown} : std::vector<Section>{});

        // Saved again, the ids it now has and what it kept come back as they are.
        const Bytes again = list.StoreToBytes();
        CNoteList reread;
        ASSERT_TRUE(reread.LoadFromBytes(again));
        EXPECT_EQ(IdentitiesOf(reread), loaded);
        EXPECT_EQ(reread.StoreToBytes(), again);
        if (row.savedAsItCame) {
            EXPECT_EQ(again, row.file);
        }
    }
}
