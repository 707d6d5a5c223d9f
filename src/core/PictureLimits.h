#pragma once
// Sizes of 32-bit pictures that the program accepts, shared by the window
// shapes of the skin and the picture scaling of every window.
#include <cstddef>
#include <cstdint>
#include <optional>

// Limits that keep a pathological mask from hanging the program: no window
// outline needs a mask wider or taller than 8192 pixels. Past it, the mask
// gives no region and no picture is scaled to that size.
constexpr int32_t kMaxMaskSide = 8192;
bool IsMaskSizeAccepted(int64_t width, int64_t height);

// Bytes per row and in all of a 32-bit picture of this size, or nothing when
// the size is not positive or the byte count would not fit the platform's
// 32-bit bitmap fields (so no size computed from a huge mask ever wraps).
std::optional<size_t> DibRowStride(int64_t width);
std::optional<size_t> DibImageBytes(int64_t width, int64_t height);
