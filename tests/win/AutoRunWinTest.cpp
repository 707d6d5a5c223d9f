// The auto-start option against the real registry (of the test prefix):
// reading, writing back with the Run entry, and who may write.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "TestFiles.h"
#include "WinTestUtil.h"
#include "app/CNotesApp.h"
#include "mainwnd/CMainDlg.h"
#include "settings/AutoRun.h"
#include "settings/AutoRunValue.h"
#include "settings/CRegistry.h"

namespace {

std::optional<std::string> ReadValue(const char* key, const char* name)
{
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

void WriteValue(const char* key, const char* name, const std::string& text)
{
    HKEY hkey = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hkey, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(hkey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(hkey);
}

bool KeyExists(const char* key)
{
    HKEY hkey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &hkey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hkey);
    return true;
}

std::optional<std::string> AutoRunValue() { return ReadValue(AutoRunKeys::kOptionKey, AutoRunKeys::kOptionValue); }
std::optional<std::string> RunValue() { return ReadValue(AutoRunKeys::kRunKey, AutoRunKeys::kRunValue); }

// Every test starts without the option's key and without the Run value.
class AutoRunWin : public testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear()
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, AutoRunKeys::kOptionKey);
        HKEY run = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, AutoRunKeys::kRunKey, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, AutoRunKeys::kRunValue);
            RegCloseKey(run);
        }
        g_bAutoRun = 0;
    }
};

// An application whose main window is a stand-in: what it does is the test's.
class TestApp : public CNotesApp {
public:
    std::function<void(CNotesApp&)> mainWindow;

protected:
    void RunMainWindow() override
    {
        if (mainWindow)
            mainWindow(*this);
    }
};

}  // namespace

TEST_F(AutoRunWin, ReadTakesOnlyTheExactWord)
{
    struct Case {
        const char* label;
        std::optional<std::string> stored;  // none: no Option key at all
        int autoRun;
    } cases[] = {
        {"no key", std::nullopt, 0},
        {"TRUE", "TRUE", 1},
        {"small letters", "true", 0},
        {"FALSE", "FALSE", 0},
        {"over 200 bytes counts as missing", "TRUE" + std::string(250, ' '), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Clear();
        if (c.stored)
            WriteValue(AutoRunKeys::kOptionKey, AutoRunKeys::kOptionValue, *c.stored);
        g_bAutoRun = 1 - c.autoRun;
        ReadAutoRun();
        EXPECT_EQ(g_bAutoRun, c.autoRun);
        EXPECT_TRUE(KeyExists(AutoRunKeys::kOptionKey)) << "the first open creates the key";
        EXPECT_EQ(AutoRunValue(), c.stored) << "reading writes nothing";
    }
}

TEST_F(AutoRunWin, QueryLeavesTheTextAloneWhenItCannotRead)
{
    struct Case {
        const char* label;
        std::string stored;
        bool readable;
    } cases[] = {
        {"99 letters and the zero fill 200 bytes", std::string(99, 'a'), true},
        {"100 letters do not fit", std::string(100, 'a'), false},
        {"empty", "", true},
        {"beyond any one code page", "C:\\\u00DCbung\\\u6771\u4EAC\\Velumo.exe", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CRegistry registry;
        registry.Open(AutoRunKeys::kOptionKey);
        ASSERT_EQ(registry.SetString("Probe", c.stored), ERROR_SUCCESS);
        std::string text = "unchanged";
        const LONG status = registry.QueryString("Probe", text);
        EXPECT_EQ(status == ERROR_SUCCESS, c.readable);
        EXPECT_EQ(text, c.readable ? c.stored : "unchanged");
    }
    // A number is no text.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, AutoRunKeys::kOptionKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    const DWORD one = 1;
    RegSetValueExA(key, AutoRunKeys::kOptionValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    RegCloseKey(key);
    CRegistry registry;
    registry.Open(AutoRunKeys::kOptionKey);
    std::string text = "unchanged";
    EXPECT_NE(registry.QueryString(AutoRunKeys::kOptionValue, text), ERROR_SUCCESS);
    EXPECT_EQ(text, "unchanged");
}

TEST_F(AutoRunWin, WriteStoresTheChoiceAndTheQuotedRunEntry)
{
    const std::string quotedExe = "\"" + CWinAppBase::ModulePath() + "\"";
    struct Case {
        int autoRun;
        const char* stored;
        std::optional<std::string> run;
    } cases[] = {{1, "TRUE", quotedExe}, {0, "FALSE", std::nullopt}, {1, "TRUE", quotedExe}};
    WriteValue(AutoRunKeys::kRunKey, AutoRunKeys::kRunValue, "C:\\old place\\Velumo.exe");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        g_bAutoRun = c.autoRun;
        WriteAutoRun();
        EXPECT_EQ(AutoRunValue(), c.stored);
        EXPECT_EQ(RunValue(), c.run);
    }
}

TEST_F(AutoRunWin, OnlyARunThatReadTheOptionWritesItBack)
{
    TempFolder folder;
    WriteValue(AutoRunKeys::kOptionKey, AutoRunKeys::kOptionValue, "left alone");
    {
        // Another copy runs: this one stops before reading.
        HANDLE running = CreateMutexA(nullptr, FALSE, CNotesApp::kMutexName);
        TestApp second;
        bool ran = false;
        second.mainWindow = [&](CNotesApp&) { ran = true; };
        second.Run(GetModuleHandleA(nullptr), {folder.Path("notes.dat")});
        CloseHandle(running);
        EXPECT_FALSE(ran);
        EXPECT_EQ(AutoRunValue(), "left alone");
        EXPECT_EQ(RunValue(), std::nullopt);
    }
    {
        TestApp app;
        app.mainWindow = [](CNotesApp&) { g_bAutoRun = 1; };  // as the Options dialog would
        app.Run(GetModuleHandleA(nullptr), {folder.Path("notes.dat")});
        EXPECT_EQ(AutoRunValue(), "TRUE");
        EXPECT_EQ(RunValue(), "\"" + CWinAppBase::ModulePath() + "\"");
    }
}

TEST_F(AutoRunWin, SessionEndWritesTheChoiceOnce)
{
    TempFolder folder;
    TestApp app;
    std::optional<std::string> beforeEnd, afterQuery, afterEnd;
    app.mainWindow = [&](CNotesApp& self) {
        g_bAutoRun = 1;
        CMainDlg dlg(self.m_notes);
        dlg.SetSkinFile(VELUMO_PACKED_SKIN);
        HWND hwnd = dlg.CreateModeless(nullptr);
        ASSERT_NE(hwnd, nullptr);
        self.m_hMainWnd = hwnd;
        beforeEnd = AutoRunValue();
        SendMessageA(hwnd, WM_ENDSESSION, FALSE, 0);  // the session goes on
        afterQuery = AutoRunValue();
        SendMessageA(hwnd, WM_ENDSESSION, TRUE, 0);
        afterEnd = AutoRunValue();
        g_bAutoRun = 0;  // nothing after the session's end may write again
    };
    app.Run(GetModuleHandleA(nullptr), {folder.Path("notes.dat")});
    EXPECT_EQ(beforeEnd, std::nullopt);
    EXPECT_EQ(afterQuery, std::nullopt);
    EXPECT_EQ(afterEnd, "TRUE");
    EXPECT_EQ(AutoRunValue(), "TRUE");
    EXPECT_EQ(RunValue(), "\"" + CWinAppBase::ModulePath() + "\"");
}
