// A note handled with the real mouse and keys while another program is in
// front: a click on its margin and the keys go into its text; Alt+F4 hides
// it for good, not until the next housekeeping pass.
#include <gtest/gtest.h>

#include <windows.h>

#include "E2eDriver.h"
#include "core/UnicodeText.h"
#include "notes/CNoteList.h"

TEST(NoteWindowE2e, MarginClickThenTypingAndAltF4HidesForGood)
{
    E2eDriver app;
    const HWND window = app.StartWithNote(u"buy", NoteRect{300, 300, 500, 450});
    ASSERT_NE(window, nullptr);
    const HWND edit = E2eDriver::NoteEdit(window);
    const HWND main = app.WaitForWindow("Velumo", 1000, "#32770");  // up before any note
    ASSERT_NE(main, nullptr);

    // Another program has the keyboard; a click on the note's left margin.
    HWND front = CreateWindowExA(0, "EDIT", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500, 400,
                                 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(ClickToFront(front, POINT{800, 650}));
    ASSERT_TRUE(ClickToFront(window, POINT{307, 360}));
    for (WORD key : {WORD{VK_SPACE}, WORD{'T'}, WORD{'E'}, WORD{'A'}})
        PressKeys({key});
    EXPECT_TRUE(WaitForPumping([&] { return E2eDriver::ControlText(edit) == u"buy tea"; }, 5000))
        << Utf8FromUtf16(E2eDriver::ControlText(edit));

    // Alt+F4 on the note: gone, its Vis box unticked, and still so after two
    // housekeeping passes (one each 5 seconds).
    PressKeys({VK_MENU, VK_F4});
    ASSERT_TRUE(WaitForPumping([&] { return !IsWindow(window); }, 5000));
    const HWND list = GetDlgItem(main, 1000);
    const auto visImage = [&] {
        const auto rows = app.ReadRows(list);
        return rows.size() == 1 ? rows[0].visImage : -1;
    };
    EXPECT_TRUE(WaitFor([&] { return visImage() == 2; }, 3000));
    Sleep(11000);
    EXPECT_EQ(app.WaitForWindow("", 0, "VelumoNoteWnd"), nullptr) << "the note came back";
    EXPECT_EQ(visImage(), 2);
    const auto saved = ParseNotes(app.ReadFile("notes.dat"));
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->GetAt(0)->m_bVisible, 0);
    EXPECT_EQ(saved->GetAt(0)->m_strText, u"buy tea");
    DestroyWindow(front);
    app.Stop();
}
