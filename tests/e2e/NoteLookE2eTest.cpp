// A note's paper chosen from its own menu on the real program, with real
// mouse and keys, and still there after the program starts again.
#include <gtest/gtest.h>

#include <windows.h>

#include "E2eDriver.h"
#include "notes/CNoteList.h"
#include "notes/NoteStyle.h"

namespace {

COLORREF PaperOf(HWND note)
{
    HDC dc = GetDC(note);
    const COLORREF pixel = GetPixel(dc, 8, 8);
    ReleaseDC(note, dc);
    return pixel;
}

}  // namespace

TEST(NoteLookE2e, PaperChosenFromTheNoteMenuSurvivesARestart)
{
    E2eDriver app;
    HWND window = app.StartWithNote(u"paint me", NoteRect{300, 300, 500, 450});
    ASSERT_NE(window, nullptr);

    // Right button in the note's margin, then Colour (u), Green (g). On a
    // fresh Wine the first click can come before the note is ready for it,
    // so one more is allowed.
    ASSERT_TRUE(OpenMenuAt(window, POINT{306, 340}));
    PressKeys({'U'});
    Sleep(300);
    PressKeys({'G'});
    ASSERT_TRUE(WaitFor([] { return VisibleMenu() == nullptr; }, 5000));
    const ColorRef green = kPaperChoices[1].color;
    EXPECT_TRUE(WaitFor([&] { return PaperOf(window) == green; }, 3000));

    app.Stop();
    const auto saved = ParseNotes(app.ReadFile("notes.dat"));
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->GetAt(0)->m_crBack, green);

    ASSERT_TRUE(app.Start());
    window = app.WaitForNoteWindow(10000);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitFor([&] { return PaperOf(window) == green; }, 3000));
    app.Stop();
}
