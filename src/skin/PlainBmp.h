#pragma once
// Where the parts of an uncompressed BMP file lie, checked against the file's
// length before anything reads them: skin pictures come from any folder the
// user points a skin at.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

struct PlainBmpLayout {
    static constexpr size_t kInfoAt = 14;  // the info header, after the file header
    size_t pixelsAt = 0;
    size_t pixelBytes = 0;
};

// The layout of a BMP with an info header of 40 bytes or more, 1, 4, 8, 24 or
// 32 bits a pixel, no compression, a size up to 65535 x 65535 (rows stored
// either way up) and a colour table of at most 256 entries, when the headers,
// the table and every row lie within the bytes. Nothing otherwise: such
// files go to the system's picture decoder.
std::optional<PlainBmpLayout> ParsePlainBmp(std::span<const uint8_t> bytes);

// The same for a file of fileSize bytes of which only the first bytes are at
// hand: the headers and the colour table must lie within head (the pixels
// start no later than its end), the rows are checked against fileSize. Lets
// a reader put the rows straight where they belong.
std::optional<PlainBmpLayout> ParsePlainBmpHead(std::span<const uint8_t> head, uint64_t fileSize);
