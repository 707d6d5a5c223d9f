// Run extraction alone (no regions): the part of building a window shape
// that does not depend on the platform.
#include <benchmark/benchmark.h>

#include "SkinMasks.h"
#include "skin/RegionRuns.h"

namespace {

void Extract(benchmark::State& state, const bench_masks::Mask& mask)
{
    int64_t rects = 0;
    for (auto _ : state) {
        rects = 0;
        const bool ok = ExtractRegionRuns(reinterpret_cast<const uint8_t*>(mask.pixels.data()),
                                          size_t(mask.width) * 4, mask.width, mask.height, 0xFFFFFF, 0x101010,
                                          [&rects](const uint8_t* data, size_t) {
                                              rects += reinterpret_cast<const RegionDataHeader*>(data)->count;
                                              return true;
                                          });
        benchmark::DoNotOptimize(ok);
    }
    state.counters["rects"] = static_cast<double>(rects);
    state.SetItemsProcessed(state.iterations() * int64_t{mask.width} * mask.height);
}

void BM_RunsDefaultSkinSize(benchmark::State& state)
{
    static const auto mask = bench_masks::RoundedMask(545, 260, 18);
    Extract(state, mask);
}
BENCHMARK(BM_RunsDefaultSkinSize)->Unit(benchmark::kMicrosecond);

void BM_RunsRounded1920x1080(benchmark::State& state)
{
    static const auto mask = bench_masks::RoundedMask(1920, 1080, 40);
    Extract(state, mask);
}
BENCHMARK(BM_RunsRounded1920x1080)->Unit(benchmark::kMillisecond);

void BM_RunsCheckerboard1024(benchmark::State& state)
{
    static const auto mask = bench_masks::Checkerboard(1024, 1024);
    Extract(state, mask);
}
BENCHMARK(BM_RunsCheckerboard1024)->Unit(benchmark::kMillisecond);

}  // namespace
