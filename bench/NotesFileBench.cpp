// Loading and saving the largest notes file: 32767 notes with 100-character
// texts, against a plain read and write of the same bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "notes/CNoteList.h"
#include "notes/NoteFileStore.h"

namespace {

std::string BenchFile()
{
    static const std::string path = [] {
        auto p = std::filesystem::temp_directory_path() / "velumo-bench-notes.dat";
        CNoteList list;
        for (int i = 0; i < CNoteList::kMaxNotes; ++i) {
            auto note = std::make_unique<CNote>();
            note->m_strText = std::u16string(100, static_cast<char16_t>(u'a' + i % 26));
            list.Add(note);
        }
        PlatformNoteFileStore().ReplaceAll(p.string(), list.StoreToBytes());
        return p.string();
    }();
    return path;
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(BenchFile())));
}

void BM_LoadLargestFile(benchmark::State& state)
{
    const std::string path = BenchFile();
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

void BM_SaveLargestFile(benchmark::State& state)
{
    const std::string path = BenchFile();
    CNoteList list;
    list.Load(path);
    const std::string out = path + ".save";
    list.m_strPath = out;
    for (auto _ : state) {
        list.m_bModified = 1;
        if (!list.Save())
            state.SkipWithError("save failed");
    }
    SetBytes(state);
    std::filesystem::remove(out);
}

void BM_PlainReadSameBytes(benchmark::State& state)
{
    const std::string path = BenchFile();
    for (auto _ : state) {
        std::vector<uint8_t> bytes;
        PlatformNoteFileStore().ReadAll(path, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    SetBytes(state);
}

void BM_PlainWriteSameBytes(benchmark::State& state)
{
    const std::string path = BenchFile();
    std::vector<uint8_t> bytes;
    PlatformNoteFileStore().ReadAll(path, bytes);
    const std::string out = path + ".plain";
    for (auto _ : state)
        PlatformNoteFileStore().ReplaceAll(out, bytes);
    SetBytes(state);
    std::filesystem::remove(out);
}

}  // namespace

BENCHMARK(BM_LoadLargestFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadSameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLargestFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteSameBytes)->Unit(benchmark::kMillisecond);
