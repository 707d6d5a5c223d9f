// Starting with Windows through the real program: the splash before the main
// window, the Options dialog, and what the registry holds after the exit, as
// reg.exe reads it.
#include <gtest/gtest.h>

#include <string>

#include "E2eDriver.h"

namespace {

constexpr const char* kOptionKey = "HKCU\\Software\\Tarkwen\\Velumo\\Option";
constexpr const char* kRunKey = "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr WPARAM kOptionsCommand = 32787;
constexpr int kAutoStartBox = 1011, kOkButton = 1023;

// The data of a REG_SZ value as "reg query" prints it; "(none)" when reg
// finds no such value.
std::string RegQuery(const std::string& key, const std::string& value)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd;
    PROCESS_INFORMATION pi{};
    std::string command = "reg.exe query \"" + key + "\" /v \"" + value + "\"";
    const BOOL started =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    std::string output;
    char buffer[512];
    DWORD got = 0;
    while (started && ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        output.append(buffer, got);
    CloseHandle(readEnd);
    DWORD exitCode = 1;
    if (started) {
        WaitForSingleObject(pi.hProcess, 10000);
        GetExitCodeProcess(pi.hProcess, &exitCode);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    const auto type = output.find("REG_SZ");
    if (exitCode != 0 || type == std::string::npos)
        return "(none)";
    const auto start = output.find_first_not_of(" \t", type + 6);
    return start == std::string::npos ? "" : output.substr(start, output.find_first_of("\r\n", start) - start);
}

void ClearRegistry()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tarkwen\\Velumo\\Option");
    HKEY run = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_ALL_ACCESS,
                      &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "Velumo 2.00");
        RegCloseKey(run);
    }
}

// Opens Options from the tray menu's command, clicks the box once and
// confirms; answers whether the box was ticked when the dialog opened.
bool ToggleAutoStart(E2eDriver& app, HWND main)
{
    PostMessageA(main, WM_COMMAND, kOptionsCommand, 0);
    HWND options = app.WaitForWindow("Options", 10000, "#32770");
    EXPECT_NE(options, nullptr);
    if (!options)
        return false;
    HWND box = GetDlgItem(options, kAutoStartBox);
    const bool wasTicked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    SendMessageA(box, BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(options, kOkButton), BM_CLICK, 0, 0);
    for (int i = 0; i < 100 && IsWindow(options) && IsWindowVisible(options); ++i)
        Sleep(50);
    EXPECT_FALSE(IsWindow(options) && IsWindowVisible(options)) << "OK did not close Options";
    return wasTicked;
}

}  // namespace

TEST(AutoStartE2e, SplashThenMainWindowAndTheChoiceReachesTheRegistryAtOk)
{
    ClearRegistry();
    E2eDriver app;
    ASSERT_TRUE(app.Start());
    HWND splash = app.WaitForWindow("", 15000, "VelumoSplash");
    ASSERT_NE(splash, nullptr) << "no splash at start";
    HWND main = app.WaitForWindow("Velumo", 15000);
    ASSERT_NE(main, nullptr);
    for (int i = 0; i < 100 && IsWindow(splash); ++i)
        Sleep(50);
    EXPECT_FALSE(IsWindow(splash)) << "the splash stays beyond its two seconds";

    EXPECT_FALSE(ToggleAutoStart(app, main));
    // Written at OK, while the program runs: a power cut before the end of
    // the run keeps it. The end of the run writes the same again.
    for (const char* when : {"after OK", "after the exit"}) {
        SCOPED_TRACE(when);
        EXPECT_EQ(RegQuery(kOptionKey, "AutoRun"), "TRUE");
        const std::string run = RegQuery(kRunKey, "Velumo 2.00");
        EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, run.c_str(), -1,
                                 ("\"" + app.ExePath() + "\"").c_str(), -1),
                  CSTR_EQUAL)
            << run;
        if (app.IsRunning())
            app.Stop();
    }

    // The next run shows the choice and can take it back.
    ASSERT_TRUE(app.Start());
    main = app.WaitForWindow("Velumo", 15000);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(ToggleAutoStart(app, main));
    app.Stop();
    EXPECT_EQ(RegQuery(kOptionKey, "AutoRun"), "FALSE");
    EXPECT_EQ(RegQuery(kRunKey, "Velumo 2.00"), "(none)");
    ClearRegistry();
}
