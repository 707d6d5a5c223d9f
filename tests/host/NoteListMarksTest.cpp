// The keys that make and end lists and checklists, on the text they see.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/UnicodeText.h"
#include "notes/NoteLinks.h"
#include "notes/NoteListMarks.h"

using Mark = NoteListMarks::Mark;

TEST(NoteListMarks, AListCommandMarksEveryLineOrTakesAllMarksOff)
{
    struct Row {
        const char* label;
        std::vector<std::u16string> lines;
        Mark wanted;
        std::vector<std::u16string> after;
    } rows[] = {
        {"plain lines become items", {u"milk", u"", u"bread"}, Mark::kBox, {u"☐ milk", u"☐ ", u"☐ bread"}},
        {"some marked: the rest get marks, ticks stay", {u"☑ milk", u"bread"}, Mark::kBox, {u"☑ milk", u"☐ bread"}},
        {"all on the checklist: all marks go", {u"☑ milk", u"☐ bread"}, Mark::kBox, {u"milk", u"bread"}},
        {"a checklist made a bulleted list", {u"☑ milk", u"☐ bread"}, Mark::kBullet, {u"• milk", u"• bread"}},
        {"a sign without its space is text", {u"•milk"}, Mark::kBullet, {u"• •milk"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        std::vector<Mark> marks;
        for (const auto& line : row.lines)
            marks.push_back(NoteListMarks::MarkOf(line));
        const auto starts = NoteListMarks::ListCommand(marks, row.wanted);
        ASSERT_EQ(starts.size(), row.lines.size());
        for (size_t i = 0; i < starts.size(); ++i) {
            const std::u16string after =
                std::u16string(starts[i].insert) + row.lines[i].substr(starts[i].remove);
            EXPECT_EQ(Utf8FromUtf16(after), Utf8FromUtf16(row.after[i]));
        }
    }
}

TEST(NoteListMarks, EnterAndBracketsOnAListLine)
{
    struct Row {
        const char* label;
        std::u16string line;
        size_t caret;
        bool handled, endsList;
        std::u16string next;
        bool makesBox;  // a space typed at the caret
    } rows[] = {
        {"end of an item: the next item", u"• milk", 6, true, false, u"• ", false},
        {"end of a ticked item: an open box", u"☑ milk", 6, true, false, u"☐ ", false},
        {"an empty item: the list ends", u"☐ ", 2, true, true, u"", false},
        {"inside an item: an ordinary Enter", u"☐ milk", 4, false, false, u"", false},
        {"a plain line: an ordinary Enter", u"milk", 4, false, false, u"", false},
        {"[] at the start makes a box", u"[]", 2, false, false, u"", true},
        {"[] later in the line does not", u"a []", 4, false, false, u"", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const auto enter = NoteListMarks::OnEnter(row.line, row.caret);
        EXPECT_EQ(enter.handled, row.handled);
        EXPECT_EQ(enter.endsList, row.endsList);
        EXPECT_EQ(std::u16string(enter.next), row.next);
        EXPECT_EQ(NoteListMarks::MakesBox(row.line, row.caret), row.makesBox);
    }
}

TEST(NoteLinks, OnlyWebAndMailAddressesAreLinks)
{
    struct Row {
        const char* label;
        std::u16string text;
        size_t at;
        const char* link;  // what a Ctrl+click there opens; "" for nothing
    } rows[] = {
        {"https in a sentence, its full stop left out", u"see https://velumo.invalid/a?b=1.", 10,
         "https://velumo.invalid/a?b=1"},
        {"http in capitals", u"HTTP://X.INVALID", 3, "HTTP://X.INVALID"},
        {"www. opens as http", u"(www.velumo.invalid)", 5, "http://www.velumo.invalid"},
        {"mailto", u"mailto:a@b.invalid", 0, "mailto:a@b.invalid"},
        {"a checklist item's address", u"☐ https://a.invalid", 4, "https://a.invalid"},
        {"file: never", u"file:///C:/Windows/System32/calc.exe", 8, ""},
        {"a program's path never", u"C:\\Windows\\notepad.exe", 5, ""},
        {"a share never", u"\\\\server\\share\\run.bat", 4, ""},
        {"another scheme never", u"javascript:alert(1)", 2, ""},
        {"a scheme whose name starts like one", u"https-evil:x", 2, ""},
        {"a prefix alone", u"https://", 3, ""},
        {"beside the address, not on it", u"https://a.invalid b", 18, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const auto span = NoteLinks::LinkAt(row.text, row.at);
        const std::u16string opened =
            span ? NoteLinks::ToOpen(std::u16string_view(row.text).substr(span->start, span->length)) : u"";
        EXPECT_EQ(Utf8FromUtf16(opened), row.link);
    }
}
