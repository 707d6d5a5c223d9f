// Help from the real program: every way of asking for it reaches the help
// hook, and a missing help file is named to the user.
#include <gtest/gtest.h>

#include <windows.h>

#include "E2eDriver.h"

namespace {

constexpr int kHelpTopics = 32790;  // help menu "&Help Topics"
constexpr int kTrayHelp = 32789;    // tray menu "&Help"
constexpr int kFrameworkHelp = 57670;

}  // namespace

TEST(HelpE2e, EveryWayToHelpNamesAMissingHelpFile)
{
    E2eDriver app;  // a copy of the program without its help file
    ASSERT_TRUE(app.Start());
    HWND main = app.WaitForWindow("Velumo", 15000, "#32770");
    ASSERT_NE(main, nullptr);
    const std::string expected = "The help file could not be found:\r\n\r\n" + app.PathOf("Velumo.chm");

    struct Way {
        const char* label;
        void (*ask)(HWND);
    } ways[] = {
        {"Help Topics", [](HWND w) { PostMessageA(w, WM_COMMAND, kHelpTopics, 0); }},
        {"tray Help", [](HWND w) { PostMessageA(w, WM_COMMAND, kTrayHelp, 0); }},
        {"framework help command", [](HWND w) { PostMessageA(w, WM_COMMAND, kFrameworkHelp, 0); }},
        {"F1 in the note list", [](HWND w) { PostMessageA(GetDlgItem(w, 1000), WM_KEYDOWN, VK_F1, 1); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.label);
        way.ask(main);
        // A message box: a dialog with the program's title and a message text.
        HWND box = app.WaitForWindowWhere([main](HWND hwnd) {
            return hwnd != main && GetDlgItem(hwnd, 0xFFFF) && E2eDriver::WindowText(hwnd) == "Velumo";
        }, 10000);
        ASSERT_NE(box, nullptr) << "no message";
        EXPECT_EQ(E2eDriver::MessageBoxText(box), expected);
        E2eDriver::Dismiss(box);
        for (int i = 0; i < 100 && IsWindow(box); ++i)
            Sleep(50);
        ASSERT_FALSE(IsWindow(box));
        ASSERT_TRUE(app.IsRunning());
    }
}

TEST(HelpE2e, TheSchedulingDialogsHelpButtonNamesAMissingHelpFile)
{
    E2eDriver app;
    ASSERT_TRUE(app.Start());
    HWND main = app.WaitForWindow("Velumo", 15000, "#32770");
    ASSERT_NE(main, nullptr);
    SendMessageA(main, WM_COMMAND, 32785, 0);  // "Add &note"
    HWND list = GetDlgItem(main, 1000);
    ASSERT_TRUE(app.SelectRow(list, 0, true));
    ASSERT_TRUE(E2eDriver::ClickChildAt(main, 19 + 10, 189 + 8, false));  // "Schedule"
    HWND dialog = app.WaitForWindow("Scheduling properties", 10000, "#32770");
    ASSERT_NE(dialog, nullptr);

    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(6, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 6)));
    HWND box = app.WaitForWindowWhere([](HWND hwnd) {
        return GetDlgItem(hwnd, 0xFFFF) && E2eDriver::WindowText(hwnd) == "Velumo";
    }, 10000);
    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(E2eDriver::MessageBoxText(box), "The help file could not be found:\r\n\r\n" + app.PathOf("Velumo.chm"));
    E2eDriver::Dismiss(box);
    for (int i = 0; i < 100 && IsWindow(box); ++i)
        Sleep(50);
    EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open after help";
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}
