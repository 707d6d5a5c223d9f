#pragma once
// Sizes that are stored and laid out for a display of 96 dots per inch (the
// notes' rectangles and font heights, the skin's pictures and layout rows,
// the list's column widths) and the pixels they take on a display of another
// scale. Every notes file holds 96-DPI values: it was written by a program
// that Windows scaled as a picture, so showing and storing go through here
// and the file never depends on the display it was last used on.
#include <cstdint>
#include <span>

#include "core/NoteRect.h"

class DisplayScale {
public:
    static constexpr int kBaseDpi = 96;

    constexpr DisplayScale() = default;
    // A DPI that is not positive counts as the base one.
    explicit constexpr DisplayScale(int dpi) : m_dpi(dpi > 0 ? dpi : kBaseDpi) {}

    int Dpi() const { return m_dpi; }
    bool IsBase() const { return m_dpi == kBaseDpi; }

    // Rounded to the nearest pixel, halves away from zero, so a negative
    // value (a monitor left of or above the main one, a font height in
    // character terms) scales as its positive twin does. Results past the
    // 32-bit range are held at its ends.
    int32_t ToPixels(int64_t base) const;
    int32_t ToBase(int64_t pixels) const;

    // The origin and the size scale separately: a note keeps its size
    // wherever it sits. From 96 DPI upwards, ToBase(ToPixels(rc)) == rc for
    // every rectangle, so a note shown and stored again keeps its bytes.
    NoteRect ToPixels(const NoteRect& base) const;
    NoteRect ToBase(const NoteRect& pixels) const;

private:
    int m_dpi = kBaseDpi;
};

// One monitor: its rectangle in pixels and its DPI.
struct MonitorScale {
    NoteRect pixels;
    int dpi = DisplayScale::kBaseDpi;
};

// The DPI a stored (96-DPI) rectangle is shown at: that of the monitor whose
// area, brought to 96-DPI units, holds the most of it. With none meeting it,
// the first monitor's (the caller lists the main one first); with no
// monitors, the base DPI.
int DpiForStoredRect(const NoteRect& stored, std::span<const MonitorScale> monitors);
