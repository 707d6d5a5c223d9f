// The trailer after the records of a notes file: whatever happens to it,
// every note and every character of its text still loads, and it costs no
// more than the section it hit: one table of damaged forms, of the trailer
// as a whole and of each section (ids, formats, snooze).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "TrailerBytes.h"
#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/NoteFormatsSection.h"
#include "notes/NoteIdentitySection.h"
#include "notes/NoteSnoozeSection.h"
#include "notes/NotesTrailer.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Section = NotesTrailer::Section;

const std::u16string kTexts[] = {u"first", std::u16string(300, u'y'), u"\u039A\u03B1\u03BB\u03B7 wide"};
// The formats of the first two notes; the third has none. The second note is
// the one snoozed.
const TextFormatRuns kFormats[] = {
    {{0, 5, kFormatBold}}, {{0, 2, kFormatItalic}, {3, 2, kFormatBold | kFormatStrike}}, {}};
constexpr NoteTime kSnooze = 1'800'000'123;

// A section of a newer version that this one does not read.
const Section kUnknown{TrailerTag("FMTS"), 3, {9, 8, 7, 6, 5, 4, 3, 2, 1}};

// How one of our sections is damaged before it is written: with checksums
// that match, as a writer's fault or a newer version would leave it.
struct SectionDamage {
    uint32_t tag = 0;
    std::function<void(Bytes& payload, uint16_t& version)> damage;
};

struct Written {
    Bytes file;
    // Where the identity, formats, snooze and unknown sections start.
    size_t identityAt, formatsAt, snoozeAt, unknownAt;
    std::vector<NoteIdentity> identities;
};

