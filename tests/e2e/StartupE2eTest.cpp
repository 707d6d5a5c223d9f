// Start-up and shutdown of the real program: the notes file it creates, the
// single running copy, the path argument, and an unreadable notes file.
#include <gtest/gtest.h>

#include "E2eDriver.h"
#include "core/UnicodeText.h"

namespace {

const std::vector<uint8_t> kEmptyFile{0x00, 0x01, 0x00, 0x00, 0x00, 0x00};

bool SameTime(FILETIME a, FILETIME b)
{
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

}  // namespace

TEST(StartupE2e, FirstStartCreatesTheEmptyFileAndCloseWritesNothing)
{
    E2eDriver app;
    ASSERT_TRUE(app.Start());
    ASSERT_NE(app.WaitForWindow("Velumo", 15000), nullptr);
    EXPECT_EQ(app.ReadFile("notes.dat"), kEmptyFile);
    const FILETIME created = app.LastWrite("notes.dat");
    Sleep(1200);
    app.Stop();
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_EQ(app.ReadFile("notes.dat"), kEmptyFile);
    EXPECT_TRUE(SameTime(app.LastWrite("notes.dat"), created));
}

TEST(StartupE2e, SecondCopyEndsAtOnceAndLeavesTheFileAlone)
{
    E2eDriver app;
    ASSERT_TRUE(app.Start());
    ASSERT_NE(app.WaitForWindow("Velumo", 15000), nullptr);
    const FILETIME before = app.LastWrite("notes.dat");
    const DWORD start = GetTickCount();
    EXPECT_EQ(E2eDriver::RunToEnd(app.ExePath(), "", 15000), 0);
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_TRUE(SameTime(app.LastWrite("notes.dat"), before));
    EXPECT_TRUE(app.IsRunning());
}

TEST(StartupE2e, PathArgumentReplacesNotesDat)
{
    E2eDriver app;
    const std::string path = app.PathOf("elsewhere.dat");
    ASSERT_TRUE(app.Start("\"" + path + "\""));
    ASSERT_NE(app.WaitForWindow("Velumo", 15000), nullptr);
    EXPECT_EQ(app.ReadFile("elsewhere.dat"), kEmptyFile);
    EXPECT_FALSE(app.FileExists("notes.dat"));
}

TEST(StartupE2e, UnreadableNotesFileIsReportedAndLeftUntouched)
{
    // "Σημειώσεις.dat": the message names a path outside the code page whole.
    const std::string greekName =
        Utf8FromUtf16(u"\u03A3\u03B7\u03BC\u03B5\u03B9\u03CE\u03C3\u03B5\u03B9\u03C2.dat");
    struct Case {
        const char* label;
        std::vector<uint8_t> bytes;
        std::string name;
    } cases[] = {
        {"truncated record", {0x00, 0x01, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00}, "notes.dat"},
        {"header only", {0x00, 0x01, 0x00}, "notes.dat"},
        {"negative count: no notes file", {0x00, 0x01, 0x00, 0x00, 0x00, 0x80, 0x01, 0x02}, "notes.dat"},
        {"Greek name on the command line", {0x00, 0x01, 0x00}, greekName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        E2eDriver app;
        ASSERT_TRUE(app.WriteFile(c.name, c.bytes));
        ASSERT_TRUE(app.Start(c.name == "notes.dat" ? "" : "\"" + app.PathOf(c.name) + "\""));
        HWND box = app.WaitForWindow("Velumo", 15000, "#32770");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(E2eDriver::MessageBoxText(box), "Unable to open configuration file: " + app.PathOf(c.name));
        E2eDriver::Dismiss(box);
        EXPECT_TRUE(app.WaitForExit(10000));
        EXPECT_EQ(app.ReadFile(c.name), c.bytes);
    }
}

TEST(StartupE2e, NotesFileHeldOpenByAnotherProgramIsReported)
{
    E2eDriver app;
    ASSERT_TRUE(app.WriteFile("notes.dat", kEmptyFile));
    HANDLE held = CreateFileA(app.PathOf("notes.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(app.Start());
    HWND box = app.WaitForWindow("Velumo", 15000, "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(E2eDriver::MessageBoxText(box).find("Unable to open configuration file: "), std::string::npos);
    E2eDriver::Dismiss(box);
    EXPECT_TRUE(app.WaitForExit(10000));
    CloseHandle(held);
    EXPECT_EQ(app.ReadFile("notes.dat"), kEmptyFile);
}
