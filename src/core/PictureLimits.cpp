#include "core/PictureLimits.h"

#include <limits>

std::optional<size_t> DibRowStride(int64_t width)
{
    constexpr int64_t maxBytes = std::numeric_limits<int32_t>::max();
    if (width <= 0 || width > maxBytes / 4)
        return std::nullopt;
    // 32 bits per pixel: every row is already a multiple of 4 bytes.
    return static_cast<size_t>(width * 4);
}

std::optional<size_t> DibImageBytes(int64_t width, int64_t height)
{
    constexpr int64_t maxBytes = std::numeric_limits<int32_t>::max();
    const auto stride = DibRowStride(width);
    if (!stride || height <= 0 || height > maxBytes / static_cast<int64_t>(*stride))
        return std::nullopt;
    return *stride * static_cast<size_t>(height);
}

bool IsMaskSizeAccepted(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width <= kMaxMaskSide && height <= kMaxMaskSide;
}
