#pragma once
// A stretch of a note's text drawn in other character formats than the
// note's font gives it. Positions count UTF-16 units of the stored text, in
// which a line break is the two units CR LF.
#include <cstdint>
#include <vector>

enum TextFormat : uint8_t {
    kFormatBold = 1,
    kFormatItalic = 2,
    kFormatUnderline = 4,
    kFormatStrike = 8,
};
constexpr uint8_t kKnownTextFormats = kFormatBold | kFormatItalic | kFormatUnderline | kFormatStrike;

struct TextFormatRun {
    uint32_t start = 0;
    uint32_t length = 0;
    uint8_t formats = 0;  // TextFormat bits: the whole formats of the run, not a change to the font's
    bool operator==(const TextFormatRun&) const = default;
};

// In order of start, none overlapping another, none empty.
using TextFormatRuns = std::vector<TextFormatRun>;
