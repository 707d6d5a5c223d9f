// The auto-start option's registry text and the Run entry's command.
#include <gtest/gtest.h>

#include "settings/AutoRunValue.h"

TEST(AutoRunValue, OnlyTheExactWordTurnsItOnAndWrittenTextReadsBack)
{
    for (const char* text : {"true", "True", "TRUE ", " TRUE", "1", "FALSE", ""}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(AutoRunFromText(text), 0);
    }
    EXPECT_EQ(AutoRunFromText("TRUE"), 1);
    for (int autoRun : {0, 1})
        EXPECT_EQ(AutoRunFromText(AutoRunText(autoRun)), autoRun);
}

TEST(AutoRunValue, RunCommandQuotesThePath)
{
    struct Case {
        const char* path;
        const char* command;
    } cases[] = {
        {"C:\\Program Files\\Velumo\\Velumo.exe", "\"C:\\Program Files\\Velumo\\Velumo.exe\""},
        {"\\\\server\\my share\\Velumo.exe", "\"\\\\server\\my share\\Velumo.exe\""},
        {"", ""},
        {"C:\\odd\"name.exe", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(RunEntryCommand(c.path), c.command);
    }
}
