// The About box's description.
#include <gtest/gtest.h>

#include "mainwnd/AboutText.h"

TEST(AboutText, HeadingThenOneQuestionThenTheParagraph)
{
    const std::string text = ComposeAboutText();
    const std::string heading = "1.About of Velumo 2.00\r\n";
    ASSERT_EQ(text.substr(0, heading.size()), heading);
    EXPECT_EQ(text.find('\n', heading.size()), std::string::npos) << "one paragraph that the box wraps";
    const auto intro = text.find("? Velumo 2.00 lets you stick notes on your monitor electronically.");
    ASSERT_NE(intro, std::string::npos);
    EXPECT_EQ(text.find('?', heading.size()), intro) << "exactly one question, right before the paragraph";
    for (const char* topic : {"resize", "wraps", "hidden", "reminder", "audio", "recurring", "before the event"}) {
        SCOPED_TRACE(topic);
        const auto at = text.find(topic);
        ASSERT_NE(at, std::string::npos);
        EXPECT_GT(at, intro);
    }
}
