// The notes file: byte layout, string forms, damaged input, saving.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "MemoryLimit.h"
#include "MemoryNoteStore.h"
#include "TrailerBytes.h"
#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/RuntimeRand.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& b, std::initializer_list<int> values)
{
    for (int v : values)
        b.push_back(static_cast<uint8_t>(v));
}
void AppendU16(Bytes& b, uint32_t v) { Append(b, {int(v & 0xFF), int((v >> 8) & 0xFF)}); }
void AppendU32(Bytes& b, uint32_t v)
{
    for (int s = 0; s < 32; s += 8)
        b.push_back(static_cast<uint8_t>(v >> s));
}

// A note with every field set to a known value, and its record written out
// by hand from the file layout. Neighbouring fields of one width hold
// different values, so a record written in the wrong order cannot match.
std::unique_ptr<CNote> KnownNote(const std::u16string& text)
{
    auto note = std::make_unique<CNote>();
    note->m_bSchedDisabled = 0;
    note->m_nSchedKind = 2;
    note->m_tStartTime = 0x11223344;
    note->m_tStartDate = -2;
    note->m_bHasEndDate = 1;
    note->m_tEndDate = 0x01020304;
    for (size_t i = 0; i < kRecurBytes; ++i)
        note->m_recur[i] = static_cast<uint8_t>(i + 1);
    note->m_bSchedNew = 0;
    note->m_nNotifyDays = 3;
    note->m_nNotifyHours = 4;
    note->m_nNotifyMinutes = 5;
    note->m_bAlwaysDisplay = 1;
    note->m_bAlarm = 0;
    note->m_strSoundFile = u"a.wav";
    note->m_logFont = DefaultNoteFont(96);
    note->m_logFont.lfWidth = 6;
    note->m_logFont.lfEscapement = 10;
    note->m_logFont.lfOrientation = 20;
    note->m_logFont.lfWeight = 700;
    note->m_crText = 0x00123456;
    note->m_crBack = 0x0080FFFF;
    note->m_strText = text;
    note->m_bOnTop = 1;
    note->m_bVisible = 0;
    note->m_rcWindow = {10, 20, 210, 170};
    note->m_tLastShown = 86400;
    return note;
}

Bytes KnownRecord(const std::string& textPrefixAndBody)
{
    Bytes b;
    AppendU16(b, 0);
    AppendU32(b, 2);
    AppendU32(b, 0x11223344);
    AppendU32(b, 0xFFFFFFFE);
    AppendU16(b, 1);
    AppendU32(b, 0x01020304);
    for (int i = 1; i <= 50; ++i)
        b.push_back(static_cast<uint8_t>(i));
    for (int v : {0, 3, 4, 5, 1, 0})
        AppendU16(b, static_cast<uint32_t>(v));
    Append(b, {5, 'a', '.', 'w', 'a', 'v'});
    AppendU32(b, static_cast<uint32_t>(-16));  // height: 12 points at 96 dpi
    for (uint32_t v : {6u, 10u, 20u, 700u})    // width, escapement, orientation, weight
        AppendU32(b, v);
    Append(b, {0, 0, 0, 1, 0, 0, 0, 0});  // charset DEFAULT_CHARSET
    Bytes face(32, 0);
    face[0] = 'A', face[1] = 'r', face[2] = 'i', face[3] = 'a', face[4] = 'l';
    b.insert(b.end(), face.begin(), face.end());
    AppendU32(b, 0x00123456);
    AppendU32(b, 0x0080FFFF);
    b.insert(b.end(), textPrefixAndBody.begin(), textPrefixAndBody.end());
    AppendU16(b, 1);
    AppendU16(b, 0);
    for (uint32_t v : {10u, 20u, 210u, 170u})
        AppendU32(b, v);
    AppendU32(b, 86400);
    return b;
}

Bytes FileOf(std::initializer_list<Bytes> records, uint32_t header = 256)
{
    Bytes b;
    AppendU32(b, header);
    AppendU16(b, static_cast<uint32_t>(records.size()));
    for (const auto& r : records)
        b.insert(b.end(), r.begin(), r.end());
    return b;
}

