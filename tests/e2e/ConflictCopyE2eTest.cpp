// A sync client that saw two computers change the notes file keeps the other
// computer's version beside it under a conflict name. The running program
// merges it: the note made over there comes onto the desktop, the copy goes,
// and a balloon over the tray icon says so; one it cannot read stays, told
// of the same way, never in a box that waits to be closed.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "E2eDriver.h"
#include "core/UnicodeText.h"
#include "notes/CNoteList.h"

namespace {

std::unique_ptr<CNote> VisibleNote(const char16_t* text, int left)
{
    auto note = std::make_unique<CNote>();
    note->m_strText = text;
    note->m_bVisible = 1;
    note->m_rcWindow = NoteRect{left, 200, left + 200, 350};
    return note;
}

// The text of every note window of the program on the screen.
std::vector<std::u16string> NoteWindowTexts(const E2eDriver& app)
{
    std::vector<std::u16string> texts;
    for (HWND window = FindWindowExA(nullptr, nullptr, "VelumoNoteWnd", nullptr); window;
         window = FindWindowExA(nullptr, window, "VelumoNoteWnd", nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != app.ProcessId() || !IsWindowVisible(window))
            continue;
        if (HWND edit = GetDlgItem(window, 1016))
            texts.push_back(E2eDriver::ControlText(edit));
    }
    return texts;
}

bool Shows(const E2eDriver& app, const std::u16string& text)
{
    const std::vector<std::u16string> texts = NoteWindowTexts(app);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The text of a balloon over a tray icon, as the shell shows it: a balloon
// tooltip of the shell's process, its tool's text read there.
std::optional<std::u16string> BalloonText(HWND tip)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(tip, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return std::nullopt;
    constexpr size_t kTextAt = 256, kChars = 1024;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, kTextAt + (kChars + 1) * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    std::optional<std::u16string> read;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.lpszText = reinterpret_cast<wchar_t*>(remote + kTextAt);
    const wchar_t none = 0;
    if (remote && WriteProcessMemory(process, remote, &tool, sizeof tool, nullptr) &&
        WriteProcessMemory(process, remote + kTextAt, &none, sizeof none, nullptr) &&
        SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(remote))) {
        std::vector<wchar_t> text(kChars + 1, 0);
        ReadProcessMemory(process, remote + kTextAt, text.data(), kChars * sizeof(wchar_t), nullptr);
        read = std::u16string(text.begin(), text.begin() + wcslen(text.data()));
    }
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return read;
}

// The balloons the shell shows now.
std::vector<std::u16string> VisibleBalloons()
{
    std::vector<std::u16string> balloons;
    for (HWND tip : E2eDriver::VisibleBalloons()) {
        if (std::optional<std::u16string> text = BalloonText(tip))
            balloons.push_back(*text);
    }
    return balloons;
}

// True once a balloon with that text shows, within 15 s (three passes).
bool BalloonSays(const std::u16string& part)
{
    std::vector<std::u16string> shown;
    const bool said = WaitFor(
        [&] {
            shown = VisibleBalloons();
            return std::any_of(shown.begin(), shown.end(), [&](const std::u16string& text) {
                return text.find(part) != std::u16string::npos;
            });
        },
        15000);
    if (!said) {
        ADD_FAILURE() << "no balloon says \"" << Utf8FromUtf16(part) << "\" (" << shown.size() << " shown"
                      << (shown.empty() ? "" : ", the first: " + Utf8FromUtf16(shown[0])) << ")";
    }
    return said;
}

}  // namespace

TEST(ConflictCopyE2e, ACopyPutBesideTheRunningProgramIsMergedAndRemoved)
{
    E2eDriver app;
    CNoteList here;
    here.Add(VisibleNote(u"made here", 100));
    ASSERT_TRUE(app.WriteFile("notes.dat", here.StoreToBytes()));
    ASSERT_TRUE(app.Start());
    ASSERT_NE(app.WaitForWindow("Velumo", 15000, "#32770"), nullptr);
    ASSERT_TRUE(WaitFor([&] { return Shows(app, u"made here"); }, 10000));

    // The laptop's file, as the sync client leaves it: the note both had,
    // and the one made while the laptop was away from the network.
    CNoteList laptop;
    ASSERT_TRUE(laptop.LoadFromBytes(here.StoreToBytes()));
    laptop.Add(VisibleNote(u"made on the laptop", 500));
    const std::string copy = "notes.sync-conflict-20261209-064512-ABCDEFG.dat";
    ASSERT_TRUE(app.WriteFile(copy, laptop.StoreToBytes()));

    EXPECT_TRUE(WaitFor([&] { return !app.FileExists(copy); }, 15000)) << "the copy stays";
    EXPECT_TRUE(WaitFor([&] { return Shows(app, u"made on the laptop"); }, 5000));
    EXPECT_TRUE(Shows(app, u"made here"));
    // Told in a balloon over the tray icon, not in a box to be closed.
    const auto noBox = [&] {
        return app.WaitForWindowWhere([](HWND box) { return !E2eDriver::MessageBoxText(box).empty(); }, 500) ==
               nullptr;
    };
    EXPECT_TRUE(BalloonSays(u"back on your desktop"));
    EXPECT_TRUE(noBox()) << "no message box";

    // A copy that cannot be read stays, and is told of the same way.
    const std::string unreadable = "notes (Anna's conflicted copy 2026-12-09).dat";
    ASSERT_TRUE(app.WriteFile(unreadable, {'n', 'o', 't', 'e', 's'}));
    EXPECT_TRUE(BalloonSays(u"cannot be read and stays where it is: notes (Anna's conflicted copy 2026-12-09).dat"));
    EXPECT_TRUE(noBox()) << "no message box";
    EXPECT_TRUE(app.FileExists(unreadable));

    const auto saved = ParseNotes(app.ReadFile("notes.dat"));
    ASSERT_NE(saved, nullptr);
    ASSERT_EQ(saved->m_nCount, 2);
    EXPECT_EQ(saved->GetAt(0)->m_strText, u"made here");
    EXPECT_EQ(saved->GetAt(1)->m_strText, u"made on the laptop");
    app.Stop();
}
