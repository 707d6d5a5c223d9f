// The real program with its main window: rows read from outside, commands
// sent as the tray menu sends them, and the notes file that results.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <span>

#include <windows.h>

#include <commctrl.h>

#include "E2eDriver.h"
#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/NotesBackups.h"
#include "core/UnicodeText.h"

namespace {

constexpr int kAddNote = 32785;
constexpr int kShowAll = 32793;
constexpr int kHideAll = 32795;

std::vector<uint8_t> FileWith(std::initializer_list<const char*> hiddenTexts)
{
    CNoteList list;
    for (const char* text : hiddenTexts) {
        auto note = std::make_unique<CNote>();
        note->m_strText = Utf16FromUtf8(text);
        note->m_bVisible = 0;
        list.Add(note);
    }
    return list.StoreToBytes();
}

std::vector<uint8_t> RecordBytes(const CNote& note)
{
    CArchive ar;
    const_cast<CNote&>(note).Serialize(ar);
    return ar.TakeBuffer();
}

bool Contains(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& needle)
{
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

struct MainWindow {
    HWND hwnd = nullptr;
    HWND list = nullptr;
};

MainWindow WaitForMainWindow(const E2eDriver& app)
{
    MainWindow w;
    w.hwnd = app.WaitForWindow("Velumo", 15000, "#32770");
    if (w.hwnd)
        w.list = GetDlgItem(w.hwnd, 1000);
    return w;
}

// Waits until every row's "Vis" cell shows the image (2 empty, 3 ticked).
bool WaitForEveryVis(const E2eDriver& app, const MainWindow& w, int image)
{
    return WaitFor([&] {
        const auto rows = app.ReadRows(w.list);
        return std::all_of(rows.begin(), rows.end(), [&](const auto& row) { return row.visImage == image; });
    }, 5000);
}

}  // namespace

TEST(MainWindowE2e, CommandsChangeTheRowsAndTheFile)
{
    E2eDriver app;
    const auto prepared = FileWith({"alpha", "beta\r\nline"});
    ASSERT_TRUE(app.WriteFile("notes.dat", prepared));
    ASSERT_TRUE(app.Start());
    MainWindow w = WaitForMainWindow(app);
    ASSERT_NE(w.list, nullptr);

    auto rows = app.ReadRows(w.list);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "alpha");
    EXPECT_EQ(rows[1].text, "beta  line");
    EXPECT_EQ(rows[0].visImage, 2);
    EXPECT_EQ(rows[0].schdImage, 0);

    SendMessageA(w.hwnd, WM_COMMAND, kAddNote, 0);
    SendMessageA(w.hwnd, WM_COMMAND, kAddNote, 0);
    rows = app.ReadRows(w.list);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3].text, "(Your text goes here)");
    EXPECT_EQ(rows[3].visImage, 3);

    SendMessageA(w.hwnd, WM_COMMAND, kShowAll, 0);
    ASSERT_TRUE(WaitForEveryVis(app, w, 3));
    SendMessageA(w.hwnd, WM_COMMAND, kHideAll, 0);
    ASSERT_TRUE(WaitForEveryVis(app, w, 2));

    // Delete "alpha" with the skin's "Delete note" button.
    for (int i = 0; i < 4; ++i)
        app.SelectRow(w.list, i, i == 0);
    ASSERT_TRUE(E2eDriver::ClickChildAt(w.hwnd, 19 + 10, 164 + 8));
    rows = app.ReadRows(w.list);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].text, "beta  line");

    // Within one housekeeping period the file holds exactly what the list shows.
    std::unique_ptr<CNoteList> saved;
    ASSERT_TRUE(WaitFor([&] {
        saved = ParseNotes(app.ReadFile("notes.dat"));
        return saved && saved->m_nCount == 3;
    }, 8000));
    const auto file = app.ReadFile("notes.dat");
    EXPECT_EQ(saved->GetAt(0)->m_strText, u"beta\r\nline");
    EXPECT_EQ(saved->GetAt(1)->m_strText, u"(Your text goes here)");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(saved->GetAt(i)->m_bVisible, 0) << i;
    // The note nobody touched is stored byte for byte as it was.
    auto original = ParseNotes(prepared);
    ASSERT_TRUE(original);
    EXPECT_TRUE(Contains(file, RecordBytes(*original->GetAt(1))));
    EXPECT_EQ(file.size(), saved->StoreToBytes().size()) << "no old tail after a shorter save";
    // The first save of the day kept the file as it was, beside it.
    const auto today = DailyBackupNameAt(std::time(nullptr));
    ASSERT_TRUE(today);
    EXPECT_EQ(app.ReadFile("Backups\\" + BackupFileName(*today)), prepared);
}

