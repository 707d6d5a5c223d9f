// The auto-start option's registry text and the Run entry's command.
#include <gtest/gtest.h>

#include "settings/AutoRunValue.h"

TEST(AutoRunValue, OnlyTheExactWordTurnsItOn)
{
    struct Case {
        const char* text;
        int autoRun;
    } cases[] = {
        {"TRUE", 1},  {"true", 0},  {"True", 0},   {"TRUE ", 0}, {" TRUE", 0},
        {"1", 0},     {"FALSE", 0}, {"", 0},       {"TRUEX", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(AutoRunFromText(c.text), c.autoRun);
    }
    // What is written reads back as the same choice.
    for (int autoRun : {0, 1})
        EXPECT_EQ(AutoRunFromText(AutoRunText(autoRun)), autoRun);
    EXPECT_STREQ(AutoRunText(1), "TRUE");
    EXPECT_STREQ(AutoRunText(0), "FALSE");
}

TEST(AutoRunValue, RunCommandQuotesThePath)
{
    struct Case {
        const char* path;
        const char* command;
    } cases[] = {
        {"C:\\Program Files\\Velumo\\Velumo.exe", "\"C:\\Program Files\\Velumo\\Velumo.exe\""},
        {"C:\\Velumo.exe", "\"C:\\Velumo.exe\""},
        {"\\\\server\\my share\\Velumo.exe", "\"\\\\server\\my share\\Velumo.exe\""},
        {"", ""},
        {"C:\\odd\"name.exe", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(RunEntryCommand(c.path), c.command);
    }
}
