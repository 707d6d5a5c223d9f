// A note formatted and made a checklist with the real keys and mouse, then
// the program started again: the words, the boxes, the ticks and the bold
// are all back.
#include <gtest/gtest.h>

#include <windows.h>

#include "E2eDriver.h"
#include "RunsText.h"
#include "core/UnicodeText.h"
#include "notes/CNoteList.h"

namespace {

// "todo" in bold, with or without the line break after it.
bool BoldFirstLine(const std::string& runs)
{
    return runs.starts_with("0+4:1 ") || runs.starts_with("0+6:1 ");
}

void TypeLetters(const char* letters)
{
    for (const char* c = letters; *c; ++c)
        PressKeys({*c == ' ' ? WORD{VK_SPACE} : WORD(*c - 'a' + 'A')});
}

// The screen point of a character of the note's text: the control answers
// the packed form of the question across processes.
POINT PointOfCharacter(HWND edit, int index)
{
    const LRESULT packed = SendMessageA(edit, EM_POSFROMCHAR, index, 0);
    POINT at{static_cast<short>(LOWORD(packed)) + 3, static_cast<short>(HIWORD(packed)) + 4};
    ClientToScreen(edit, &at);
    return at;
}

}  // namespace

TEST(RichNoteE2e, BoldAndAChecklistTickedByClickAndKeyComeBackAfterARestart)
{
    E2eDriver app;
    HWND window = app.StartWithNote(u"note", NoteRect{300, 300, 560, 500});
    ASSERT_NE(window, nullptr);
    HWND edit = E2eDriver::NoteEdit(window);
    ASSERT_TRUE(ClickToFront(window, POINT{307, 400}));

    PressKeys({VK_CONTROL, 'A'});
    TypeLetters("todo");
    PressKeys({VK_SHIFT, VK_HOME});
    PressKeys({VK_CONTROL, 'B'});
    PressKeys({VK_END});
    PressKeys({VK_RETURN});
    // "[] " makes the first box; Enter at the end of an item makes the next.
    PressKeys({VK_OEM_4});
    PressKeys({VK_OEM_6});
    PressKeys({VK_SPACE});
    TypeLetters("milk");
    PressKeys({VK_RETURN});
    TypeLetters("bread");
    PressKeys({VK_RETURN});
    TypeLetters("tea");
    const std::u16string typed = u"todo\r\n☐ milk\r\n☐ bread\r\n☐ tea";
    ASSERT_TRUE(WaitForPumping([&] { return E2eDriver::ControlText(edit) == typed; }, 5000))
        << Utf8FromUtf16(E2eDriver::ControlText(edit));

    ClickAt(PointOfCharacter(edit, 12));  // the box of "bread" (line starts 0, 5, 12, 20)
    PressKeys({VK_CONTROL, VK_RETURN});   // the caret is on "tea"
    const std::u16string ticked = u"todo\r\n☐ milk\r\n☑ bread\r\n☑ tea";
    EXPECT_TRUE(WaitForPumping([&] { return E2eDriver::ControlText(edit) == ticked; }, 5000))
        << Utf8FromUtf16(E2eDriver::ControlText(edit));
    const auto hasAll = [&] {
        const auto saved = ParseNotes(app.ReadFile("notes.dat"));
        return saved && saved->GetAt(0) && saved->GetAt(0)->m_strText == ticked &&
               BoldFirstLine(RunsText(saved->GetAt(0)->m_formats));
    };
    EXPECT_TRUE(WaitFor(hasAll, 15000));
    app.Stop();

    ASSERT_TRUE(app.Start());
    window = app.WaitForNoteWindow(15000);
    ASSERT_NE(window, nullptr);
    edit = E2eDriver::NoteEdit(window);
    EXPECT_EQ(E2eDriver::ControlText(edit), ticked);
    // Typed again after the restart: the save reads the formats back from
    // the window, so they are in the file only if the window showed them.
    ASSERT_TRUE(ClickToFront(window, POINT{307, 480}));
    PressKeys({VK_CONTROL, VK_END});
    TypeLetters("s");
    EXPECT_TRUE(WaitFor([&] {
        const auto saved = ParseNotes(app.ReadFile("notes.dat"));
        if (!saved || !saved->GetAt(0) || saved->GetAt(0)->m_strText != ticked + u"s")
            return false;
        const std::string runs = RunsText(saved->GetAt(0)->m_formats);
        return BoldFirstLine(runs) && runs.find(":8") != std::string::npos;
    }, 15000)) << [&] {
        const auto saved = ParseNotes(app.ReadFile("notes.dat"));
        return saved && saved->GetAt(0) ? Utf8FromUtf16(saved->GetAt(0)->m_strText) + " / " +
                                              RunsText(saved->GetAt(0)->m_formats)
                                        : std::string("no file");
    }();
    app.Stop();
}
