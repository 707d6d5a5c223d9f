#include "skin/LinkLabelLayout.h"

LinkTextLayout LayoutLinkText(uint32_t style, std::u16string_view text)
{
    LinkTextLayout layout;
    if (style & StaticStyle::kCentreImage) {
        layout.horizontal = LinkTextLayout::kCentre;
        layout.singleLineCentred = text.find(u"\r\n") == std::u16string_view::npos;
    } else if ((style & StaticStyle::kTypeMask) == StaticStyle::kRight) {
        // The style's type field, not a bit: SS_SIMPLE and others share the bit.
        layout.horizontal = LinkTextLayout::kRight;
    }
    return layout;
}
