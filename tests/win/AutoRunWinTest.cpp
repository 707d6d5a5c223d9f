// The auto-start option against the real registry (of the test prefix):
// reading, writing back with the Run entry, and who may write.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "TestFiles.h"
#include "app/CNotesApp.h"
#include "mainwnd/CMainDlg.h"
#include "settings/AutoRun.h"
#include "settings/AutoRunValue.h"
#include "settings/CRegistry.h"

namespace {

using Text = std::optional<std::string>;  // none: no such value

Text ReadValue(const char* key, const char* name)
{
    CRegistry registry;
    registry.Open(key);
    std::string text;
    return registry.QueryString(name, text) == ERROR_SUCCESS ? Text(text) : std::nullopt;
}
Text AutoRunValue() { return ReadValue(AutoRunKeys::kOptionKey, AutoRunKeys::kOptionValue); }
Text RunValue() { return ReadValue(AutoRunKeys::kRunKey, AutoRunKeys::kRunValue); }
std::string QuotedExe() { return "\"" + CWinAppBase::ModulePath() + "\""; }

void WriteValue(const char* key, const char* name, const std::string& text)
{
    CRegistry registry;
    registry.Open(key);
    ASSERT_EQ(registry.SetString(name, text), ERROR_SUCCESS);
}

// Every test starts and ends without the option's key and the Run value.
class AutoRunWin : public testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear()
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, AutoRunKeys::kOptionKey);
        CRegistry run;
        run.Open(AutoRunKeys::kRunKey);
        run.DeleteValue(AutoRunKeys::kRunValue);
        g_bAutoRun = 0;
    }
};

// An application whose main window is the test's stand-in.
class TestApp : public CNotesApp {
public:
    std::function<void(CNotesApp&)> mainWindow;

protected:
    void RunMainWindow() override { mainWindow(*this); }
};

}  // namespace

TEST_F(AutoRunWin, ReadTakesOnlyTheExactWord)
{
    struct Case {
        const char* label;
        Text stored;  // none: no Option key at all
        int autoRun;
    } cases[] = {
        {"no key", std::nullopt, 0},
        {"TRUE", "TRUE", 1},
        {"small letters", "true", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Clear();
        if (c.stored)
            WriteValue(AutoRunKeys::kOptionKey, AutoRunKeys::kOptionValue, *c.stored);
        g_bAutoRun = 1 - c.autoRun;
        ReadAutoRun();
        EXPECT_EQ(g_bAutoRun, c.autoRun);
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, AutoRunKeys::kOptionKey, 0, KEY_READ, &key), ERROR_SUCCESS)
            << "the first open creates the key";
        RegCloseKey(key);
    }
}

TEST_F(AutoRunWin, QueryReadsUpTo200BytesAndKeepsTextBeyondTheCodePage)
{
    struct Case {
        const char* label;
        std::string stored;
        bool readable;
    } cases[] = {
        {"99 letters and the zero fill 200 bytes", std::string(99, 'a'), true},
        {"100 letters do not fit: missing", std::string(100, 'a'), false},
        {"a path beyond any one code page", "C:\\\u00DCbung\\\u6771\u4EAC\\Velumo.exe", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        WriteValue(AutoRunKeys::kOptionKey, "Probe", c.stored);
        CRegistry registry;
        registry.Open(AutoRunKeys::kOptionKey);
        std::string text = "unchanged";
        EXPECT_EQ(registry.QueryString("Probe", text) == ERROR_SUCCESS, c.readable);
        EXPECT_EQ(text, c.readable ? c.stored : "unchanged");
    }
}

TEST_F(AutoRunWin, WriteStoresTheChoiceAndTheQuotedRunEntry)
{
    WriteValue(AutoRunKeys::kRunKey, AutoRunKeys::kRunValue, "C:\\old place\\Velumo.exe");
    struct Case {
        int autoRun;
        const char* stored;
        Text run;
    } cases[] = {{1, "TRUE", QuotedExe()}, {0, "FALSE", std::nullopt}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        g_bAutoRun = c.autoRun;
        WriteAutoRun();
        EXPECT_EQ(AutoRunValue(), c.stored);
        EXPECT_EQ(RunValue(), c.run);
    }
}

TEST_F(AutoRunWin, ACopyThatStoppedBeforeReadingWritesNothing)
{
    TempFolder folder;
    WriteValue(AutoRunKeys::kOptionKey, AutoRunKeys::kOptionValue, "left alone");
    HANDLE running = CreateMutexA(nullptr, FALSE, CNotesApp::kMutexName);  // another copy runs
    {
        TestApp second;
        second.mainWindow = [](CNotesApp&) { ADD_FAILURE() << "a second copy got as far as its window"; };
        second.Run(GetModuleHandleA(nullptr), {folder.Path("notes.dat")});
    }
    CloseHandle(running);
    EXPECT_EQ(AutoRunValue(), "left alone");
    EXPECT_EQ(RunValue(), std::nullopt);
}

TEST_F(AutoRunWin, SessionEndWritesTheChoiceOnce)
{
    TempFolder folder;
    TestApp app;
    Text afterQuery, afterEnd;
    app.mainWindow = [&](CNotesApp& self) {
        g_bAutoRun = 1;
        CMainDlg dlg(self.m_notes);
        dlg.SetSkinFile(VELUMO_PACKED_SKIN);
        HWND hwnd = dlg.CreateModeless(nullptr);
        ASSERT_NE(hwnd, nullptr);
        SendMessageA(hwnd, WM_ENDSESSION, FALSE, 0);  // the session goes on
        afterQuery = AutoRunValue();
        SendMessageA(hwnd, WM_ENDSESSION, TRUE, 0);
        afterEnd = AutoRunValue();
        g_bAutoRun = 0;  // nothing after the session's end may write again
    };
    app.Run(GetModuleHandleA(nullptr), {folder.Path("notes.dat")});
    EXPECT_EQ(afterQuery, std::nullopt);
    EXPECT_EQ(afterEnd, "TRUE");
    EXPECT_EQ(AutoRunValue(), "TRUE");
    EXPECT_EQ(RunValue(), QuotedExe());
}
