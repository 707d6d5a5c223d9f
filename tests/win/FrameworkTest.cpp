// The framework layer: the window thunk, the modal run with pre-translation,
// the settings file, the command line's words.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/CNotesApp.h"
#include "core/UnicodeText.h"
#include "framework/CDialogBase.h"
#include "framework/CWindowBase.h"
#include "res/resource.h"
#include "WinTestUtil.h"

namespace {

class RecordingWindow : public CWindowBase {
public:
    static constexpr const char* kClass = "VelumoTestRecordingWindow";
    RecordingWindow()
    {
        WNDCLASSEXA wc{};
        wc.lpszClassName = kClass;
        wc.hInstance = GetModuleHandleA(nullptr);
        RegisterClassOnce(wc);
    }
    std::vector<UINT> seen;
    bool* finalFlag = nullptr;
    bool throwOnPaint = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(msg);
        if (msg == WM_USER + 7)
            return 1234;
        if (msg == WM_USER + 8 && throwOnPaint)
            throw std::runtime_error("handler failed");
        return CWindowBase::HandleMessage(msg, wParam, lParam);
    }
    void OnFinalMessage() override
    {
        if (finalFlag)
            *finalFlag = true;
    }
};

// Ends its own modal run from a timer, and counts keys it swallowed.
class TimedDialog : public CDialogBase {
public:
    TimedDialog() : CDialogBase(IDD_TEXT) {}
    int swallowed = 0;
    bool initSeen = false;

protected:
    BOOL OnInitDialog() override
    {
        initSeen = true;
        PostMessageA(GetItem(IDCANCEL), WM_KEYDOWN, VK_F5, 0);
        SetTimer(m_hWnd, 1, 50, nullptr);
        return TRUE;
    }
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_TIMER) {
            KillTimer(m_hWnd, 1);
            EndDialog(77);
            return TRUE;
        }
        return CDialogBase::HandleMessage(msg, wParam, lParam);
    }
    bool PreTranslateMessage(MSG& msg) override
    {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_F5) {
            ++swallowed;
            return true;
        }
        return false;
    }
};

}  // namespace

TEST(Framework, WindowThunkDeliversMessagesAndForgetsTheObject)
{
    RecordingWindow window;
    bool finalSeen = false;
    window.finalFlag = &finalSeen;
    HWND hwnd = window.CreateEx(0, RecordingWindow::kClass, "t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(window.GetHwnd(), hwnd);
    EXPECT_EQ(SendMessageA(hwnd, WM_USER + 7, 0, 0), 1234);
    window.throwOnPaint = true;
    EXPECT_EQ(SendMessageA(hwnd, WM_USER + 8, 0, 0), 0) << "an exception must not leave the window procedure";
    DestroyWindow(hwnd);
    EXPECT_TRUE(finalSeen);
    EXPECT_EQ(window.GetHwnd(), nullptr);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), 0);
}

TEST(Framework, ModalRunPreTranslatesAndEndsWithItsResult)
{
    TimedDialog dlg;
    EXPECT_EQ(dlg.DoModal(nullptr), 77);
    EXPECT_TRUE(dlg.initSeen);
    EXPECT_EQ(dlg.swallowed, 1);
    EXPECT_EQ(dlg.GetHwnd(), nullptr) << "the window is gone after the run";
}

TEST(Framework, ProfileIntegersInTheSettingsFile)
{
    TempFolder folder;
    CNotesApp app;
    app.SetProfileFile(folder.Path("Velumo.ini"));
    struct Case {
        const char* label;
        int value;
    } cases[] = {{"positive", 120}, {"zero", 0}, {"negative", -5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(app.WriteProfileInt("List", "Col2Width", c.value));
        const int read = app.GetProfileInt("List", "Col2Width", -1);
        // Negative numbers are not something the settings reader promises
        // to keep; what matters is that they never read as a width.
        if (c.value >= 0) {
            EXPECT_EQ(read, c.value);
        } else {
            EXPECT_LE(read, 0);
        }
    }
    EXPECT_EQ(app.GetProfileInt("List", "Missing", -1), -1);
}

TEST(Framework, CommandLineWordsAreTheSystemsOwn)
{
    // The program splits its command line itself; whatever the line, it
    // must read the words the system's splitting gives.
    const wchar_t* lines[] = {
        L"\"C:\\Program Files\\Velumo\\Velumo.exe\" \"D:\\My notes\\notes.dat\"",
        L"\"C:\\V\\\" a", L"\"C:\\a b\"next word", L"v.exe \t a\tb  ", L"v.exe \"\" x",
        L"v.exe \"D:\\notes\\\\\" x", L"v.exe a\\\\\\\"b c\\\\d", L"v.exe \"a\"\"b\" c",
        L"v.exe \"a\"\"\"b c\"", L"v.exe \"\"\"\"\"\" q", L"v.exe \"unclosed to the end",
        L"v.exe \u03A3\u03B7\u03BC \"\u00E9 \u00E8\"",
    };
    for (const wchar_t* line : lines) {
        SCOPED_TRACE(Utf8FromWide(line));
        int count = 0;
        LPWSTR* system = CommandLineToArgvW(line, &count);
        ASSERT_NE(system, nullptr);
        std::vector<std::string> expected;
        for (int i = 1; i < count; ++i)
            expected.push_back(Utf8FromWide(system[i]));
        LocalFree(system);
        EXPECT_EQ(CWinAppBase::ArgumentsOf(line), expected);
    }
}
