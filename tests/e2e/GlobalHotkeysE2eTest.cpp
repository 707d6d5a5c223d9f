// The global shortcuts of the real program, pressed as real keys while
// another program (a window of this driver) is in front: the new-note
// shortcut makes a note around the mouse, in front, ready for typing; the
// bring-to-top shortcut lifts the notes above the window in front, which
// keeps the keyboard.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "E2eDriver.h"

namespace {

bool IsAbove(HWND a, HWND b)
{
    for (HWND w = GetWindow(b, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        if (w == a)
            return true;
    return false;
}

}  // namespace

TEST(GlobalHotkeysE2e, NewNoteShortcutMakesANoteReadyForTypingAndBringToTopLiftsIt)
{
    E2eDriver app;
    ASSERT_TRUE(app.Start());
    HWND main = app.WaitForWindow("Velumo", 15000, "#32770");
    ASSERT_NE(main, nullptr);
    Sleep(500);  // the splash and the first painting settle
    HWND front = CreateWindowExA(0, "EDIT", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200, 700, 500,
                                 nullptr, nullptr, nullptr, nullptr);
    // A click into our window brings it to the front, as a user does (under
    // Wine, only a Wine window with the X focus passes keys on at all); the
    // point is clear of the notes of this test.
    ASSERT_TRUE(ClickToFront(front, POINT{350, 650}));
    const POINT mouse{700, 450};
    SetCursorPos(mouse.x, mouse.y);

    PressKeys({VK_LWIN, VK_SHIFT, 'N'});  // the default new-note shortcut
    HWND note = app.WaitForWindow("", 5000, "VelumoNoteWnd");
    ASSERT_NE(note, nullptr) << "no note from the shortcut";
    HWND edit = GetDlgItem(note, 1016);
    // In front, around the mouse, with the keyboard's focus and the caret.
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == note; }, 5000));
    RECT rc{};
    GetWindowRect(note, &rc);
    EXPECT_TRUE(PtInRect(&rc, mouse));
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    EXPECT_TRUE(WaitFor(
        [&] { return GetGUIThreadInfo(GetWindowThreadProcessId(note, nullptr), &gui) && gui.hwndFocus == edit; },
        5000));
    EXPECT_EQ(gui.hwndCaret, edit);
    // Typed at once, the keys replace the placeholder text.
    for (WORD key : {'M', 'I', 'L', 'K'})
        PressKeys({key});
    EXPECT_TRUE(WaitFor([&] { return E2eDriver::ControlText(edit) == u"milk"; }, 5000));

    // Another program covers the note; Win+Shift+B lifts it, and makes none.
    ASSERT_TRUE(ClickToFront(front, POINT{350, 650}));  // clear of the notes of this test
    ASSERT_TRUE(IsAbove(front, note));
    PressKeys({VK_LWIN, VK_SHIFT, 'B'});
    EXPECT_TRUE(WaitFor([&] { return IsAbove(note, front); }, 5000));
    EXPECT_EQ(GetForegroundWindow(), front) << "the keyboard stays with the program in front";
    EXPECT_EQ(app.ReadRows(GetDlgItem(main, 1000)).size(), 1u);
    DestroyWindow(front);
}
