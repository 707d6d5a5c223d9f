// Cutting a window's shape out of a mask: runs of opaque pixels, batches of
// region data, and sizes that must not wrap.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "skin/RegionRuns.h"

std::ostream& operator<<(std::ostream& os, const RegionRect& r)
{
    return os << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
}

namespace {

// A 32-bit bottom-up picture drawn from rows given top first: '#' black,
// '.' white, 'r', 'g', 'b' white with that component at 254.
struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    size_t stride = 0;
    std::vector<uint8_t> bits;
};

Picture Draw(const std::vector<std::string>& rows, size_t padding = 0)
{
    Picture p;
    p.height = static_cast<int32_t>(rows.size());
    p.width = p.height ? static_cast<int32_t>(rows[0].size()) : 0;
    p.stride = size_t(p.width) * 4 + padding;
    // Padding bytes are black: reading them would add runs.
    p.bits.assign(p.stride * rows.size(), 0);
    for (size_t y = 0; y < rows.size(); ++y) {
        uint8_t* row = p.bits.data() + (rows.size() - 1 - y) * p.stride;
        for (size_t x = 0; x < rows[y].size(); ++x) {
            uint8_t b = 255, g = 255, r = 255;
            switch (rows[y][x]) {
            case '#': b = g = r = 0; break;
            case 'r': r = 254; break;
            case 'g': g = 254; break;
            case 'b': b = 254; break;
            }
            row[x * 4] = b;
            row[x * 4 + 1] = g;
            row[x * 4 + 2] = r;
            row[x * 4 + 3] = 0x77;
        }
    }
    return p;
}

struct Batch {
    RegionDataHeader header;
    size_t size;
    std::vector<RegionRect> rects;
};

std::vector<Batch> Extract(const Picture& p, uint32_t colour = 0xFFFFFF, uint32_t tolerance = 0x101010,
                           bool* ok = nullptr)
{
    std::vector<Batch> batches;
    const bool done = ExtractRegionRuns(p.bits.data(), p.stride, p.width, p.height, colour, tolerance,
                                        [&](const uint8_t* data, size_t size) {
                                            Batch batch{};
                                            std::memcpy(&batch.header, data, sizeof batch.header);
                                            batch.size = size;
                                            batch.rects.resize(batch.header.count);
                                            std::memcpy(batch.rects.data(), data + sizeof batch.header,
                                                        batch.rects.size() * sizeof(RegionRect));
                                            batches.push_back(batch);
                                            return true;
                                        });
    if (ok)
        *ok = done;
    return batches;
}

constexpr RegionRect kEmptyBounds{2147483647, 2147483647, 0, 0};

// One row of opaque pixels, each followed by a white one: that many runs.
std::string AlternatingRow(int runs)
{
    std::string row;
    for (int i = 0; i < runs; ++i)
        row += "#.";
    return row;
}

}  // namespace

