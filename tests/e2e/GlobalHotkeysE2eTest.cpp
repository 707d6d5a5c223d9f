// The global shortcuts of the real program, pressed as real keys while
// another program (this driver's own window) is in front: the new-note
// shortcut makes a note around the mouse, in front, ready for typing; the
// bring-to-top shortcut lifts the notes above the window in front.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "E2eDriver.h"

namespace {

// Presses the keys in order and lets them go in reverse, as fingers do.
void PressKeys(std::vector<WORD> keys)
{
    std::vector<INPUT> input;
    for (WORD key : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        input.push_back(in);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        input.push_back(in);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

void Pump(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    } while (GetTickCount() - start < ms);
}

// "Another program" in front: under Wine only a window of a Wine program
// that has the X keyboard focus passes keys on, and this is one.
class FrontWindow {
public:
    FrontWindow()
    {
        m_hwnd = CreateWindowExA(0, "EDIT", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200, 700, 500,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~FrontWindow() { DestroyWindow(m_hwnd); }
    // A click into it, as a user brings a window to the front; the point
    // lies clear of where the notes of this test go.
    bool BringToFront()
    {
        SetCursorPos(350, 650);
        INPUT click[2]{};
        click[0].type = click[1].type = INPUT_MOUSE;
        click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, click, sizeof(INPUT));
        Pump(300);
        return WaitFor(
            [&] {
                Pump(20);
                return GetForegroundWindow() == m_hwnd;
            },
            3000);
    }
    HWND Hwnd() const { return m_hwnd; }

private:
    HWND m_hwnd;
};

// Whether a is above b in the Z order of top-level windows.
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
    HWND list = GetDlgItem(main, 1000);
    Sleep(500);  // the splash and the first painting settle

    FrontWindow front;
    ASSERT_TRUE(front.BringToFront());
    const POINT mouse{700, 450};
    SetCursorPos(mouse.x, mouse.y);
    ASSERT_EQ(GetForegroundWindow(), front.Hwnd());

    // The default new-note shortcut, Win+Shift+N.
    PressKeys({VK_LWIN, VK_SHIFT, 'N'});
    HWND note = app.WaitForWindow("", 5000, "VelumoNoteWnd");
    ASSERT_NE(note, nullptr) << "no note from the shortcut";
    HWND edit = FindWindowExA(note, nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    // In front, with the keyboard's focus and the caret in its text.
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == note; }, 5000));
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    EXPECT_TRUE(WaitFor(
        [&] { return GetGUIThreadInfo(GetWindowThreadProcessId(note, nullptr), &gui) && gui.hwndFocus == edit; },
        5000));
    EXPECT_EQ(gui.hwndCaret, edit);
    // Around the mouse, on its screen.
    RECT rc{};
    GetWindowRect(note, &rc);
    EXPECT_TRUE(PtInRect(&rc, mouse)) << rc.left << "," << rc.top << " " << rc.right << "," << rc.bottom;
    EXPECT_EQ(MonitorFromWindow(note, MONITOR_DEFAULTTONULL), MonitorFromPoint(mouse, MONITOR_DEFAULTTONULL));

    // Typed at once, the keys replace the placeholder text.
    PressKeys({'M'});
    PressKeys({'I'});
    PressKeys({'L'});
    PressKeys({'K'});
    EXPECT_TRUE(WaitFor([&] { return E2eDriver::ControlText(edit) == u"milk"; }, 5000));
    EXPECT_TRUE(WaitFor(
        [&] {
            const auto rows = app.ReadRows(list);
            return rows.size() == 1 && rows[0].text == "milk";
        },
        5000));

    // Another program covers the note; Win+Shift+B lifts it again.
    ASSERT_TRUE(front.BringToFront());
    ASSERT_TRUE(IsAbove(front.Hwnd(), note));
    PressKeys({VK_LWIN, VK_SHIFT, 'B'});
    EXPECT_TRUE(WaitFor([&] { return IsAbove(note, front.Hwnd()); }, 5000));
    EXPECT_EQ(app.ReadRows(list).size(), 1u) << "bringing to the top makes no note";

    app.Stop();
    const auto notes = ParseNotes(app.ReadFile("notes.dat"));
    ASSERT_NE(notes, nullptr);
    ASSERT_EQ(notes->m_nCount, 1);
}
