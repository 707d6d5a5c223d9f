// Where the program finds its files.
#include <gtest/gtest.h>

#include "app/AppPaths.h"

TEST(AppPaths, FilesBesideTheExecutable)
{
    struct Case {
        const char* exe;
        const char* notes;
        const char* settings;
        const char* help;
        const char* skin;
    } cases[] = {
        {"D:\\Tools\\jot.exe", "D:\\Tools\\notes.dat", "D:\\Tools\\jot.ini", "D:\\Tools\\jot.chm",
         "D:\\Tools\\Skins\\skin.ini"},
        {"C:\\Velumo.exe", "C:\\notes.dat", "C:\\Velumo.ini", "C:\\Velumo.chm", "C:\\Skins\\skin.ini"},
        {"C:\\a.b\\prog", "C:\\a.b\\notes.dat", "C:\\a.b\\prog.ini", "C:\\a.chm", "C:\\a.b\\Skins\\skin.ini"},
        {"prog", "notes.dat", "prog.ini", "chm", "\\Skins\\skin.ini"},
        {"\\\\server\\share\\v.exe", "\\\\server\\share\\notes.dat", "\\\\server\\share\\v.ini",
         "\\\\server\\share\\v.chm", "\\\\server\\share\\Skins\\skin.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exe);
        EXPECT_EQ(NotesFilePath(c.exe, {}), c.notes);
        EXPECT_EQ(SettingsFilePath(c.exe), c.settings);
        EXPECT_EQ(HelpFilePath(c.exe), c.help);
        EXPECT_EQ(SkinFilePath(c.exe), c.skin);
    }
    EXPECT_EQ(NotesFilePath("C:\\V\\Velumo.exe", {"E:\\mine.dat", "ignored"}), "E:\\mine.dat");
}
