#include "skin/PlainBmp.h"

namespace {

uint32_t U32At(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t U16At(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

constexpr size_t kInfoHeaderBytes = 40;
constexpr uint32_t kUncompressed = 0;

}  // namespace

std::optional<PlainBmpLayout> ParsePlainBmp(std::span<const uint8_t> bytes)
{
    return ParsePlainBmpHead(bytes, bytes.size());
}

std::optional<PlainBmpLayout> ParsePlainBmpHead(std::span<const uint8_t> bytes, uint64_t fileSize)
{
    constexpr size_t at = PlainBmpLayout::kInfoAt;
    if (bytes.size() > fileSize)
        return std::nullopt;
    if (bytes.size() < at + kInfoHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    const uint8_t* info = bytes.data() + at;
    const uint64_t pixelsAt = U32At(bytes.data() + 10);
    const uint64_t infoSize = U32At(info);
    const int64_t width = static_cast<int32_t>(U32At(info + 4));
    const int64_t storedHeight = static_cast<int32_t>(U32At(info + 8));
    const int64_t height = storedHeight < 0 ? -storedHeight : storedHeight;  // negative: top row first
    const uint16_t planes = U16At(info + 12);
    const uint16_t bits = U16At(info + 14);
    const uint32_t compression = U32At(info + 16);
    const uint64_t coloursUsed = U32At(info + 32);
    if (infoSize < kInfoHeaderBytes || at + infoSize > pixelsAt || compression != kUncompressed || planes != 1 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) || width <= 0 || height <= 0 ||
        width > 65535 || height > 65535)
        return std::nullopt;
    const uint64_t colours = bits <= 8 && coloursUsed == 0 ? (uint64_t{1} << bits) : coloursUsed;
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    const uint64_t pixelBytes = stride * static_cast<uint64_t>(height);
    if (colours > 256 || at + infoSize + 4 * colours > pixelsAt || pixelsAt > bytes.size() ||
        pixelsAt + pixelBytes > fileSize)
        return std::nullopt;
    return PlainBmpLayout{static_cast<size_t>(pixelsAt), static_cast<size_t>(pixelBytes)};
}