struct LoadedList {
    MemoryNoteStore store;
    CNoteList list;
    bool ok = false;
    explicit LoadedList(const Bytes& file)
    {
        store.files["notes.dat"] = file;
        list.SetFileStore(&store);
        ok = list.Load("notes.dat");
    }
};

}  // namespace

TEST(NotesFile, EmptyListIsSixBytes)
{
    MemoryNoteStore store;
    CNoteList list;
    list.SetFileStore(&store);
    ASSERT_TRUE(list.Load("notes.dat"));  // missing: created, then read
    EXPECT_EQ(store.files["notes.dat"], (Bytes{0x00, 0x01, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(list.m_nCount, 0);
    EXPECT_EQ(list.m_strPath, "notes.dat");
    EXPECT_FALSE(list.Save());  // nothing changed: nothing written
    EXPECT_EQ(store.writes, 1);
}

TEST(NotesFile, RecordMatchesTheLayoutByteForByte)
{
    CNoteList list;
    list.Add(KnownNote(u"hi"));
    const std::string text = "\x02hi";
    EXPECT_EQ(WithoutTrailer(list.StoreToBytes()), FileOf({KnownRecord(text)}));
    EXPECT_EQ(KnownRecord(text).size(), 174u + 6u + 3u);

    // Read back, every field lands where it was: stored again, the same bytes.
    LoadedList loaded(FileOf({KnownRecord(text)}));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(WithoutTrailer(loaded.list.StoreToBytes()), FileOf({KnownRecord(text)}));
}

TEST(NotesFile, StringLengthForms)
{
    struct Case {
        const char* label;
        size_t length;
        Bytes prefix;
    } cases[] = {
        {"empty", 0, {0x00}},
        {"254 one byte", 254, {0xFE}},
        {"255 word", 255, {0xFF, 0xFF, 0x00}},
        {"65533 word", 65533, {0xFF, 0xFD, 0xFF}},
        {"65534 dword", 65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {"70000 dword", 70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::u16string text(c.length, u'x');
        CArchive out;
        out.WriteString(text);
        Bytes expected = c.prefix;
        expected.insert(expected.end(), c.length, 'x');
        EXPECT_EQ(out.Buffer(), expected);

        CArchive in(expected);
        EXPECT_EQ(in.ReadString(), text);
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(NotesFile, ReadsUtf16Strings)
{
    struct Case {
        const char* label;
        Bytes encoded;
        std::u16string text;
    } cases[] = {
        {"short", {0xFF, 0xFE, 0xFF, 0x02, 'o', 0, 'k', 0}, u"ok"},
        {"empty", {0xFF, 0xFE, 0xFF, 0x00}, u""},
        {"latin-1 letter", {0xFF, 0xFE, 0xFF, 0x01, 0xE9, 0x00}, u"\u00E9"},
        {"word length", {0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00, 'z', 0}, u"z"},
        {"Greek kept whole", {0xFF, 0xFE, 0xFF, 0x02, 0x93, 0x03, 0xB5, 0x03}, u"\u0393\u03B5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CArchive in(c.encoded);
        EXPECT_EQ(in.ReadString(), c.text);
        EXPECT_EQ(in.Remaining(), 0u);
    }
    // Inside a whole file, the UTF-16 text loads as the note's text.
    Bytes record = KnownRecord(std::string("\xFF\xFE\xFF\x03h\0e\0y\0", 10));
    LoadedList loaded(FileOf({record}));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.list.GetAt(0)->m_strText, u"hey");
}

TEST(NotesFile, HeaderCountAndTail)
{
    const Bytes record = KnownRecord("\x02hi");
    struct Case {
        const char* label;
        Bytes file;
        int count;
    } cases[] = {
        {"header 0 is ignored", FileOf({record}, 0), 1},
        {"header 0xFFFFFFFF is ignored", FileOf({record}, 0xFFFFFFFF), 1},
        {"count 0 with an old tail", Bytes{0, 1, 0, 0, 0, 0, 0xAB, 0xCD}, 0},
        {"old tail is never read", [&] { Bytes b = FileOf({record}); b.insert(b.end(), 40, 0xAB); return b; }(), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        LoadedList loaded(c.file);
        ASSERT_TRUE(loaded.ok);
        EXPECT_EQ(loaded.list.m_nCount, c.count);
        if (c.count == 1) {
            EXPECT_EQ(loaded.list.GetAt(0)->m_strText, u"hi");
        }
    }
}

TEST(NotesFile, EveryTruncationLoadsWhollyOrFails)
{
    CNoteList source;
    source.Add(KnownNote(u"first"));
    source.Add(KnownNote(std::u16string(300, u'y')));
    const Bytes full = source.StoreToBytes();
    // Cuts in the trailer after the records lose no note (NotesTrailerTest).
    for (size_t length = 0; length < RecordsEnd(full); ++length) {
        SCOPED_TRACE(length);
        LoadedList loaded(Bytes(full.begin(), full.begin() + static_cast<long>(length)));
        // A prefix never holds both records, so every one is refused, and a
        // refused load leaves the (empty) list as it was.
        EXPECT_FALSE(loaded.ok);
        EXPECT_EQ(loaded.list.m_nCount, 0);
        EXPECT_TRUE(loaded.list.IsEmpty());
        EXPECT_EQ(loaded.store.files["notes.dat"].size(), length);  // untouched
    }
    LoadedList whole(full);
    ASSERT_TRUE(whole.ok);
    EXPECT_EQ(whole.list.StoreToBytes(), full);
}

TEST(NotesFile, MalformedInputIsRefusedWithoutHugeAllocations)
{
    Bytes hugeString = FileOf({});
    hugeString[4] = 1;
    const Bytes head = KnownRecord("");
    // Cut the record before the sound file's string and claim 4 GB for it.
    Bytes cut(head.begin(), head.begin() + 2 + 4 + 4 + 4 + 2 + 4 + 50 + 12);
    hugeString.insert(hugeString.end(), cut.begin(), cut.end());
    Append(hugeString, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});

    // The whole length is there (4 G units), and a few units after it, so
    // only the check against the bytes that remain can refuse it.
    Bytes hugeWide = hugeString;
    hugeWide.resize(hugeWide.size() - 7);
    Append(hugeWide, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0, 'b', 0, 'c', 0});

    Bytes doubleMarker = hugeString;
    doubleMarker.resize(doubleMarker.size() - 7);
    Append(doubleMarker, {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF});

    Bytes countTooLarge = FileOf({KnownRecord("\x01z")});
    countTooLarge[4] = 2;

    struct Case {
        const char* label;
        Bytes file;
    } cases[] = {
        {"4 GB string", hugeString},
        {"4 G UTF-16 characters", hugeWide},
        {"UTF-16 marker twice", doubleMarker},
        {"count above the records", countTooLarge},
        {"header only", Bytes{0, 1, 0, 0}},
        {"nothing", Bytes{}},
        // Never written by the program: not a notes file, so not to be
        // taken for an empty list and overwritten by the next save.
        {"count 0x8000", Bytes{0, 1, 0, 0, 0x00, 0x80}},
        {"count 0xFFFF with bytes after it", Bytes{0, 1, 0, 0, 0xFF, 0xFF, 1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        LoadedList loaded(c.file);
        EXPECT_FALSE(loaded.ok);
        EXPECT_TRUE(loaded.list.IsEmpty());
        EXPECT_EQ(loaded.list.m_strPath, "");
        EXPECT_EQ(loaded.store.files["notes.dat"], c.file);
        EXPECT_EQ(loaded.store.writes, 0);
    }

    // The same lengths where memory is short: a reader that allocated what a
    // length claims before checking it against the file would die here
    // (std::bad_alloc) instead of refusing the file.
    EXPECT_EXIT(
        {
            LimitAddressSpaceToCurrentPlus(256u << 20);
            bool allRefused = true;
            for (const Bytes* file : {&hugeString, &hugeWide})
                allRefused = allRefused && !LoadedList(*file).ok;
            std::_Exit(allRefused ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(NotesFile, FailedLoadKeepsTheListItHad)
{
    MemoryNoteStore store;
    CNoteList list;
    list.SetFileStore(&store);
    store.files["good.dat"] = FileOf({KnownRecord("\x04good")});
    store.files["bad.dat"] = Bytes{0, 1, 0, 0, 5, 0, 1};
    ASSERT_TRUE(list.Load("good.dat"));
    EXPECT_FALSE(list.Load("bad.dat"));
    ASSERT_EQ(list.m_nCount, 1);
    EXPECT_EQ(list.GetAt(0)->m_strText, u"good");
    EXPECT_EQ(list.m_strPath, "good.dat");
    store.failReads = true;
    EXPECT_FALSE(list.Load("good.dat"));
    EXPECT_EQ(list.m_nCount, 1);
}

TEST(NotesFile, SavingWritesOnlyChangesAndRetriesFailures)
{
    MemoryNoteStore store;
    CNoteList list;
    list.SetFileStore(&store);
    ASSERT_TRUE(list.Load("notes.dat"));
    list.Add(KnownNote(u"one"));
    EXPECT_EQ(list.m_bModified, 1u);

    store.failWrites = true;  // locked, full or read-only
    EXPECT_FALSE(list.Save());
    EXPECT_EQ(list.m_bModified, 1u) << "a failed save must be tried again";
    EXPECT_EQ(store.files["notes.dat"].size(), 6u) << "the old file stays whole";

    store.failWrites = false;
    EXPECT_TRUE(list.Save());
    EXPECT_EQ(list.m_bModified, 0u);
    EXPECT_EQ(WithoutTrailer(store.files["notes.dat"]), FileOf({KnownRecord("\x03one")}));

    store.files.erase("notes.dat");  // vanished while running
    list.m_bModified = 1;
    EXPECT_TRUE(list.Save());
    EXPECT_EQ(WithoutTrailer(store.files["notes.dat"]), FileOf({KnownRecord("\x03one")}));
}

TEST(NotesFile, ShorterSaveLeavesNoOldTailOnDisk)
{
    // One folder per process: the suite runs in several time zones at once.
    const auto dir = std::filesystem::temp_directory_path() /
                     ("velumo-notes-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "notes.dat").string();
    std::filesystem::remove(path);

    CNoteList list;
    ASSERT_TRUE(list.Load(path));
    list.Add(KnownNote(std::u16string(500, u'l')));
    list.Add(KnownNote(u"short"));
    ASSERT_TRUE(list.Save());
    list.Remove(list.GetHeadPosition());
    ASSERT_TRUE(list.Save());

    std::ifstream written(path, std::ios::binary);
    const Bytes bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_EQ(WithoutTrailer(bytes), FileOf({KnownRecord("\x05short")}));
    EXPECT_EQ(bytes, list.StoreToBytes()) << "the one note's trailer, and nothing after it";
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));
    CNoteList again;
    ASSERT_TRUE(again.Load(path));
    ASSERT_EQ(again.m_nCount, 1);
    EXPECT_EQ(again.GetAt(0)->m_strText, u"short");
    std::filesystem::remove_all(dir);
}

TEST(NotesFile, SeedCorpusLoadsWhollyOrFails)
{
    namespace fs = std::filesystem;
    int files = 0;
    for (const auto& entry : fs::directory_iterator(VELUMO_FUZZ_CORPUS)) {
        SCOPED_TRACE(entry.path().string());
        std::ifstream in(entry.path(), std::ios::binary);
        Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LoadedList loaded(bytes);
        if (loaded.ok) {
            EXPECT_LE(WithoutTrailer(loaded.list.StoreToBytes()).size(), bytes.size());
        } else {
            EXPECT_TRUE(loaded.list.IsEmpty());
        }
        ++files;
    }
    EXPECT_GT(files, 0);
}
