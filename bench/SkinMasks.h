#pragma once
// Masks for the region benchmarks, as 32-bit bottom-up pictures (bytes blue,
// green, red, unused): white is outside the window.
#include <cstdint>
#include <vector>

namespace bench_masks {

struct Mask {
    int32_t width;
    int32_t height;
    std::vector<uint32_t> pixels;  // bottom-up rows of width pixels
};

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kBlack = 0;

// A window-sized rounded rectangle: two runs per row near the corners at
// most, one elsewhere.
inline Mask RoundedMask(int32_t width, int32_t height, int32_t radius)
{
    Mask m{width, height, std::vector<uint32_t>(size_t(width) * height, kBlack)};
    auto outside = [&](int32_t x, int32_t y) {
        const int32_t cx = x < radius ? radius : (x >= width - radius ? width - 1 - radius : x);
        const int32_t cy = y < radius ? radius : (y >= height - radius ? height - 1 - radius : y);
        const int64_t dx = x - cx, dy = y - cy;
        return dx * dx + dy * dy > int64_t{radius} * radius;
    };
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            if (outside(x, y))
                m.pixels[size_t(height - 1 - y) * width + x] = kWhite;
    return m;
}

// Every other pixel white: width / 2 one-pixel runs per row, the worst case.
inline Mask Checkerboard(int32_t width, int32_t height)
{
    Mask m{width, height, std::vector<uint32_t>(size_t(width) * height, kBlack)};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            if ((x + y) % 2)
                m.pixels[size_t(y) * width + x] = kWhite;
    return m;
}

}  // namespace bench_masks
