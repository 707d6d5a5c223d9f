// Loading and saving the largest notes file: 32767 notes with 100-character
// texts and the trailer of their ids, against a plain read and write of the
// same bytes; and the load of the records alone, as an older version wrote
// them, to show what the trailer costs.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/DeletedNotesBin.h"
#include "notes/NoteFileStore.h"

namespace {

std::string BenchFile()
{
    // Written by a child process, so that this process's heap never holds
    // the notes and the start-up turns below begin from a small heap.
    static const std::string path = [] {
        auto p = std::filesystem::temp_directory_path() / "velumo-bench-notes.dat";
        const pid_t child = fork();
        if (child == 0) {
            CNoteList list;
            for (int i = 0; i < CNoteList::kMaxNotes; ++i) {
                auto note = std::make_unique<CNote>();
                note->m_strText = std::u16string(100, static_cast<char16_t>(u'a' + i % 26));
                list.Add(note);
            }
            const std::vector<uint8_t> bytes = list.StoreToBytes();
            // The same notes as an older version wrote them: the records alone.
            size_t recordsEnd = 6;
            for (NotePos pos = list.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos)) {
                CArchive record;
                list.GetAt(pos)->Serialize(record);
                recordsEnd += record.Buffer().size();
            }
            // The same notes, a tenth of them with bold, italic and
            // underlined words.
            int i = 0;
            for (NotePos pos = list.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos), ++i) {
                if (i % 10 == 0)
                    list.GetAt(pos)->m_formats = {{0, 10, 1}, {20, 5, 2}, {50, 30, 12}};
            }
            const bool wrote = PlatformNoteFileStore().ReplaceAll(p.string(), bytes) &&
                               PlatformNoteFileStore().ReplaceAll(p.string() + ".plain-records",
                                                                  {bytes.data(), recordsEnd}) &&
                               PlatformNoteFileStore().ReplaceAll(p.string() + ".formatted", list.StoreToBytes());
            _exit(wrote ? 0 : 1);
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            std::fprintf(stderr, "could not write %s\n", p.string().c_str());
        return p.string();
    }();
    return path;
}

// The plain side: the whole file in one buffer, through the same reader.
bool ReadAll(const std::string& path, std::vector<uint8_t>& out)
{
    out.clear();
    auto reader = PlatformNoteFileStore().OpenForReading(path);
    if (!reader)
        return false;
    out.resize(static_cast<size_t>(reader->Size()));
    size_t done = 0;
    while (done < out.size()) {
        size_t got = 0;
        if (!reader->Read(out.data() + done, out.size() - done, got) || got == 0)
            return false;
        done += got;
    }
    return true;
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(BenchFile())));
}

