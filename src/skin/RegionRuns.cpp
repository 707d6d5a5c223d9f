#include "skin/RegionRuns.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int32_t kEmptyBoundsLow = std::numeric_limits<int32_t>::max();

// The rectangle buffer in region-data layout. Its capacity grows by 100
// rectangles whenever it is full; as a batch is handed over at 2000, it never
// holds more than 2000.
class RunBuffer {
public:
    explicit RunBuffer(const RegionBatchSink& sink) : m_sink(sink) { Grow(); ResetBatch(); }

    bool Add(int32_t left, int32_t top, int32_t right, int32_t bottom)
    {
        if (m_header.count == m_capacity)
            Grow();
        const RegionRect rect{left, top, right, bottom};
        std::memcpy(m_bytes.data() + sizeof(RegionDataHeader) + m_header.count * sizeof(RegionRect), &rect,
                    sizeof rect);
        RegionRect& b = m_header.bounds;
        b.left = std::min(b.left, left);
        b.top = std::min(b.top, top);
        b.right = std::max(b.right, right);
        b.bottom = std::max(b.bottom, bottom);
        ++m_header.count;
        ++m_total;
        if (m_total > kMaxRegionRects)
            return false;
        if (m_header.count == kRunsPerBatch)
            return HandOver();
        return true;
    }

    bool HandOver()
    {
        std::memcpy(m_bytes.data(), &m_header, sizeof m_header);
        const bool made = m_sink(m_bytes.data(), m_bytes.size());
        ResetBatch();
        return made;
    }

    uint64_t Total() const { return m_total; }

private:
    void Grow()
    {
        m_capacity += kRunBufferGrowth;
        m_bytes.resize(sizeof(RegionDataHeader) + size_t{m_capacity} * sizeof(RegionRect));
    }
    void ResetBatch()
    {
        m_header = RegionDataHeader{sizeof(RegionDataHeader), 1, 0, 0,
                                    RegionRect{kEmptyBoundsLow, kEmptyBoundsLow, 0, 0}};
    }

    const RegionBatchSink& m_sink;
    RegionDataHeader m_header{};
    uint32_t m_capacity = 0;
    uint64_t m_total = 0;
    std::vector<uint8_t> m_bytes;
};

uint8_t ColourByte(uint32_t colour, int shift)
{
    return static_cast<uint8_t>((colour >> shift) & 0xFF);
}

uint8_t SaturatedHigh(uint8_t low, uint8_t tolerance)
{
    return static_cast<uint8_t>(std::min(255, low + tolerance));
}

}  // namespace

ColourRange MakeColourRange(uint32_t colour, uint32_t tolerance)
{
    const uint8_t r = ColourByte(colour, 0), g = ColourByte(colour, 8), b = ColourByte(colour, 16);
    return ColourRange{r, SaturatedHigh(r, ColourByte(tolerance, 0)), g, SaturatedHigh(g, ColourByte(tolerance, 8)),
                       b, SaturatedHigh(b, ColourByte(tolerance, 16))};
}

bool ExtractRegionRuns(const uint8_t* bits, size_t stride, int32_t width, int32_t height,
                       uint32_t colour, uint32_t tolerance, const RegionBatchSink& sink)
{
    const auto minStride = DibRowStride(width);
    if (!bits || !minStride || stride < *minStride || !DibImageBytes(width, height) ||
        !IsMaskSizeAccepted(width, height))
        return false;
    const ColourRange transparent = MakeColourRange(colour, tolerance);
    RunBuffer buffer(sink);
    for (int32_t y = 0; y < height; ++y) {
        // Bottom-up: the top row is the last one in memory.
        const uint8_t* row = bits + static_cast<size_t>(height - 1 - y) * stride;
        int32_t x = 0;
        while (x < width) {
            const int32_t start = x;
            while (x < width && !transparent.Contains(row + size_t{4} * x))
                ++x;
            if (x > start && !buffer.Add(start, y, x, y + 1))
                return false;
            ++x;  // past the transparent pixel that ended the run
        }
    }
    return buffer.HandOver() && buffer.Total() > 0;
}