// Three notes, their identities, formats and snooze, then the unknown
// section, in the order the program writes them.
Written WriteFile(const SectionDamage& hit = {})
{
    CNoteList list;
    Written w;
    for (int i = 0; i < 3; ++i) {
        auto note = std::make_unique<CNote>();
        note->m_strText = kTexts[i];
        note->m_formats = kFormats[i];
        note->m_tSnoozeUntil = i == 1 ? kSnooze : 0;
        const auto n = static_cast<uint64_t>(i) + 1;
        note->m_identity = {NoteId{0xA1B2C3D4E5F60718ull * n, n}, 1'700'000'000 + int64_t(n),
                            1'800'000'000 + int64_t(n), NoteId{n << 40, 77}};
        w.identities.push_back(note->m_identity);
        list.Add(note);
    }
    const Bytes records = WithoutTrailer(list.StoreToBytes());
    const std::vector<const CNote*> notes = {list.GetAt(0), list.GetAt(1), list.GetAt(2)};
    Section ours[] = {NoteIdentitySection::Encode(notes), *NoteFormatsSection::Encode(notes),
                      *NoteSnoozeSection::Encode(notes)};
    for (Section& section : ours)
        if (section.tag == hit.tag)
            hit.damage(section.payload, section.version);
    CArchive ar;
    ar.WriteBytes(records.data(), records.size());
    NotesTrailer::Write(ar, ours, {&kUnknown, 1});
    w.file = ar.TakeBuffer();
    w.identityAt = records.size() + NotesTrailer::kStartBytes;
    w.formatsAt = w.identityAt + NotesTrailer::kSectionHeaderBytes + ours[0].payload.size();
    w.snoozeAt = w.formatsAt + NotesTrailer::kSectionHeaderBytes + ours[1].payload.size();
    w.unknownAt = w.snoozeAt + NotesTrailer::kSectionHeaderBytes + ours[2].payload.size();
    return w;
}

// What of the trailer survives a damaged form. Formats and the snooze are
// found by id: where the ids are lost they are too.
struct Row {
    std::string label;
    Bytes file;
    bool ids;
    std::string formats;  // the notes that keep theirs: "a" the first, "b" the second
    bool snooze;
    bool unknown;
    bool savedAsItCame = false;
};

// Damaged forms of the trailer as a whole: no trailer, cut anywhere, a byte
// flipped anywhere.
std::vector<Row> WholeTrailerRows()
{
    const Written w = WriteFile();
    const size_t recordsEnd = RecordsEnd(w.file);
    std::vector<Row> rows = {
        {"whole", w.file, true, "ab", true, true, true},
        {"the start mark damaged", [&] {
             Bytes b = w.file;
             b[recordsEnd] ^= 1;
             return b;
         }(), false, "", false, false},
        {"no trailer (an older version's file)", Bytes(w.file.begin(), w.file.begin() + recordsEnd), false, "",
         false, false},
        {"an old tail of other bytes", [&] {
             Bytes b(w.file.begin(), w.file.begin() + recordsEnd);
             b.insert(b.end(), 40, 0xAB);
             return b;
         }(), false, "", false, false},
    };
    // A section cut off is lost with everything after it.
    for (size_t cut = recordsEnd + 1; cut < w.file.size(); ++cut) {
        const bool ids = cut >= w.formatsAt;
        rows.push_back({"cut at " + std::to_string(cut), Bytes(w.file.begin(), w.file.begin() + cut), ids,
                        ids && cut >= w.snoozeAt ? "ab" : "", ids && cut >= w.unknownAt, false});
    }
    // A flipped byte costs the section it is in.
    for (size_t at = w.identityAt; at < w.file.size(); ++at) {
        Bytes flipped = w.file;
        flipped[at] ^= 0x20;
        const bool ids = at >= w.formatsAt;
        rows.push_back({"byte flipped at " + std::to_string(at), flipped, ids,
                        ids && (at < w.formatsAt || at >= w.snoozeAt) ? "ab" : "",
                        ids && (at < w.snoozeAt || at >= w.unknownAt), at < w.unknownAt});
    }
    return rows;
}

// Damaged forms of one section, whose checksums still match: each costs only
// what the section holds, the ids everything found by them. Formats entry of
// the first note: count at 0, id at 4, run count at 20, its run at 24
// (start), 28 (length), 32 (formats); the second's: id at 33, run count at
// 49, runs at 53 and 62. Snooze: count at 0, entry length at 4, id at 6,
// time at 22.
std::vector<Row> SectionRows()
{
    const uint32_t ids = NoteIdentitySection::kTag, formats = NoteFormatsSection::kTag,
                   snooze = NoteSnoozeSection::kTag;
    const struct {
        const char* label;
        SectionDamage hit;
        bool ids;
        const char* formats;
        bool snooze;
    } damaged[] = {
        {"identities for two notes of three", {ids, [](auto& p, auto&) {
             PutU32(p, 0, 2);
             p.resize(NotesTrailer::kEntriesHeadBytes + 2 * NoteIdentitySection::kEntryBytes);
         }}, false, "", false},
        {"a newer identity version is read", {ids, [](auto&, auto& v) { v = 7; }}, true, "ab", true},
        {"formats: a run past the text", {formats, [](auto& p, auto&) { PutU32(p, 28, 6); }}, true, "b", true},
        {"formats: an empty run", {formats, [](auto& p, auto&) { PutU32(p, 28, 0); }}, true, "b", true},
        {"formats: overlapping runs", {formats, [](auto& p, auto&) { PutU32(p, 62, 1); }}, true, "a", true},
        {"formats: runs out of order", {formats, [](auto& p, auto&) {
             PutU32(p, 53, 4);
             PutU32(p, 57, 1);
         }}, true, "a", true},
        {"formats: a format no version has", {formats, [](auto& p, auto&) { p[32] = 0x81; }}, true, "b", true},
        {"formats: a huge run count in the last entry", {formats, [](auto& p, auto&) { PutU32(p, 49, 0x7FFFFFFF); }},
         true, "a", true},
        {"formats: a huge run count in the first: nothing after it can be found",
         {formats, [](auto& p, auto&) { PutU32(p, 20, 0xFFFFFFFF); }}, true, "", true},
        {"formats: a huge entry count", {formats, [](auto& p, auto&) { PutU32(p, 0, 0xFFFFFFFF); }}, true, "ab", true},
        {"formats: cut inside the last entry", {formats, [](auto& p, auto&) { p.resize(60); }}, true, "a", true},
        {"formats: cut to nothing", {formats, [](auto& p, auto&) { p.clear(); }}, true, "", true},
        {"formats: the id of no note", {formats, [](auto& p, auto&) { p[4] ^= 1; }}, true, "b", true},
        {"formats: a version this reader does not know", {formats, [](auto&, auto& v) { v = 2; }}, true, "", true},
        {"snooze: longer entries of a newer version are read", {snooze, [](auto& p, auto&) {
             PutU16(p, 4, NoteSnoozeSection::kEntryBytes + 8);
             p.resize(p.size() + 8);
         }}, true, "ab", true},
        {"snooze: entries shorter than this reader's", {snooze, [](auto& p, auto&) {
             PutU32(p, 0, 2);
             PutU16(p, 4, NoteSnoozeSection::kEntryBytes / 2);
         }}, true, "ab", false},
        {"snooze: a count the bytes do not hold", {snooze, [](auto& p, auto&) { PutU32(p, 0, 2); }}, true, "ab", false},
        {"snooze: cut inside the count", {snooze, [](auto& p, auto&) { p.resize(3); }}, true, "ab", false},
        {"snooze: a time the note record cannot hold", {snooze, [](auto& p, auto&) { PutU32(p, 22, 0x80000000); }},
         true, "ab", false},
        {"snooze: the id of no note", {snooze, [](auto& p, auto&) { p[6] ^= 1; }}, true, "ab", false},
    };
    std::vector<Row> rows;
    for (const auto& d : damaged)
        rows.push_back({d.label, WriteFile(d.hit).file, d.ids, d.formats, d.snooze, true});
    return rows;
}

std::vector<NoteIdentity> IdentitiesOf(const CNoteList& list)
{
    std::vector<NoteIdentity> ids;
    for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        ids.push_back(list.GetAt(p)->m_identity);
    return ids;
}

// The formats and the snooze the row says survive, and nothing else.
void ExpectFields(const CNoteList& list, const Row& row)
{
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("note " + std::to_string(i));
        const bool kept = i < 2 && row.formats.find(char('a' + i)) != std::string::npos;
        EXPECT_EQ(list.GetAt(i)->m_formats, kept ? kFormats[i] : TextFormatRuns{});
        EXPECT_EQ(list.GetAt(i)->m_tSnoozeUntil, i == 1 && row.snooze ? kSnooze : 0);
    }
}

}  // namespace

