// Decisions of the main window made without a window: which row is selected
// after a delete, and when a failing save is told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwnd/MainWndModel.h"

TEST(MainWndModel, RowSelectedAfterADelete)
{
    struct Case {
        const char* label;
        int highestDeleted, rowsLeft, expected;
    } cases[] = {
        {"a middle row of five", 2, 4, 2},
        {"the last row: the new last row", 4, 4, 3},
        {"rows 0 and 2 of three: the one left", 2, 1, 0},
        {"the only row: nothing left to select", 0, 0, -1},
        {"nothing selected: the first row", 0, 3, 0},
        {"many deleted from the end", 9, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(RowToSelectAfterDelete(c.highestDeleted, c.rowsLeft), c.expected);
    }
}

TEST(MainWndModel, AFailingSaveIsToldOncePerStreak)
{
    constexpr auto F = SaveOutcome::kFailed;
    constexpr auto S = SaveOutcome::kSaved;
    constexpr auto N = SaveOutcome::kNothingToSave;
    struct Case {
        const char* label;
        std::vector<SaveOutcome> saves;
        std::string told;  // one letter per save: 'T' told, '.' not
    } cases[] = {
        {"every save fails", {F, F, F, F}, "T..."},
        {"saves that work", {S, N, S}, "..."},
        {"a success ends the streak", {F, F, S, F, F}, "T..T."},
        {"nothing to save does not end it", {F, N, F}, "T.."},
        {"failing after working", {S, S, F}, "..T"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        SaveFailureNotice notice;
        std::string told;
        for (SaveOutcome outcome : c.saves)
            told += notice.ShouldTell(outcome) ? 'T' : '.';
        EXPECT_EQ(told, c.told);
    }
}

TEST(MainWndModel, RowTextIsTheStartOfTheNoteOnOneLine)
{
    const std::u16string megabyte = u"log\r\n" + std::u16string(1 << 20, u'x');
    struct Case {
        const char* label;
        std::u16string text;
        size_t length;
        std::u16string expected;
    } cases[] = {
        {"line breaks of every kind become spaces", u"a\r\nb\nc\rd", 100, u"a  b c d"},
        {"the whole text when asked", u"one\r\ntwo", std::u16string::npos, u"one  two"},
        {"a long note: only its start", megabyte, 8, u"log  xxx"},
        {"a pair cut at the end is left out whole", u"ab\U0001F600c", 3, u"ab"},
        {"a pair that fits stays", u"ab\U0001F600c", 4, u"ab\U0001F600"},
        {"empty", u"", 10, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(RowTextOf(c.text, c.length), c.expected);
    }
}
