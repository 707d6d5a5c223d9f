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

namespace {

// The platform store, with another program's rename of its file over the
// notes file (or a kill) coming just before one step of a save.
class StepStore final : public INoteFileStore {
public:
    enum class At { kNothing, kRename, kKill };
    struct Killed {};

    StepStore(std::string path, Bytes theirs) : m_path(std::move(path)), m_theirs(std::move(theirs)) {}
    void Before(int step, At what) { m_step = step, m_what = what; }

    bool WriteTemporary(const std::string& path, std::span<const uint8_t> bytes) override
    {
        Step();
        return m_disk.WriteTemporary(path, bytes);
    }
    bool MoveWithoutReplacing(const std::string& from, const std::string& to) override
    {
        Step();
        return m_disk.MoveWithoutReplacing(from, to);
    }
    std::optional<FileStamp> Stamp(const std::string& path) override
    {
        if (path == MovedAsidePathOf(m_path))
            Step();
        return m_disk.Stamp(path);
    }
    bool RemoveFile(const std::string& path) override
    {
        Step();
        return m_disk.RemoveFile(path);
    }
    bool Exists(const std::string& path) override { return m_disk.Exists(path); }
    std::unique_ptr<INoteFileReader> OpenForReading(const std::string& path) override
    {
        return m_disk.OpenForReading(path);
    }
    bool ReplaceAll(const std::string& path, std::span<const uint8_t> bytes) override
    {
        return m_disk.ReplaceAll(path, bytes);
    }
    void RemoveLeftoverTemporary(const std::string& path) override { m_disk.RemoveLeftoverTemporary(path); }
    bool MakeFolder(const std::string& path) override { return m_disk.MakeFolder(path); }
    std::vector<std::string> ListFiles(const std::string& folder) override { return m_disk.ListFiles(folder); }
    std::optional<int64_t> WrittenAt(const std::string& path) override { return m_disk.WrittenAt(path); }

private:
    void Step()
    {
        if (++m_steps != m_step)
            return;
        if (m_what == At::kKill)
            throw Killed{};
        const std::string theirs = m_path + ".synctmp";
        WriteFile(theirs, m_theirs);
        fs::rename(theirs, m_path);
    }

    INoteFileStore& m_disk = PlatformNoteFileStore();
    std::string m_path;
    Bytes m_theirs;
    int m_step = 0;
    At m_what = At::kNothing;
    int m_steps = 0;
};

}  // namespace

// The steps of a save: 1 writes ours aside, 2 moves the file aside, 3 looks
// at it there, 4 renames ours in, 5 removes the moved-aside file.
TEST(NotesFileStore, AFileRenamedInDuringASaveIsNeverReplacedAndAKillLosesNoVersion)
{
    using At = StepStore::At;
    const Bytes old = {1, 1, 1}, ours = {2, 2, 2, 2}, theirs = {3, 3};
    struct Case {
        const char* label;
        int step;
        At what;
        ReplaceOutcome outcome;  // for a kill: what the start finds after RemoveLeftoverTemporary
        Bytes file;
        Bytes aside;  // empty: none
    } cases[] = {
        {"nobody else", 0, At::kNothing, ReplaceOutcome::kReplaced, ours, {}},
        {"renamed in before ours is written", 1, At::kRename, ReplaceOutcome::kFileChanged, theirs, {}},
        {"renamed in before the file is moved aside", 2, At::kRename, ReplaceOutcome::kFileChanged, theirs, {}},
        {"renamed in while the file is aside", 3, At::kRename, ReplaceOutcome::kFileChanged, theirs, old},
        {"renamed in just before our rename", 4, At::kRename, ReplaceOutcome::kFileChanged, theirs, old},
        {"renamed in after ours: a later write", 5, At::kRename, ReplaceOutcome::kReplaced, theirs, {}},
        {"killed writing ours", 1, At::kKill, ReplaceOutcome::kFailed, old, {}},
        {"killed with the file aside: put back at start", 3, At::kKill, ReplaceOutcome::kFailed, old, {}},
        {"killed before our rename: put back at start", 4, At::kKill, ReplaceOutcome::kFailed, old, {}},
        {"killed before the aside file goes: both kept", 5, At::kKill, ReplaceOutcome::kFailed, ours, old},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempFolder folder;
        const std::string path = folder.Path("notes.dat");
        WriteFile(path, old);
        StepStore store(path, theirs);
        const std::optional<FileStamp> merged = store.Stamp(path);
        store.Before(c.step, c.what);
        try {
            EXPECT_EQ(store.ReplaceAllUnlessChanged(path, ours, merged), c.outcome);
            // A file renamed over ours at once is not taken for ours.
            if (c.outcome == ReplaceOutcome::kReplaced) {
                EXPECT_EQ(store.PlacedStamp() == store.Stamp(path), c.file == ours);
            }
        } catch (const StepStore::Killed&) {
            ASSERT_EQ(c.what, At::kKill);
            store.RemoveLeftoverTemporary(path);  // the next start
        }
        EXPECT_EQ(ReadFile(path), c.file);
        EXPECT_EQ(fs::exists(MovedAsidePathOf(path)), !c.aside.empty());
        if (!c.aside.empty()) {
            EXPECT_EQ(ReadFile(MovedAsidePathOf(path)), c.aside);
        }
        EXPECT_FALSE(fs::exists(TemporaryPathOf(path)));
    }
}
