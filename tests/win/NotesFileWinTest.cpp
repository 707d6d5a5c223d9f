// The notes file on Windows: default places against the runtime's own rand,
// saves that cannot finish leaving the old file whole, and paths in any script.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/AppPaths.h"
#include "framework/CWinAppBase.h"
#include "framework/WideText.h"
#include "notes/CNoteList.h"
#include "notes/RuntimeRand.h"
#include "TrailerBytes.h"
#include "WinTestUtil.h"

TEST(NotesFileWin, DefaultPlacesMatchTheRuntimeRand)
{
    // This process never seeded rand(): both generators start alike.
    RuntimeRand::Reset();
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(RuntimeRand::Next(), std::rand()) << "draw " << i;
    RuntimeRand::Reset();
    CNote first;
    CNote second;
    EXPECT_EQ(first.m_rcWindow, (NoteRect{41, 467, 241, 617}));
    EXPECT_EQ(second.m_rcWindow, (NoteRect{334, 0, 534, 150}));
}

TEST(NotesFileWin, InterruptedSavesLeaveTheOldFileLoadable)
{
    TempFolder folder;
    const std::string path = folder.Path("notes.dat");
    CNoteList list;
    ASSERT_TRUE(list.Load(path));
    list.Add(std::make_unique<CNote>());
    ASSERT_TRUE(list.Save());
    const auto saved = ReadWholeFile(path);
    ASSERT_EQ(RecordsEnd(saved), 6u + 174u + 1u + 22u);

    struct Case {
        const char* label;
        void (*block)(const std::string& path, HANDLE* held);
    } cases[] = {
        {"temporary file cannot be made",
         [](const std::string& p, HANDLE*) { CreateDirectoryA((p + ".new").c_str(), nullptr); }},
        {"notes file held open by another program",
         [](const std::string& p, HANDLE* held) {
             *held = CreateFileA(p.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        HANDLE held = INVALID_HANDLE_VALUE;
        c.block(path, &held);
        list.Add(std::make_unique<CNote>());
        EXPECT_FALSE(list.Save());
        EXPECT_EQ(list.m_bModified, 1u);
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        RemoveDirectoryA((path + ".new").c_str());
        EXPECT_EQ(ReadWholeFile(path), saved);
        CNoteList reader;
        EXPECT_TRUE(reader.Load(path));
        EXPECT_EQ(reader.m_nCount, 1);
        list.Remove(list.GetAt(1)->m_pos);
        list.m_bModified = 0;
    }
    // Once the way is clear again, the next save goes through.
    list.Add(std::make_unique<CNote>());
    EXPECT_TRUE(list.Save());
    CNoteList reader;
    ASSERT_TRUE(reader.Load(path));
    EXPECT_EQ(reader.m_nCount, 2);
    EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(NotesFileWin, MissingFileIsCreatedUnlessTheFolderIsMissing)
{
    TempFolder folder;
    CNoteList list;
    EXPECT_TRUE(list.Load(folder.Path("fresh.dat")));
    EXPECT_EQ(ReadWholeFile(folder.Path("fresh.dat")), (std::vector<uint8_t>{0, 1, 0, 0, 0, 0}));
    CNoteList nowhere;
    EXPECT_FALSE(nowhere.Load(folder.Path("no-such-folder\\notes.dat")));
    EXPECT_EQ(nowhere.m_strPath, "");

    // A folder where the temporary file would go: the file is made directly.
    const std::string blocked = folder.Path("blocked.dat");
    ASSERT_TRUE(CreateDirectoryA((blocked + ".new").c_str(), nullptr));
    CNoteList created;
    EXPECT_TRUE(created.Load(blocked));
    EXPECT_EQ(ReadWholeFile(blocked), (std::vector<uint8_t>{0, 1, 0, 0, 0, 0}));
}

TEST(NotesFileWin, LeftoversAndForeignFilesAreHandledAtLoad)
{
    TempFolder folder;
    const std::string path = folder.Path("notes.dat");
    // What a save cut off before its move leaves behind goes at the next load.
    ASSERT_TRUE(WriteWholeFile(path, {0, 1, 0, 0, 0, 0}));
    ASSERT_TRUE(WriteWholeFile(path + ".new", {0, 1, 0, 0, 1, 0, 7}));
    CNoteList list;
    EXPECT_TRUE(list.Load(path));
    EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);

    // A negative count is no notes file: refused, and never overwritten.
    const std::vector<uint8_t> foreign = {'M', 'Z', 0x90, 0x00, 0x03, 0x80, 0x00, 0x00, 0x04};
    const std::string other = folder.Path("other.dat");
    ASSERT_TRUE(WriteWholeFile(other, foreign));
    CNoteList refused;
    EXPECT_FALSE(refused.Load(other));
    refused.Add(std::make_unique<CNote>());
    EXPECT_FALSE(refused.Save()) << "no path to save to";
    EXPECT_EQ(ReadWholeFile(other), foreign);
}

TEST(NotesFileWin, AGreekFolderFromTheCommandLineLoadsAndSaves)
{
    TempFolder folder;
    // "Σημειώσεις": no Western European code page holds these letters.
    const std::string greek = folder.Path(Utf8FromUtf16(u"\u03A3\u03B7\u03BC\u03B5\u03B9\u03CE\u03C3\u03B5\u03B9\u03C2"));
    ASSERT_TRUE(CreateDirectoryW(WideFromUtf8(greek).c_str(), nullptr));
    const std::string path = greek + "\\notes.dat";

    const std::wstring commandLine = L"\"C:\\Program Files\\Velumo\\Velumo.exe\" \"" + WideFromUtf8(path) + L"\"";
    const auto args = CWinAppBase::ArgumentsOf(commandLine.c_str());
    ASSERT_EQ(args.size(), 1u);
    EXPECT_EQ(NotesFilePath("C:\\Program Files\\Velumo\\Velumo.exe", args), path);

    CNoteList list;
    ASSERT_TRUE(list.Load(args[0]));
    EXPECT_EQ(list.m_strPath, path);
    auto note = std::make_unique<CNote>();
    note->m_strText = u"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1";
    list.Add(note);
    ASSERT_TRUE(list.Save());

    CNoteList reloaded;
    ASSERT_TRUE(reloaded.Load(path));
    ASSERT_EQ(reloaded.m_nCount, 1);
    EXPECT_EQ(reloaded.GetAt(0)->m_strText, u"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1");
    EXPECT_EQ(ReadWholeFile(path), list.StoreToBytes());
}
