// Stored 96-DPI values shown at another display scale and stored back, and
// the skin's mask brought to its scaled pictures' size.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "framework/DisplayScale.h"
#include "skin/RegionRuns.h"
#include "core/ScaledMask.h"

TEST(DisplayScale, StoredRectanglesAndFontHeightsBothWays)
{
    struct Row {
        const char* label;
        int dpi;
        NoteRect stored;
        NoteRect shown;
        int32_t fontHeight;
        int32_t shownFontHeight;
    } rows[] = {
        {"100%: unchanged", 96, {70, 100, 270, 250}, {70, 100, 270, 250}, -16, -16},
        {"125%", 120, {70, 100, 270, 250}, {88, 125, 338, 313}, -16, -20},
        {"150%: a 200 x 150 note is 300 x 225", 144, {70, 100, 270, 250}, {105, 150, 405, 375}, -16, -24},
        {"175%", 168, {70, 100, 270, 250}, {123, 175, 473, 438}, -16, -28},
        {"200%", 192, {70, 100, 270, 250}, {140, 200, 540, 500}, -16, -32},
        {"monitor left of and above the main one, 150%", 144, {-1501, -33, -1301, 117},
         {-2252, -50, -1952, 175}, -13, -20},
        {"odd sizes round the same way everywhere, 175%", 168, {3, 5, 204, 156}, {5, 9, 357, 273}, -11, -19},
        {"positive (cell) font height, 125%", 120, {0, 0, 45, 45}, {0, 0, 56, 56}, 14, 18},
        {"unset font height stays unset", 144, {0, 0, 1, 1}, {0, 0, 2, 2}, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const DisplayScale scale(row.dpi);
        EXPECT_EQ(scale.ToPixels(row.stored), row.shown);
        EXPECT_EQ(scale.ToBase(row.shown), row.stored) << "stored again, the bytes are the same";
        EXPECT_EQ(scale.ToPixels(row.fontHeight), row.shownFontHeight);
        EXPECT_EQ(scale.ToBase(row.shownFontHeight), row.fontHeight);
        EXPECT_EQ(scale.ToPixels(row.stored).Width(), scale.ToPixels(row.stored.Width())) << "size kept anywhere";
    }
}

TEST(DisplayScale, EveryStoredValueComesBackFromAnyScaleUpwards)
{
    for (int dpi : {96, 108, 120, 144, 168, 192, 240, 288}) {
        SCOPED_TRACE(dpi);
        const DisplayScale scale(dpi);
        for (int32_t v = -3000; v <= 3000; ++v)
            ASSERT_EQ(scale.ToBase(scale.ToPixels(v)), v);
    }
}

TEST(DisplayScale, DamagedFileValuesAndUnusableDpis)
{
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    const DisplayScale twice(192);
    EXPECT_EQ(twice.ToPixels(kMax), kMax);
    EXPECT_EQ(twice.ToPixels(kMin), kMin);
    // A rectangle whose width overflows 32 bits neither wraps nor crashes.
    const NoteRect huge = twice.ToPixels(NoteRect{kMin, kMin, kMax, kMax});
    EXPECT_LE(huge.left, huge.right);
    EXPECT_EQ(DisplayScale(0).Dpi(), 96);
    EXPECT_EQ(DisplayScale(-144).Dpi(), 96);
}

TEST(DisplayScale, AStoredNoteIsShownAtTheScaleOfTheMonitorItLiesOn)
{
    // A 1920 x 1080 main monitor at 150% and a 100% one to its left.
    const MonitorScale monitors[] = {{{0, 0, 1920, 1080}, 144}, {{-1280, 0, 0, 1024}, 96}};
    struct Row {
        const char* label;
        NoteRect stored;
        int dpi;
    } rows[] = {
        {"on the main monitor", {100, 100, 300, 250}, 144},
        {"on the left monitor", {-900, 100, -700, 250}, 96},
        {"mostly on the left one", {-150, 100, 50, 250}, 96},
        {"beyond every monitor: the main one's", {5000, 5000, 5200, 5150}, 144},
        {"main monitor's far right, past its stored width", {1300, 100, 1500, 250}, 144},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(DpiForStoredRect(row.stored, monitors), row.dpi);
    }
    EXPECT_EQ(DpiForStoredRect(NoteRect{0, 0, 10, 10}, {}), 96);
}

TEST(ScaledMask, RunsFillTheScaledPicturesSizeAndNoMore)
{
    // A mask with a white (outside) corner pixel at the top left and a white
    // column at the right: its runs at any scale must stay inside the scaled
    // picture and keep its shape.
    constexpr int32_t kWidth = 7, kHeight = 5;
    std::vector<uint8_t> mask(kWidth * kHeight * 4, 0);
    const auto white = [&](int x, int y) {
        uint8_t* p = mask.data() + ((kHeight - 1 - y) * kWidth + x) * 4;
        p[0] = p[1] = p[2] = 255;
    };
    white(0, 0);
    for (int y = 0; y < kHeight; ++y)
        white(kWidth - 1, y);
    for (int dpi : {96, 120, 144, 168, 192}) {
        SCOPED_TRACE(dpi);
        const DisplayScale scale(dpi);
        const int32_t w = scale.ToPixels(kWidth), h = scale.ToPixels(kHeight);
        const auto scaled = ScaleMaskNearest(mask.data(), kWidth * 4, kWidth, kHeight, w, h);
        ASSERT_EQ(scaled.size(), size_t(w) * h * 4);
        std::vector<RegionRect> runs;
        ASSERT_TRUE(ExtractRegionRuns(scaled.data(), size_t(w) * 4, w, h, 0xFFFFFF, 0x101010,
                                      [&](const uint8_t* data, size_t) {
                                          RegionDataHeader header;
                                          std::memcpy(&header, data, sizeof header);
                                          const auto* r = reinterpret_cast<const RegionRect*>(data + sizeof header);
                                          runs.insert(runs.end(), r, r + header.count);
                                          return true;
                                      }));
        ASSERT_EQ(runs.size(), size_t(h)) << "one run per row";
        // Edges land within a pixel of where the scale puts them.
        const int32_t corner = scale.ToPixels(1), column = scale.ToPixels(kWidth - 1);
        for (int32_t y = 0; y < h; ++y) {
            SCOPED_TRACE(y);
            EXPECT_EQ(runs[y].top, y);
            EXPECT_EQ(runs[y].bottom, y + 1);
            EXPECT_LT(runs[y].right, w) << "the white column stays outside";
            EXPECT_NEAR(runs[y].right, column, 1);
            if (y + 1 < corner) {
                EXPECT_NEAR(runs[y].left, corner, 1) << "the cut corner grows with the scale";
            }
            if (y > corner) {
                EXPECT_EQ(runs[y].left, 0);
            }
        }
        EXPECT_GT(runs[0].left, 0);
    }
    EXPECT_TRUE(ScaleMaskNearest(mask.data(), kWidth * 4, kWidth, kHeight, 0, 10).empty());
    EXPECT_TRUE(ScaleMaskNearest(mask.data(), kWidth * 4 - 1, kWidth, kHeight, 10, 10).empty());
}
