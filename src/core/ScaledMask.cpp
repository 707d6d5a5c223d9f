#include "core/ScaledMask.h"

#include <cstring>

#include "core/PictureLimits.h"

std::vector<uint8_t> ScaleMaskNearest(const uint8_t* bits, size_t stride, int32_t width, int32_t height,
                                      int32_t toWidth, int32_t toHeight)
{
    if (!bits || width <= 0 || height <= 0 || stride < static_cast<size_t>(width) * 4 ||
        !IsMaskSizeAccepted(toWidth, toHeight) || !DibImageBytes(toWidth, toHeight))
        return {};
    const size_t toStride = static_cast<size_t>(toWidth) * 4;
    std::vector<uint8_t> scaled(toStride * static_cast<size_t>(toHeight));
    // Source column of each target column: the one under the pixel's centre.
    std::vector<int32_t> fromColumn(static_cast<size_t>(toWidth));
    for (int32_t x = 0; x < toWidth; ++x)
        fromColumn[static_cast<size_t>(x)] =
            static_cast<int32_t>((2 * int64_t{x} + 1) * width / (2 * int64_t{toWidth}));
    for (int32_t y = 0; y < toHeight; ++y) {
        // Rows counted from the top; memory holds the top row last.
        const auto fromY = static_cast<int32_t>((2 * int64_t{y} + 1) * height / (2 * int64_t{toHeight}));
        const uint8_t* from = bits + static_cast<size_t>(height - 1 - fromY) * stride;
        uint8_t* to = scaled.data() + static_cast<size_t>(toHeight - 1 - y) * toStride;
        for (int32_t x = 0; x < toWidth; ++x)
            std::memcpy(to + static_cast<size_t>(x) * 4, from + static_cast<size_t>(fromColumn[x]) * 4, 4);
    }
    return scaled;
}
