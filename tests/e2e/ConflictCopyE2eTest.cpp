// A sync client that saw two computers change the notes file keeps the other
// computer's version beside it under a conflict name. The running program
// merges it: the note made over there comes onto the desktop, the copy goes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

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
    const HWND told = app.WaitForWindowWhere(
        [](HWND box) { return E2eDriver::MessageBoxText(box).find("back on your desktop") != std::string::npos; },
        10000);
    EXPECT_NE(told, nullptr) << "the user is told";
    if (told)
        E2eDriver::Dismiss(told);

    const auto saved = ParseNotes(app.ReadFile("notes.dat"));
    ASSERT_NE(saved, nullptr);
    ASSERT_EQ(saved->m_nCount, 2);
    EXPECT_EQ(saved->GetAt(0)->m_strText, u"made here");
    EXPECT_EQ(saved->GetAt(1)->m_strText, u"made on the laptop");
    app.Stop();
}
