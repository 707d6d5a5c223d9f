// Skin pictures come from any folder: a BMP read directly must have every
// part it names inside the file, or go to the picture decoder untouched.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "skin/PlainBmp.h"

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v)
{
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

// A 3 x 2 picture of the given depth, with a full colour table when it has
// one: 14 + 40 + table + rows.
std::vector<uint8_t> Bmp(uint16_t bits, int32_t height = 2)
{
    const uint32_t table = bits <= 8 ? 4u << bits : 0;
    const uint32_t stride = (3 * bits + 31) / 32 * 4;
    const uint32_t rows = stride * static_cast<uint32_t>(height < 0 ? -height : height);
    std::vector<uint8_t> b(54 + table + rows, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, 54 + table);
    Put32(b, 14, 40);
    Put32(b, 18, 3);
    Put32(b, 22, static_cast<uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    return b;
}

}  // namespace

TEST(PlainBmp, EveryPartMustLieInsideTheFile)
{
    for (uint16_t bits : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        const auto b = Bmp(bits);
        const auto layout = ParsePlainBmp(b);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->pixelsAt + layout->pixelBytes, b.size());
    }
    const auto topDown = ParsePlainBmp(Bmp(24, -2));
    ASSERT_TRUE(topDown);
    EXPECT_EQ(topDown->pixelBytes, 2u * 12u);

    struct Case {
        const char* label;
        std::function<void(std::vector<uint8_t>&)> damage;
    } refused[] = {
        {"last row cut short", [](auto& b) { b.pop_back(); }},
        {"only the file header", [](auto& b) { b.resize(20); }},
        {"not BM", [](auto& b) { b[1] = 'A'; }},
        {"pixels said to start past the end", [](auto& b) { Put32(b, 10, 0xFFFFFFF0u); }},
        {"pixels inside the info header", [](auto& b) { Put32(b, 10, 40); }},
        {"info header larger than the gap", [](auto& b) { Put32(b, 14, 0xFFFFFF00u); }},
        {"info header too small", [](auto& b) { Put32(b, 14, 12); }},
        {"colour table over the pixels", [](auto& b) { Put32(b, 46, 255); }},
        {"more than 256 colours", [](auto& b) { Put32(b, 46, 257); }},
        {"compressed", [](auto& b) { Put32(b, 30, 1); }},
        {"16 bits", [](auto& b) { Put16(b, 28, 16); }},
        {"two planes", [](auto& b) { Put16(b, 26, 2); }},
        {"no width", [](auto& b) { Put32(b, 18, 0); }},
        {"height of the most negative value", [](auto& b) { Put32(b, 22, 0x80000000u); }},
        {"wider than 65535", [](auto& b) { Put32(b, 18, 65536); }},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.label);
        auto b = Bmp(4);
        c.damage(b);
        EXPECT_FALSE(ParsePlainBmp(b));
    }
}

TEST(PlainBmp, HeadersAloneWithTheFileSize)
{
    // An 8-bit picture: 54 bytes of headers, a 1024-byte table, 8 of rows.
    const std::vector<uint8_t> b = Bmp(8);
    const size_t pixelsAt = 54 + 1024;
    struct Case {
        const char* label;
        size_t headBytes;
        uint64_t fileSize;
        bool read;
    } cases[] = {
        {"exactly the headers and the table", pixelsAt, b.size(), true},
        {"the whole file", b.size(), b.size(), true},
        {"the table cut short", pixelsAt - 1, b.size(), false},
        {"rows beyond the end of the file", pixelsAt, b.size() - 1, false},
        {"more at hand than the file holds", b.size(), b.size() - 1, false},
        {"a file size near the top of the range", pixelsAt, UINT64_MAX, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto layout = ParsePlainBmpHead(std::span<const uint8_t>(b.data(), c.headBytes), c.fileSize);
        ASSERT_EQ(layout.has_value(), c.read);
        if (layout) {
            EXPECT_EQ(layout->pixelsAt, pixelsAt);
            EXPECT_EQ(layout->pixelBytes, 8u);
        }
    }
}