TEST(MainWindowE2e, DeleteTakesOnlyTheRowTheUserPicked)
{
    E2eDriver app;
    CNoteList list;
    for (const char* text : {"one", "two", "three"}) {
        auto note = std::make_unique<CNote>();
        note->m_strText = Utf16FromUtf8(text);
        note->m_bVisible = 1;
        list.Add(note);
    }
    ASSERT_TRUE(app.WriteFile("notes.dat", list.StoreToBytes()));
    ASSERT_TRUE(app.Start());
    MainWindow w = WaitForMainWindow(app);
    ASSERT_NE(w.list, nullptr);

    // The first housekeeping pass brings the three notes up.
    const auto noteEdit = [&](const char* text) {
        HWND note = app.WaitForWindowWhere(
            [&](HWND hwnd) {
                // Sent: an edit control's text is not its window caption.
                HWND edit = GetDlgItem(hwnd, 1016);
                char shown[64] = {};
                return edit && SendMessageA(edit, WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown)) > 0 &&
                       std::string(shown) == text;
            },
            10000);
        return note ? GetDlgItem(note, 1016) : nullptr;
    };
    const HWND firstEdit = noteEdit("one");
    const HWND thirdEdit = noteEdit("three");
    ASSERT_TRUE(firstEdit && thirdEdit);

    // The user picks the second row, types into the other two notes and
    // hides every note: each of those refreshes rows.
    for (int row = 0; row < 3; ++row)
        app.SelectRow(w.list, row, row == 1);
    for (HWND edit : {firstEdit, thirdEdit}) {
        SendMessageA(edit, WM_KEYDOWN, VK_END, 0);
        SendMessageA(edit, WM_CHAR, '!', 1);
    }
    ASSERT_TRUE(WaitFor([&] {
        auto r = app.ReadRows(w.list);
        return r.size() == 3 && r[0].text == "one!" && r[2].text == "three!";
    }, 5000));
    SendMessageA(w.hwnd, WM_COMMAND, kHideAll, 0);
    ASSERT_TRUE(WaitForEveryVis(app, w, 2));
    auto rows = app.ReadRows(w.list);
    ASSERT_EQ(rows.size(), 3u);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(rows[row].selected, row == 1) << "row " << row;

    ASSERT_TRUE(E2eDriver::ClickChildAt(w.hwnd, 19 + 10, 164 + 8));
    rows = app.ReadRows(w.list);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "one!");
    EXPECT_EQ(rows[1].text, "three!");
}

TEST(MainWindowE2e, MissingSkinIsReportedOnceAndTheProgramEnds)
{
    E2eDriver app(false);
    ASSERT_TRUE(app.Start());
    HWND box = app.WaitForWindow("Error", 15000, "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(E2eDriver::MessageBoxText(box), "Can not load skin files!");
    E2eDriver::Dismiss(box);
    EXPECT_TRUE(app.WaitForExit(10000));
    EXPECT_EQ(app.ReadFile("notes.dat"), (std::vector<uint8_t>{0, 1, 0, 0, 0, 0}));
}

TEST(MainWindowE2e, ColumnWidthsPersistAcrossARestart)
{
    E2eDriver app;
    ASSERT_TRUE(app.Start());
    MainWindow w = WaitForMainWindow(app);
    ASSERT_NE(w.list, nullptr);
    SendMessageA(w.list, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(120, 0));
    SendMessageA(w.list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(80, 0));
    app.Stop();
    EXPECT_EQ(GetPrivateProfileIntA("List", "Col2Width", -1, app.PathOf("Velumo.ini").c_str()), 120);

    ASSERT_TRUE(app.Start());
    w = WaitForMainWindow(app);
    ASSERT_NE(w.list, nullptr);
    EXPECT_EQ(SendMessageA(w.list, LVM_GETCOLUMNWIDTH, 2, 0), 120);
    EXPECT_EQ(SendMessageA(w.list, LVM_GETCOLUMNWIDTH, 0, 0), 36);
}

TEST(MainWindowE2e, TextOutsideTheCodePageSurvivesARestartInAGreekFolder)
{
    E2eDriver app;
    // The notes file in a folder named in Greek, given on the command line.
    const std::string folder = Utf8FromUtf16(u"\u03A3\u03B7\u03BC\u03B5\u03B9\u03CE\u03C3\u03B5\u03B9\u03C2");
    const std::u16string folderWide = Utf16FromUtf8(app.PathOf(folder));
    ASSERT_TRUE(CreateDirectoryW(reinterpret_cast<const wchar_t*>(folderWide.c_str()), nullptr));
    const std::string notes = folder + "\\notes.dat";
    ASSERT_TRUE(app.Start("\"" + app.PathOf(notes) + "\""));
    MainWindow w = WaitForMainWindow(app);
    ASSERT_NE(w.hwnd, nullptr);
    ASSERT_TRUE(app.FileExists(notes));

    const auto isNote = [](HWND hwnd) {
        char cls[64] = {};
        GetClassNameA(hwnd, cls, sizeof cls);
        return std::string(cls) == "VelumoNoteWnd";
    };
    SendMessageA(w.hwnd, WM_COMMAND, kAddNote, 0);
    HWND note = app.WaitForWindowWhere(isNote, 5000);
    ASSERT_NE(note, nullptr);
    HWND edit = GetDlgItem(note, 1016);
    ASSERT_NE(edit, nullptr);

    // Typed through the program's own message loop: Polish, Greek, an emoji.
    const std::u16string typed = u"\u0141\u0106 \u0393\u03B5\u03B9\u03AC \U0001F600";
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (char16_t c : typed)
        PostMessageW(edit, WM_CHAR, c, 1);
    ASSERT_TRUE(WaitFor([&] { return E2eDriver::ControlText(edit) == typed; }, 5000))
        << Utf8FromUtf16(E2eDriver::ControlText(edit));
    app.Stop();  // the final save

    auto saved = ParseNotes(app.ReadFile(notes));
    ASSERT_TRUE(saved && saved->m_nCount == 1);
    EXPECT_EQ(saved->GetAt(0)->m_strText, typed);

    ASSERT_TRUE(app.Start("\"" + app.PathOf(notes) + "\""));
    note = app.WaitForWindowWhere(isNote, 15000);
    ASSERT_NE(note, nullptr);
    // The window shows before its text is put in: the text is waited for.
    EXPECT_TRUE(WaitFor([&] {
        edit = GetDlgItem(note, 1016);
        return E2eDriver::ControlText(edit) == typed;
    }, 5000)) << Utf8FromUtf16(E2eDriver::ControlText(edit));
    const auto rows = app.ReadRows(WaitForMainWindow(app).list);
    ASSERT_EQ(rows.size(), 1u);
}