TEST(NotesTrailer, EveryNoteLoadsWhateverHappensToTheTrailer)
{
    // The checksum is the common CRC-32, so other tools can check a section.
    const std::string check = "123456789";
    ASSERT_EQ(NotesTrailer::Crc32({reinterpret_cast<const uint8_t*>(check.data()), check.size()}), 0xCBF43926u);

    const std::vector<NoteIdentity> written = WriteFile().identities;
    std::vector<Row> rows = WholeTrailerRows();
    for (Row& row : SectionRows())
        rows.push_back(std::move(row));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CNoteList list;
        ASSERT_TRUE(list.LoadFromBytes(row.file));
        ASSERT_EQ(list.m_nCount, 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(list.GetAt(i)->m_strText, kTexts[i]);

        const std::vector<NoteIdentity> loaded = IdentitiesOf(list);
        if (row.ids) {
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
        ExpectFields(list, row);
        // What a note held before the sections were read goes too.
        const auto sections = NotesTrailer::Read(std::span<const uint8_t>(row.file).subspan(RecordsEnd(row.file)));
        const std::vector<CNote*> notes = {list.GetAt(0), list.GetAt(1), list.GetAt(2)};
        for (CNote* note : notes) {
            note->m_formats = {{0, 1, kFormatUnderline}};
            note->m_tSnoozeUntil = kSnooze + 1;
        }
        NoteFormatsSection::Apply(NotesTrailer::Find(sections, NoteFormatsSection::kTag), notes);
        NoteSnoozeSection::Apply(NotesTrailer::Find(sections, NoteSnoozeSection::kTag), notes);
        ExpectFields(list, row);
        EXPECT_EQ(list.KeptSections(), row.unknown ? std::vector<Section>{kUnknown} : std::vector<Section>{});

        // Saved again, the ids it now has and what it kept come back as they are.
        const Bytes again = list.StoreToBytes();
        CNoteList reread;
        ASSERT_TRUE(reread.LoadFromBytes(again));
        EXPECT_EQ(IdentitiesOf(reread), loaded);
        ExpectFields(reread, row);
        EXPECT_EQ(reread.StoreToBytes(), again);
        if (row.savedAsItCame) {
            EXPECT_EQ(again, row.file);
        }
    }
}
