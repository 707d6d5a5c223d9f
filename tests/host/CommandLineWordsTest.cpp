// The command line split as the system splits it: a notes file named on it
// must arrive whole, spaces, quotes and backslashes of its path included.
#include <gtest/gtest.h>

#include "core/CommandLineWords.h"
#include "core/UnicodeText.h"

TEST(CommandLineWords, SplitAsTheSystemSplitsThem)
{
    struct Case {
        const char* line;
        std::vector<std::string> words;
    } cases[] = {
        {"", {}},
        {"Velumo.exe", {}},
        {"\"C:\\Program Files\\Velumo\\Velumo.exe\"   ", {}},
        {"\"C:\\Program Files\\Velumo\\Velumo.exe\" \"D:\\My notes\\notes.dat\"", {"D:\\My notes\\notes.dat"}},
        // The name knows no escapes: its backslash before the quote stays.
        {"\"C:\\V\\\" a", {"a"}},
        {"\"C:\\a b\"next word", {"next", "word"}},
        {"v.exe \t a\tb  ", {"a", "b"}},
        {"v.exe \"\" x", {"", "x"}},
        {"v.exe D:\\notes\\", {"D:\\notes\\"}},
        {"v.exe \"D:\\notes\\\\\" x", {"D:\\notes\\", "x"}},
        {"v.exe a\\\\\\\"b", {"a\\\"b"}},
        {"v.exe a\\\\\\b", {"a\\\\\\b"}},
        // A doubled quote inside quotes is one, and the quotes are closed.
        {"v.exe \"a\"\"b\" c", {"a\"b c"}},
        {"v.exe \"a\"\"\"b c\"", {"a\"b c"}},
        {"v.exe \"unclosed to the end", {"unclosed to the end"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::string> words;
        for (const std::u16string& word : CommandLineArguments(Utf16FromUtf8(c.line)))
            words.push_back(Utf8FromUtf16(word));
        EXPECT_EQ(words, c.words);
    }
}
