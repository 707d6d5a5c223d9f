// Start-up of the application object without its main window: a notes file
// named by a relative path keeps its place when the current folder changes
// (as an open-file dialog may change it) before the save.
#include <windows.h>

#include <gtest/gtest.h>

#include "WinTestUtil.h"
#include "app/CNotesApp.h"

namespace {

class FolderChangingApp : public CNotesApp {
public:
    std::string m_strElsewhere;

protected:
    void RunMainWindow() override
    {
        SetCurrentDirectoryA(m_strElsewhere.c_str());
        m_notes.Add(std::make_unique<CNote>());  // something to save
    }
    // The start-with-Windows option stays out of it.
    void ReadAutoRunSetting() override {}
    void WriteAutoRunSetting() override {}
};

std::string CurrentFolder()
{
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

}  // namespace

TEST(AppStart, RelativeNotesPathIsMadeAbsoluteAtStartUp)
{
    TempFolder start;
    TempFolder elsewhere;
    const std::string before = CurrentFolder();
    ASSERT_TRUE(SetCurrentDirectoryA(start.Path().c_str()));
    {
        FolderChangingApp app;
        app.m_strElsewhere = elsewhere.Path();
        app.Run(GetModuleHandleA(nullptr), {"notes-rel.dat"});
        EXPECT_EQ(app.m_notes.m_strPath, start.Path("notes-rel.dat"));
    }
    SetCurrentDirectoryA(before.c_str());
    EXPECT_EQ(GetFileAttributesA(elsewhere.Path("notes-rel.dat").c_str()), INVALID_FILE_ATTRIBUTES)
        << "no new notes file where the current folder went";
    CNoteList saved;
    ASSERT_TRUE(saved.Load(start.Path("notes-rel.dat")));
    EXPECT_EQ(saved.m_nCount, 1) << "the save reached the file named at start-up";
}
