// The notes file on disk: streaming reads, the temporary file of a save,
// and files far larger than the notes they hold.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "MemoryLimit.h"
#include "MemoryNoteStore.h"
#include "TrailerBytes.h"
#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/NoteFileStore.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

// A folder of this process's own: the suite runs in several time zones at once.
class TempFolder {
public:
    TempFolder() : m_dir(fs::temp_directory_path() / ("velumo-store-test-" + std::to_string(::getpid())))
    {
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    ~TempFolder() { fs::remove_all(m_dir); }
    std::string Path(const char* name) const { return (m_dir / name).string(); }

private:
    fs::path m_dir;
};

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

Bytes SampleFile()
{
    CNoteList list;
    for (size_t length : {0u, 3u, 17u, 300u, 70000u}) {
        auto note = std::make_unique<CNote>();
        note->m_strText = std::u16string(length, u'q');
        note->m_strSoundFile = length == 17 ? u"\u0393\u03B5 wide" : u"";
        list.Add(note);
    }
    return list.StoreToBytes();
}

}  // namespace

TEST(NotesFileStore, StreamedLoadMatchesAWholeReadAtEveryWindowAndPiece)
{
    const Bytes file = SampleFile();
    CNoteList whole;
    CArchive all(file);
    whole.Serialize(all);
    const Bytes expected = whole.StoreToBytes();
    ASSERT_EQ(expected, file);

    for (size_t window : {size_t{128}, size_t{131}, size_t{4096}, CArchive::kWindowBytes}) {
        for (size_t piece : {size_t{1}, size_t{7}, SIZE_MAX}) {
            SCOPED_TRACE("window " + std::to_string(window) + ", piece " + std::to_string(piece));
            MemoryNoteStore::Reader reader(file, piece);
            CNoteList streamed;
            CArchive ar(reader, window);
            ASSERT_NO_THROW(streamed.Serialize(ar));
            EXPECT_EQ(streamed.StoreToBytes(), expected);
        }
    }
    // Cut anywhere in the records, it is refused, whatever the window.
    for (size_t cut : {RecordsEnd(file) - 1, file.size() / 2, size_t{5}}) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        MemoryNoteStore::Reader reader(Bytes(file.begin(), file.begin() + static_cast<long>(cut)), 7);
        CNoteList streamed;
        CArchive ar(reader, 131);
        EXPECT_THROW(streamed.Serialize(ar), ArchiveError);
    }
}

TEST(NotesFileStore, ALeftoverTemporaryFileIsRemovedAtLoad)
{
    TempFolder folder;
    const std::string path = folder.Path("notes.dat");
    const Bytes file = SampleFile();
    WriteFile(path, file);
    WriteFile(TemporaryPathOf(path), Bytes(100, 0x55));  // a save cut off halfway

    CNoteList list;
    ASSERT_TRUE(list.Load(path));
    EXPECT_EQ(list.m_nCount, 5);
    EXPECT_FALSE(fs::exists(TemporaryPathOf(path)));
    EXPECT_EQ(ReadFile(path), file);
}

TEST(NotesFileStore, ABlockedTemporaryNameStillLetsTheMissingFileBeCreated)
{
    TempFolder folder;
    const std::string path = folder.Path("notes.dat");
    // A folder where the temporary file would go: no temporary file can be
    // made, and it is not ours to remove.
    fs::create_directory(TemporaryPathOf(path));

    CNoteList list;
    ASSERT_TRUE(list.Load(path));
    EXPECT_EQ(ReadFile(path), (Bytes{0x00, 0x01, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_TRUE(fs::is_directory(TemporaryPathOf(path)));

    // Once the file exists it is never written in place: the save fails, the
    // file stays whole, and the change waits for the next save.
    list.Add(std::make_unique<CNote>());
    EXPECT_FALSE(list.Save());
    EXPECT_EQ(list.m_bModified, 1u);
    EXPECT_EQ(fs::file_size(path), 6u);
}

TEST(NotesFileStore, AHugeFileTakesMemoryForTheNotesItHoldsNotForItsSize)
{
    TempFolder folder;
    const std::string path = folder.Path("notes.dat");
    {
        // 1 GB of zeros: a valid empty list with a long tail (sparse on disk).
        std::ofstream(path, std::ios::binary).put('\0');
        fs::resize_file(path, 1ull << 30);
    }
    Bytes oneNote = SampleFile();
    oneNote[4] = 1, oneNote[5] = 0;
    const std::string onePath = folder.Path("one.dat");
    WriteFile(onePath, oneNote);
    fs::resize_file(onePath, 1ull << 30);

    EXPECT_EXIT(
        {
            LimitAddressSpaceToCurrentPlus(64u << 20);
            CNoteList empty;
            CNoteList one;
            const bool ok = empty.Load(path) && empty.m_nCount == 0 && one.Load(onePath) && one.m_nCount == 1;
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