// The loops below reuse the pages of their last turn, on both sides, so they
// time the reading alone; the start-up figures include the new pages.
void KeepFreedPages()
{
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

void BM_LoadLargestFile(benchmark::State& state)
{
    const std::string path = BenchFile();
    KeepFreedPages();
    for (auto _ : state) {
        auto list = std::make_unique<CNoteList>();
        if (!list->Load(path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(list->m_nCount);
        // Freeing the notes is the program's exit, not its load.
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    SetBytes(state);
}

void SaveLargestFile(benchmark::State& state, const std::string& path)
{
    CNoteList list;
    list.Load(path);
    const std::string out = path + ".save";
    list.m_strPath = out;
    for (auto _ : state) {
        list.m_bModified = 1;
        if (!list.Save())
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(out);
}

void BM_SaveLargestFile(benchmark::State& state)
{
    SaveLargestFile(state, BenchFile());
}

// A tenth of the notes formatted: the runs are written from the notes as
// they are, with nothing read from any window.
void BM_SaveLargestFormattedFile(benchmark::State& state)
{
    SaveLargestFile(state, BenchFile() + ".formatted");
}

// The first save of each day also keeps yesterday's file in Backups: every
// turn here is a new day, against BM_SaveLargestFile's plain saves.
void BM_FirstSaveOfADay(benchmark::State& state)
{
    const auto folder = std::filesystem::temp_directory_path() / ("velumo-bench-day-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string out = (folder / "notes.dat").string();
    std::filesystem::copy_file(BenchFile(), out, std::filesystem::copy_options::overwrite_existing);
    CNoteList list;
    list.Load(out);
    int64_t now = 1796000000;  // a morning in December 2026
    list.SetClock([&now] { return now; });
    for (auto _ : state) {
        now += 24 * 3600;
        list.m_bModified = 1;
        if (!list.Save() || list.TakeBackupFailure())
            state.SkipWithError("save or backup failed");
    }
    SetBytes(state);
    std::filesystem::remove_all(folder);
}

void BM_PlainReadSameBytes(benchmark::State& state)
{
    const std::string path = BenchFile();
    KeepFreedPages();
    for (auto _ : state) {
        std::vector<uint8_t> bytes;
        ReadAll(path, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    SetBytes(state);
}

void BM_PlainWriteSameBytes(benchmark::State& state)
{
    const std::string path = BenchFile();
    std::vector<uint8_t> bytes;
    ReadAll(path, bytes);
    const std::string out = path + ".plain";
    for (auto _ : state)
        PlatformNoteFileStore().ReplaceAll(out, bytes);
    SetBytes(state);
    std::filesystem::remove(out);
}

// The program loads its file once, at start-up, into a heap that has never
// held the notes: every page the notes take is new to the process. A loop
// that loads over and over reuses the pages of the last turn instead, which
// hides that cost from one side only. So each turn here runs in a child
// process of its own; the child times its work and hands the seconds back.
template <typename Work>
void RunInFreshProcess(benchmark::State& state, Work work)
{
    const std::string path = BenchFile();
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0) {
            state.SkipWithError("pipe failed");
            return;
        }
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            const auto start = std::chrono::steady_clock::now();
            const bool ok = work(path);
            const double seconds = ok ? std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
                                      : -1.0;
            const bool sent = write(fds[1], &seconds, sizeof seconds) == static_cast<ssize_t>(sizeof seconds);
            _exit(sent ? 0 : 1);  // no clean-up: freeing is the program's exit, not its load
        }
        close(fds[1]);
        double seconds = -1.0;
        const bool got = child > 0 && read(fds[0], &seconds, sizeof seconds) == static_cast<ssize_t>(sizeof seconds);
        close(fds[0]);
        if (child > 0)
            waitpid(child, nullptr, 0);
        if (!got || seconds < 0) {
            state.SkipWithError("the child's turn failed");
            return;
        }
        state.SetIterationTime(seconds);
    }
    SetBytes(state);
}

void BM_LoadLargestFileAtStartUp(benchmark::State& state)
{
    RunInFreshProcess(state, [](const std::string& path) {
        auto* list = new CNoteList;  // kept: the child ends without freeing
        return list->Load(path) && list->m_nCount == CNoteList::kMaxNotes;
    });
}

void BM_LoadRecordsWithoutTrailerAtStartUp(benchmark::State& state)
{
    RunInFreshProcess(state, [](const std::string& path) {
        auto* list = new CNoteList;
        return list->Load(path + ".plain-records") && list->m_nCount == CNoteList::kMaxNotes;
    });
}

void BM_PlainReadAtStartUp(benchmark::State& state)
{
    RunInFreshProcess(state, [](const std::string& path) {
        auto* bytes = new std::vector<uint8_t>;
        return ReadAll(path, *bytes) && !bytes->empty();
    });
}

void BM_LoadLargestFormattedFileAtStartUp(benchmark::State& state)
{
    RunInFreshProcess(state, [](const std::string& path) {
        auto* list = new CNoteList;
        return list->Load(path + ".formatted") && list->m_nCount == CNoteList::kMaxNotes &&
               list->GetAt(0)->m_formats.size() == 3;
    });
}

void BM_PlainReadFormattedAtStartUp(benchmark::State& state)
{
    RunInFreshProcess(state, [](const std::string& path) {
        auto* bytes = new std::vector<uint8_t>;
        return ReadAll(path + ".formatted", *bytes) && !bytes->empty();
    });
}

// A delete as the main window makes it: one note out of a list of a
// thousand and the save that follows; with the bin (already holding a
// hundred notes) the note is also kept in deleted.dat. Both in one run.
void DeleteOneAndSave(benchmark::State& state, bool withBin)
{
    const auto folder = std::filesystem::temp_directory_path() / "velumo-delete-bench";
    std::filesystem::create_directories(folder);
    const std::string notesPath = (folder / "notes.dat").string();
    CDeletedNotesBin bin;
    bin.Load((folder / "deleted.dat").string(), CurrentNoteTime());
    for (int i = 0; i < 100; ++i) {
        CNote kept;
        kept.m_strText = u"A note deleted some days ago, with a line or two of text";
        bin.Add(kept, CurrentNoteTime());
    }
    bin.Save();
    for (auto _ : state) {
        state.PauseTiming();
        CNoteList list;
        list.Load(notesPath);
        for (int i = static_cast<int>(list.m_nCount); i < 1000; ++i) {
            auto note = std::make_unique<CNote>();
            note->m_strText = u"Note text of an ordinary length, a line or two, for the delete";
            list.Add(note);
        }
        list.Save();
        state.ResumeTiming();
        std::unique_ptr<CNote> gone = list.Detach(list.GetHeadPosition());
        if (withBin) {
            bin.Add(*gone, CurrentNoteTime());
            bin.Save();
            bin.Take(bin.Entries().size() - 1);  // the bin stays at a hundred
        }
        list.Save();
    }
    std::filesystem::remove_all(folder);
}

void BM_DeleteOneAndSave(benchmark::State& state)
{
    DeleteOneAndSave(state, false);
}

void BM_DeleteOneWithTheBinAndSave(benchmark::State& state)
{
    DeleteOneAndSave(state, true);
}

}  // namespace

BENCHMARK(BM_LoadLargestFileAtStartUp)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRecordsWithoutTrailerAtStartUp)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadAtStartUp)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLargestFormattedFileAtStartUp)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadFormattedAtStartUp)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLargestFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadSameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLargestFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLargestFormattedFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstSaveOfADay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteSameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteOneAndSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteOneWithTheBinAndSave)->Unit(benchmark::kMillisecond);
