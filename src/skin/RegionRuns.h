#pragma once
// The shape of a window, read from a mask picture: every pixel outside a
// colour range is inside the window. The pixels are scanned into one-pixel-high
// runs, collected in the platform's region-data layout and handed over in
// batches of at most 2000 rectangles; the platform side makes a region of
// each batch and joins them.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/PictureLimits.h"

struct RegionRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    friend bool operator==(const RegionRect&, const RegionRect&) = default;
};
static_assert(sizeof(RegionRect) == 16, "RECT as region data stores it");

// RGNDATAHEADER: size 32, type 1 (rectangles), count, region size, bounds.
struct RegionDataHeader {
    uint32_t headerSize;
    uint32_t type;
    uint32_t count;
    uint32_t regionSize;
    RegionRect bounds;
};
static_assert(sizeof(RegionDataHeader) == 32, "RGNDATAHEADER");

constexpr uint32_t kRunsPerBatch = 2000;
constexpr uint32_t kRunBufferGrowth = 100;

// A shape of more than a million runs (an alternating pattern) would take
// minutes and gigabytes to join: past it, or past the mask side limit of
// PictureLimits.h, the mask gives no region.
constexpr uint32_t kMaxRegionRects = 1000000;

// Transparent colours: for each of red, green and blue, from that byte of the
// colour up to it plus that byte of the tolerance, at most 255. Colours are
// 0x00BBGGRR.
struct ColourRange {
    uint8_t lowRed, highRed, lowGreen, highGreen, lowBlue, highBlue;
    // A pixel of a 32-bit picture, bytes blue, green, red.
    bool Contains(const uint8_t* bgr) const
    {
        return bgr[2] >= lowRed && bgr[2] <= highRed && bgr[1] >= lowGreen && bgr[1] <= highGreen &&
               bgr[0] >= lowBlue && bgr[0] <= highBlue;
    }
};
ColourRange MakeColourRange(uint32_t colour, uint32_t tolerance);


// Receives one batch: the region data (header, then its rectangles) and its
// size in bytes, 32 + 16 x the buffer's capacity. Answers false when no region
// could be made of it, which ends the scan.
using RegionBatchSink = std::function<bool(const uint8_t* data, size_t size)>;

// Scans a 32-bit bottom-up picture (rows stride bytes apart, the top row last
// in memory) from the top row down and each row from the left. Every batch is
// handed over when it reaches 2000 rectangles, and once more at the end even
// when that one holds none. False when the sink refused a batch, the size is
// unusable or past kMaxMaskSide, the runs pass kMaxRegionRects (the scan
// stops there), or the mask holds no opaque pixel at all: a window cut to
// nothing would be invisible.
bool ExtractRegionRuns(const uint8_t* bits, size_t stride, int32_t width, int32_t height,
                       uint32_t colour, uint32_t tolerance, const RegionBatchSink& sink);