TEST(SkinRuns, RunsOfSmallMasks)
{
    struct Case {
        const char* label;
        std::vector<std::string> rows;
        std::vector<RegionRect> rects;
    } cases[] = {
        {"no white pixels: one full row each", {"###", "###"}, {{0, 0, 3, 1}, {0, 1, 3, 2}}},
        {"all white: nothing", {"...", "..."}, {}},
        {"opaque, white, opaque", {"#.#"}, {{0, 0, 1, 1}, {2, 0, 3, 1}}},
        {"a component at 254 is opaque", {"r.g.b"}, {{0, 0, 1, 1}, {2, 0, 3, 1}, {4, 0, 5, 1}}},
        {"top row first, though last in memory", {"#..", ".##"}, {{0, 0, 1, 1}, {1, 1, 3, 2}}},
        {"runs touching both edges", {"##..##"}, {{0, 0, 2, 1}, {4, 0, 6, 1}}},
        {"rounded corner", {".##.", "####", "####", ".##."},
         {{1, 0, 3, 1}, {0, 1, 4, 2}, {0, 2, 4, 3}, {1, 3, 3, 4}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto batches = Extract(Draw(c.rows, 8));
        ASSERT_EQ(batches.size(), 1u);
        const Batch& b = batches[0];
        EXPECT_EQ(b.header.headerSize, 32u);
        EXPECT_EQ(b.header.type, 1u);
        EXPECT_EQ(b.header.regionSize, 0u);
        EXPECT_EQ(b.size, 32u + 16u * 100u);
        EXPECT_EQ(b.rects, c.rects);
        RegionRect bounds = kEmptyBounds;
        for (const auto& r : c.rects) {
            bounds.left = std::min(bounds.left, r.left);
            bounds.top = std::min(bounds.top, r.top);
            bounds.right = std::max(bounds.right, r.right);
            bounds.bottom = std::max(bounds.bottom, r.bottom);
        }
        EXPECT_EQ(b.header.bounds, bounds);
    }
}

TEST(SkinRuns, ColourRangeWithTolerance)
{
    // Colours are 0x00BBGGRR; each component's range is [colour, colour +
    // tolerance], at most 255. Pixel bytes are blue, green, red.
    const ColourRange range = MakeColourRange(0x00F08020, 0x00203040);
    struct Case {
        const char* label;
        uint8_t r, g, b;
        bool transparent;
    } cases[] = {
        {"low ends", 0x20, 0x80, 0xF0, true},       {"high ends", 0x60, 0xB0, 0xFF, true},
        {"red above", 0x61, 0x80, 0xF0, false},     {"green below", 0x20, 0x7F, 0xF0, false},
        {"blue below", 0x20, 0x80, 0xEF, false},    {"red and blue swapped", 0xF0, 0x80, 0x20, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const uint8_t pixel[4] = {c.b, c.g, c.r, 0};
        EXPECT_EQ(range.Contains(pixel), c.transparent);
    }
}

TEST(SkinRuns, BatchesOfTwoThousand)
{
    struct Case {
        const char* label;
        int runs;
        std::vector<uint32_t> counts;  // rectangles per batch
        std::vector<size_t> sizes;     // bytes per batch
    } cases[] = {
        {"150 runs: the buffer grew once", 150, {150}, {32 + 16 * 200}},
        {"exactly 2000: a full batch, then an empty one", 2000, {2000, 0}, {32 + 16 * 2000, 32 + 16 * 2000}},
        {"2001", 2001, {2000, 1}, {32 + 16 * 2000, 32 + 16 * 2000}},
        {"4090", 4090, {2000, 2000, 90}, {32 + 16 * 2000, 32 + 16 * 2000, 32 + 16 * 2000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto batches = Extract(Draw({AlternatingRow(c.runs)}));
        ASSERT_EQ(batches.size(), c.counts.size());
        int32_t nextLeft = 0;
        for (size_t i = 0; i < batches.size(); ++i) {
            EXPECT_EQ(batches[i].header.count, c.counts[i]);
            EXPECT_EQ(batches[i].size, c.sizes[i]);
            for (const auto& r : batches[i].rects) {
                ASSERT_EQ(r, (RegionRect{nextLeft, 0, nextLeft + 1, 1}));
                nextLeft += 2;
            }
            if (c.counts[i] == 0) {
                EXPECT_EQ(batches[i].header.bounds, kEmptyBounds);
            }
        }
        EXPECT_EQ(nextLeft, 2 * c.runs);
    }
    // The bounds start again with each batch.
    const auto batches = Extract(Draw({AlternatingRow(2001)}));
    EXPECT_EQ(batches[0].header.bounds, (RegionRect{0, 0, 3999, 1}));
    EXPECT_EQ(batches[1].header.bounds, (RegionRect{4000, 0, 4001, 1}));
}

TEST(SkinRuns, RefusedBatchOrUnusableSizeStopsTheScan)
{
    const Picture p = Draw({AlternatingRow(2500)});
    int handed = 0;
    EXPECT_FALSE(ExtractRegionRuns(p.bits.data(), p.stride, p.width, p.height, 0xFFFFFF, 0x101010,
                                   [&](const uint8_t*, size_t) { ++handed; return false; }));
    EXPECT_EQ(handed, 1);

    struct Case {
        const char* label;
        int32_t width, height;
        size_t stride;
    } cases[] = {
        {"no width", 0, 1, 4}, {"no height", 1, 0, 4}, {"negative height", 1, -1, 4},
        {"stride shorter than a row", 2, 1, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const uint8_t bits[16] = {};
        handed = 0;
        EXPECT_FALSE(ExtractRegionRuns(bits, c.stride, c.width, c.height, 0xFFFFFF, 0x101010,
                                       [&](const uint8_t*, size_t) { ++handed; return true; }));
        EXPECT_EQ(handed, 0);
    }
}

TEST(SkinRuns, PictureSizesNeverWrap)
{
    struct Case {
        const char* label;
        int64_t width, height;
        bool usable;
        size_t bytes;
    } cases[] = {
        {"one pixel", 1, 1, true, 4},
        {"default skin", 545, 260, true, 545 * 4 * 260},
        {"full HD", 1920, 1080, true, 1920 * 4 * 1080},
        {"widest row", 536870911, 1, true, 2147483644u},
        {"row past 2 GiB", 536870912, 1, false, 0},
        {"two widest rows", 536870911, 2, false, 0},
        {"65536 square", 65536, 65536, false, 0},
        {"negative width", -4, 4, false, 0},
        {"huge height", 4, int64_t{1} << 40, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto bytes = DibImageBytes(c.width, c.height);
        ASSERT_EQ(bytes.has_value(), c.usable);
        if (c.usable) {
            EXPECT_EQ(*bytes, c.bytes);
        }
    }
}

TEST(SkinRuns, MasksThatGiveNoWindowShape)
{
    // A picture of one colour, given as width x height: black (opaque) or white.
    const auto plain = [](int32_t width, int32_t height, uint8_t value) {
        Picture p;
        p.width = width;
        p.height = height;
        p.stride = size_t(width) * 4;
        p.bits.assign(p.stride * size_t(height), value);
        return p;
    };
    // Rows of 1000 one-pixel runs each.
    const auto alternating = [](int32_t rows) {
        Picture p;
        p.width = 2000;
        p.height = rows;
        p.stride = 2000 * 4;
        p.bits.assign(p.stride * size_t(rows), 0xFF);
        for (size_t i = 0; i < p.bits.size(); i += 8)
            std::memset(&p.bits[i], 0, 4);
        return p;
    };
    struct Case {
        const char* label;
        Picture picture;
        bool shaped;
    } cases[] = {
        {"all white", plain(40, 30, 0xFF), false},
        {"8192 wide", plain(8192, 1, 0), true},
        {"8193 wide", plain(8193, 1, 0), false},
        {"8192 tall", plain(1, 8192, 0), true},
        {"8193 tall", plain(1, 8193, 0), false},
        {"exactly a million runs", alternating(1000), true},
        {"a thousand runs past a million", alternating(1001), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        uint64_t rects = 0;
        const bool shaped = ExtractRegionRuns(c.picture.bits.data(), c.picture.stride, c.picture.width,
                                              c.picture.height, 0xFFFFFF, 0x101010,
                                              [&](const uint8_t* data, size_t) {
                                                  RegionDataHeader header;
                                                  std::memcpy(&header, data, sizeof header);
                                                  rects += header.count;
                                                  return true;
                                              });
        EXPECT_EQ(shaped, c.shaped);
        // The scan stops at the limit instead of handing over everything.
        EXPECT_LE(rects, kMaxRegionRects);
    }
}
