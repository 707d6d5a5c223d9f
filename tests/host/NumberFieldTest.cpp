// What a dialog's number field accepts, and the message naming its bounds.
#include <gtest/gtest.h>

#include "framework/NumberField.h"

TEST(NumberField, ReadsOnlyWholeIntegers)
{
    const struct {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"7", true, 7},
        {" -5 ", true, -5},
        {"+12\t", true, 12},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"", false, 0},
        {"   ", false, 0},
        {"+", false, 0},
        {"- 5", false, 0},
        {"1 2", false, 0},
        {"3x", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        int value = 42;
        EXPECT_EQ(ParseIntField(c.text, value), c.ok);
        EXPECT_EQ(value, c.ok ? c.value : 42) << "a refused text leaves the value";
    }
    EXPECT_EQ(IntegerRangeMessage(0, 99), "Please enter an integer between 0 and 99.");
}
