#pragma once
// Where a link label puts its text, decided from the static control's style
// and the text alone.
#include <cstdint>
#include <string_view>

// The static control style bits that matter (the values of SS_TYPEMASK,
// SS_RIGHT and SS_CENTERIMAGE; the Win32 side checks them).
namespace StaticStyle {
constexpr uint32_t kTypeMask = 0x1F;
constexpr uint32_t kRight = 0x02;
constexpr uint32_t kCentreImage = 0x200;
}  // namespace StaticStyle

struct LinkTextLayout {
    enum Horizontal { kLeft, kCentre, kRight };
    Horizontal horizontal = kLeft;
    // One line centred from top to bottom; otherwise the text starts at the
    // top and its line breaks start new lines.
    bool singleLineCentred = false;
};

// Centre-image centres the text (vertically too unless it holds "\r\n"),
// otherwise a right static aligns it right; anything else, the plain centre
// style included, starts at the top left. Long lines are never wrapped.
LinkTextLayout LayoutLinkText(uint32_t style, std::u16string_view text);
