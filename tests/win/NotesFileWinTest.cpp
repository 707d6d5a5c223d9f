// The notes file on Windows: default places against the runtime's own rand,
// and saves that cannot finish leaving the old file whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "notes/CNoteList.h"
#include "notes/RuntimeRand.h"
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
    ASSERT_EQ(saved.size(), 6u + 174u + 1u + 22u);

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
}
