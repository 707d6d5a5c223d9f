// Building window regions from masks: the default skin's mask, a full-HD
// rounded window and the worst case, a 1024 x 1024 checkerboard (524288
// one-pixel runs). Besides RegionFromBitmap itself, its parts are timed, and
// the batches are also joined pairwise instead of one after the other, which
// gives the same region.
#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "SkinMasks.h"
#include "WinTiming.h"
#include "framework/ScopedHandles.h"
#include "skin/RegionRuns.h"
#include "skin/SkinImage.h"

namespace {

struct Timing {
    double median;
    double fastest;
};

Timing Measure(int repetitions, const std::function<void()>& work)
{
    std::vector<double> seconds;
    for (int i = 0; i < repetitions; ++i) {
        const double start = NowSeconds();
        work();
        seconds.push_back(NowSeconds() - start);
    }
    return Timing{Median(seconds), *std::min_element(seconds.begin(), seconds.end())};
}

// The header of a 32-bit bottom-up picture.
BITMAPINFO Dib32Info(int32_t width, int32_t height)
{
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return info;
}

// A mask as a 32-bit bottom-up DIB section, the form RegionFromBitmap copies
// every mask into.
struct DibMask {
    UniqueBitmap bitmap;
    const uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};

DibMask MakeDib(const bench_masks::Mask& mask)
{
    BITMAPINFO info = Dib32Info(mask.width, mask.height);
    void* bits = nullptr;
    DibMask dib;
    dib.bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (dib.bitmap)
        std::copy(mask.pixels.begin(), mask.pixels.end(), static_cast<uint32_t*>(bits));
    dib.bits = static_cast<const uint8_t*>(bits);
    dib.width = mask.width;
    dib.height = mask.height;
    return dib;
}

// The batches of a mask as regions, not yet joined.
std::vector<HRGN> BatchRegions(const DibMask& dib)
{
    std::vector<HRGN> regions;
    ExtractRegionRuns(dib.bits, size_t(dib.width) * 4, dib.width, dib.height, 0xFFFFFF, 0x101010,
                      [&regions](const uint8_t* data, size_t size) {
                          regions.push_back(ExtCreateRegion(nullptr, static_cast<DWORD>(size),
                                                            reinterpret_cast<const RGNDATA*>(data)));
                          return regions.back() != nullptr;
                      });
    return regions;
}

HRGN JoinInOrder(std::vector<HRGN> regions)
{
    HRGN result = regions[0];
    for (size_t i = 1; i < regions.size(); ++i) {
        CombineRgn(result, result, regions[i], RGN_OR);
        DeleteObject(regions[i]);
    }
    return result;
}

// Neighbours joined in rounds, so each union works on regions of like size.
HRGN JoinPairwise(std::vector<HRGN> regions)
{
    while (regions.size() > 1) {
        std::vector<HRGN> next;
        for (size_t i = 0; i + 1 < regions.size(); i += 2) {
            CombineRgn(regions[i], regions[i], regions[i + 1], RGN_OR);
            DeleteObject(regions[i + 1]);
            next.push_back(regions[i]);
        }
        if (regions.size() % 2)
            next.push_back(regions.back());
        regions.swap(next);
    }
    return regions[0];
}

void Report(const char* what, const Timing& t)
{
    std::printf("  %-44s median %9.3f ms   fastest %9.3f ms\n", what, t.median * 1000, t.fastest * 1000);
}

void TimeRegionFromBitmap(const char* what, HBITMAP mask, int repetitions)
{
    Report(what, Measure(repetitions, [&] {
               UniqueRegion r(RegionFromBitmap(mask, RGB(255, 255, 255), RGB(16, 16, 16)));
               if (!r)
                   std::abort();
           }));
}

void Run(const char* name, HBITMAP source, const DibMask& dib, int repetitions)
{
    std::printf("%s (%d x %d, %d repetitions)\n", name, dib.width, dib.height, repetitions);
    TimeRegionFromBitmap("RegionFromBitmap", source, repetitions);
    Report("  copy into a new 32-bit working bitmap only", Measure(repetitions, [&] {
               UniqueMemDC dc(CreateCompatibleDC(nullptr));
               BITMAPINFO info = Dib32Info(dib.width, dib.height);
               void* bits = nullptr;
               UniqueBitmap working(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
               ScopedSelect selectWorking(dc, working);
               UniqueMemDC from(CreateCompatibleDC(dc));
               ScopedSelect selectSource(from, source);
               BitBlt(dc, 0, 0, dib.width, dib.height, from, 0, 0, SRCCOPY);
               GdiFlush();
           }));
    int rects = 0;
    Report("  run extraction only", Measure(repetitions, [&] {
               rects = 0;
               ExtractRegionRuns(dib.bits, size_t(dib.width) * 4, dib.width, dib.height, 0xFFFFFF, 0x101010,
                                 [&rects](const uint8_t* data, size_t) {
                                     rects += static_cast<int>(reinterpret_cast<const RegionDataHeader*>(data)->count);
                                     return true;
                                 });
           }));
    Report("  runs + one region per batch", Measure(repetitions, [&] {
               for (HRGN r : BatchRegions(dib))
                   DeleteObject(r);
           }));
    Report("  runs + batches joined in order", Measure(repetitions, [&] {
               DeleteObject(JoinInOrder(BatchRegions(dib)));
           }));
    Report("  runs + batches joined pairwise", Measure(repetitions, [&] {
               DeleteObject(JoinPairwise(BatchRegions(dib)));
           }));
    UniqueRegion inOrder(JoinInOrder(BatchRegions(dib)));
    UniqueRegion pairwise(JoinPairwise(BatchRegions(dib)));
    UniqueRegion product(RegionFromBitmap(source, RGB(255, 255, 255), RGB(16, 16, 16)));
    std::printf("  %d rectangles in %d batches; regions joined pairwise: %s; RegionFromBitmap: %s\n\n", rects,
                rects / 2000 + 1, EqualRgn(inOrder, pairwise) ? "the same" : "DIFFERENT",
                EqualRgn(inOrder, product) ? "the same" : "DIFFERENT");
}

}  // namespace

// Arguments: a factor for the repetitions (default 1), then the masks to time
// (default, rounded, checkerboard; all when none is named).
int main(int argc, char** argv)
{
    OleInitialize(nullptr);
    const int scale = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    auto wanted = [argc, argv](const char* name) {
        if (argc <= 2)
            return true;
        for (int i = 2; i < argc; ++i)
            if (std::string(argv[i]) == name)
                return true;
        return false;
    };

    UniqueBitmap defaultMask;
    SIZE size{};
    const std::string maskPath = std::string(VELUMO_SKIN_PACKED_DIR) + "/mask.bmp";
    if (!LoadSkinImage(maskPath, defaultMask, size)) {
        std::fprintf(stderr, "cannot load %s\n", maskPath.c_str());
        return 1;
    }
    // The same mask as a DIB for the part timings.
    bench_masks::Mask defaultPixels{size.cx, size.cy, std::vector<uint32_t>(size_t(size.cx) * size.cy)};
    {
        BITMAPINFO info = Dib32Info(size.cx, size.cy);
        ScopedGetDC screen(nullptr);
        GetDIBits(screen, defaultMask, 0, size.cy, defaultPixels.pixels.data(), &info, DIB_RGB_COLORS);
        for (auto& p : defaultPixels.pixels)
            p &= 0x00FFFFFF;
    }
    const DibMask defaultDib = MakeDib(defaultPixels);
    const DibMask rounded = MakeDib(bench_masks::RoundedMask(1920, 1080, 40));
    const DibMask checkerboard = MakeDib(bench_masks::Checkerboard(1024, 1024));

    if (wanted("default"))
        Run("Default skin mask", defaultMask, defaultDib, 50 * scale);
    if (wanted("rounded"))
        Run("Rounded 1920 x 1080 mask", rounded.bitmap, rounded, 20 * scale);
    if (wanted("checkerboard"))
        Run("Checkerboard 1024 x 1024", checkerboard.bitmap, checkerboard, 5 * scale);
    OleUninitialize();
    return 0;
}
