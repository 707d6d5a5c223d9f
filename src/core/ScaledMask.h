#pragma once
// A skin's mask brought to the size of its scaled pictures. Each target
// pixel takes the mask pixel under its centre, so pure white stays pure
// white: a smoothed mask would grow a fringe of near-white pixels that count
// as inside the window and show the picture's edge colour there.
#include <cstddef>
#include <cstdint>
#include <vector>

// Scales a 32-bit bottom-up picture (rows stride bytes apart, as the region
// builder's working copy is laid out) to toWidth x toHeight. The result is
// bottom-up too, its rows toWidth * 4 bytes apart. Empty when a size is not
// positive, the source rows would not hold width pixels, or the result would
// pass the mask limits of PictureLimits.h.
std::vector<uint8_t> ScaleMaskNearest(const uint8_t* bits, size_t stride, int32_t width, int32_t height,
                                      int32_t toWidth, int32_t toHeight);
