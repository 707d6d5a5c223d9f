#include "framework/DisplayScale.h"

#include <algorithm>
#include <limits>

namespace {

int32_t Clamp32(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// value * num / den, rounded half away from zero; den is positive. Stored
// values are 32-bit and DPIs small, so the product fits in 64 bits.
int32_t MulDivRounded(int64_t value, int64_t num, int64_t den)
{
    const int64_t product = value * num;
    const int64_t magnitude = (2 * (product < 0 ? -product : product) + den) / (2 * den);
    return Clamp32(product < 0 ? -magnitude : magnitude);
}

int64_t Overlap(const NoteRect& a, const NoteRect& b)
{
    const int64_t w = int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
    const int64_t h = int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

int32_t DisplayScale::ToPixels(int64_t base) const
{
    return MulDivRounded(base, m_dpi, kBaseDpi);
}

int32_t DisplayScale::ToBase(int64_t pixels) const
{
    return MulDivRounded(pixels, kBaseDpi, m_dpi);
}

NoteRect DisplayScale::ToPixels(const NoteRect& base) const
{
    const int32_t left = ToPixels(base.left);
    const int32_t top = ToPixels(base.top);
    return NoteRect{left, top, Clamp32(int64_t{left} + ToPixels(int64_t{base.right} - base.left)),
                    Clamp32(int64_t{top} + ToPixels(int64_t{base.bottom} - base.top))};
}

NoteRect DisplayScale::ToBase(const NoteRect& pixels) const
{
    const int32_t left = ToBase(pixels.left);
    const int32_t top = ToBase(pixels.top);
    return NoteRect{left, top, Clamp32(int64_t{left} + ToBase(int64_t{pixels.right} - pixels.left)),
                    Clamp32(int64_t{top} + ToBase(int64_t{pixels.bottom} - pixels.top))};
}

int DpiForStoredRect(const NoteRect& stored, std::span<const MonitorScale> monitors)
{
    if (monitors.empty())
        return DisplayScale::kBaseDpi;
    int best = monitors.front().dpi;
    int64_t bestOverlap = 0;
    for (const MonitorScale& monitor : monitors) {
        const int64_t overlap = Overlap(stored, DisplayScale(monitor.dpi).ToBase(monitor.pixels));
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = monitor.dpi;
        }
    }
    return DisplayScale(best).Dpi();
}
