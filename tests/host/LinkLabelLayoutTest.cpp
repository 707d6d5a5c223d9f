// Where a link label puts its text.
#include <gtest/gtest.h>

#include "skin/LinkLabelLayout.h"

TEST(LinkLabelLayout, StyleAndLineBreaksDecideThePlace)
{
    constexpr uint32_t kCenter = 0x01, kRight = 0x02, kSimple = 0x0B, kCentreImage = 0x200;
    using L = LinkTextLayout;
    struct Case {
        const char* label;
        uint32_t style;
        const char16_t* text;
        L::Horizontal horizontal;
        bool singleLineCentred;
    } cases[] = {
        {"plain centre does not centre", kCenter, u"a", L::kLeft, false},
        {"right", kRight, u"a", L::kRight, false},
        {"simple shares the right bit but is no right static", kSimple, u"a", L::kLeft, false},
        {"centre image beats right", kCentreImage | kRight, u"a", L::kCentre, true},
        {"centre image with a line break starts at the top", kCentreImage, u"one\r\ntwo", L::kCentre, false},
        {"a lone line feed is no line break", kCentreImage, u"one\ntwo", L::kCentre, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const L layout = LayoutLinkText(c.style, c.text);
        EXPECT_EQ(layout.horizontal, c.horizontal);
        EXPECT_EQ(layout.singleLineCentred, c.singleLineCentred);
    }
}
