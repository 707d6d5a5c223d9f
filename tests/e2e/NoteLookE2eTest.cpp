// A note's paper chosen from its own menu on the real program, with real
// mouse and keys, and still there after the program starts again.
#include <gtest/gtest.h>

#include <windows.h>

#include "E2eDriver.h"
#include "notes/CNoteList.h"
#include "notes/NoteStyle.h"

namespace {

HWND VisibleMenu()
{
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

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
    CNoteList stored;
    auto note = std::make_unique<CNote>();
    note->m_strText = u"paint me";
    note->m_bVisible = 1;
    note->m_rcWindow = NoteRect{300, 300, 500, 450};
    stored.Add(note);
    ASSERT_TRUE(app.WriteFile("notes.dat", stored.StoreToBytes()));
    ASSERT_TRUE(app.Start());
    ASSERT_NE(app.WaitForWindow("Velumo", 15000, "#32770"), nullptr);
    HWND window = app.WaitForWindow("", 10000, "VelumoNoteWnd");
    ASSERT_NE(window, nullptr);

    // Right button in the note's margin, then Colour (u), Green (g). On a
    // fresh Wine the first click can come before the note is ready for it,
    // so one more is allowed.
    const POINT margin{306, 340};
    ASSERT_TRUE(WaitFor([&] { return IsOnTopAt(window, margin); }, 5000));
    bool menuShown = false;
    for (int attempt = 0; attempt < 2 && !menuShown; ++attempt) {
        ClickAt(margin, true);
        menuShown = WaitFor([] { return VisibleMenu() != nullptr; }, 3000);
    }
    ASSERT_TRUE(menuShown);
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
    window = app.WaitForWindow("", 10000, "VelumoNoteWnd");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitFor([&] { return PaperOf(window) == green; }, 3000));
    app.Stop();
}
