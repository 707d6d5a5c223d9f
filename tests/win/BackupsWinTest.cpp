// "Restore from a backup" on real files: the dialog lists the backups with
// when and why each was kept and their note counts, and the question decides
// whether anything changes.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "ScriptedDialog.h"
#include "TrailerBytes.h"
#include "WinTestUtil.h"
#include "framework/UserDateTime.h"
#include "mainwnd/CBackupsDlg.h"
#include "notes/CNoteList.h"
#include "res/resource.h"
#include "core/LocalTime.h"

namespace {

std::vector<uint8_t> FileOfOneNote(const std::u16string& text)
{
    CNoteList list;
    list.Add(std::make_unique<CNote>());
    list.GetAt(0)->m_strText = text;
    return list.StoreToBytes();
}

std::u16string TextOfFile(const std::string& path)
{
    // Loading would make a missing file.
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return u"(missing)";
    CNoteList list;
    if (!list.Load(path) || list.m_nCount != 1)
        return u"(not one note)";
    return list.GetAt(0)->m_strText;
}

std::string CellText(HWND list, int row, int column)
{
    return Utf8FromWide(ListCell(list, row, column));
}

// Gives a file the time of its last write, as a backup kept then has.
void SetWrittenAt(const std::string& path, int64_t t)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const uint64_t ticks = static_cast<uint64_t>(t + 11644473600) * 10000000;
    const FILETIME written{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
}

}  // namespace

TEST(BackupsWin, RestoreBringsBackTheChosenBackupOnlyWhenTheUserAgrees)
{
    for (const int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        const bool yes = answer == IDYES;
        TempFolder folder;
        const std::string notesPath = folder.Path("notes.dat");
        ASSERT_TRUE(WriteWholeFile(notesPath, FileOfOneNote(u"saved")));
        ASSERT_TRUE(CreateDirectoryA(folder.Path("Backups").c_str(), nullptr));
        ASSERT_TRUE(WriteWholeFile(folder.Path("Backups\\notes-2026-12-01.dat"), FileOfOneNote(u"first")));
        ASSERT_TRUE(WriteWholeFile(folder.Path("Backups\\notes-2026-12-05.dat"), FileOfOneNote(u"fifth")));
        ASSERT_TRUE(WriteWholeFile(folder.Path("Backups\\notes-2026-12-05 (2).dat"), FileOfOneNote(u"later")));
        auto damaged = FileOfOneNote(u"sixth");
        damaged.resize(RecordsEnd(damaged) - 1);
        ASSERT_TRUE(WriteWholeFile(folder.Path("Backups\\notes-2026-12-06.dat"), damaged));
        // Two of one day, told apart by the time of day; the first of
        // December's file names another day, as a copy may.
        const int64_t morning = *FromLocal(2026, 12, 5, 9, 30, 0), evening = *FromLocal(2026, 12, 5, 17, 45, 0);
        const int64_t sixth = *FromLocal(2026, 12, 6, 8, 0, 0);
        SetWrittenAt(folder.Path("Backups\\notes-2026-12-05.dat"), morning);
        SetWrittenAt(folder.Path("Backups\\notes-2026-12-05 (2).dat"), evening);
        SetWrittenAt(folder.Path("Backups\\notes-2026-12-06.dat"), sixth);
        SetWrittenAt(folder.Path("Backups\\notes-2026-12-01.dat"), *FromLocal(2026, 11, 30, 23, 0, 0));
        CNoteList notes;
        ASSERT_TRUE(notes.Load(notesPath));
        notes.SetClock([] { return *FromLocal(2026, 12, 8, 10, 0, 0); });
        notes.GetAt(0)->m_strText = u"unsaved";
        notes.m_bModified = 1;

        // The newest row, damaged, comes selected with Restore greyed; the
        // user picks the morning's backup and clicks Restore.
        ScriptedDialog<CBackupsDlg> dialog;
        std::vector<std::string> shown;
        dialog.steps = {
            [&](HWND dlg) {
                HWND list = GetDlgItem(dlg, IDC_BACKUP_LIST);
                for (int r = 0; r < ListView_GetItemCount(list); ++r)
                    shown.push_back(CellText(list, r, 0) + " | " + CellText(list, r, 1) + " | " + CellText(list, r, 2));
                shown.push_back(IsWindowEnabled(GetDlgItem(dlg, IDOK)) ? "Restore enabled" : "Restore greyed");
                ListView_SetItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            },
            [](HWND dlg) { SendMessageW(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0); },
        };
        MessageBoxCloser closer([&](const MessageBoxCloser::Seen&) { return answer; });

        EXPECT_EQ(RestoreFromBackup(nullptr, notes, dialog), yes);

        const auto when = [](int64_t t) { return Utf8FromWide(UserDateTimeText(t)); };
        EXPECT_EQ(shown, (std::vector<std::string>{when(sixth) + " | Daily | cannot be read",
                                                   when(evening) + " | Before a restore | 1 note",
                                                   when(morning) + " | Daily | 1 note",
                                                   Utf8FromWide(UserDateText(2026, 12, 1)) + " | Daily | 1 note",
                                                   "Restore greyed"}));
        EXPECT_NE(when(morning), when(evening));
        const auto boxes = closer.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Velumo");
        EXPECT_EQ(boxes[0].text.rfind("Bring back the notes of " + when(morning) + " (1 note)?", 0), 0u)
            << boxes[0].text;
        EXPECT_EQ(notes.GetAt(0)->m_strText, yes ? u"fifth" : u"unsaved");
        EXPECT_EQ(notes.m_strPath, notesPath);
        EXPECT_EQ(TextOfFile(notesPath), yes ? u"fifth" : u"saved");
        EXPECT_EQ(TextOfFile(folder.Path("Backups\\notes-2026-12-08 (2).dat")), yes ? u"unsaved" : u"(missing)")
            << "the notes as they were are kept first";
    }
}
