// "Restore from a backup" on real files: the dialog lists the backups with
// their note counts, and the question decides whether anything changes.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "ScriptedDialog.h"
#include "WinTestUtil.h"
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
    wchar_t text[128] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return Utf8FromWide(text);
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
        auto damaged = FileOfOneNote(u"sixth");
        damaged.pop_back();
        ASSERT_TRUE(WriteWholeFile(folder.Path("Backups\\notes-2026-12-06.dat"), damaged));
        CNoteList notes;
        ASSERT_TRUE(notes.Load(notesPath));
        notes.SetClock([] { return *FromLocal(2026, 12, 8, 10, 0, 0); });
        notes.GetAt(0)->m_strText = u"unsaved";
        notes.m_bModified = 1;

        // The newest row, damaged, comes selected with Restore greyed; the
        // user picks the second row and clicks Restore.
        ScriptedDialog<CBackupsDlg> dialog;
        std::vector<std::string> shown;
        dialog.steps = {
            [&](HWND dlg) {
                HWND list = GetDlgItem(dlg, IDC_BACKUP_LIST);
                for (int r = 0; r < ListView_GetItemCount(list); ++r)
                    shown.push_back(CellText(list, r, 0) + " | " + CellText(list, r, 1));
                shown.push_back(IsWindowEnabled(GetDlgItem(dlg, IDOK)) ? "Restore enabled" : "Restore greyed");
                ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            },
            [](HWND dlg) { SendMessageW(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0); },
        };
        MessageBoxCloser closer([&](const MessageBoxCloser::Seen&) { return answer; });

        EXPECT_EQ(RestoreFromBackup(nullptr, notes, dialog), yes);

        EXPECT_EQ(shown, (std::vector<std::string>{"6 December 2026 | cannot be read", "5 December 2026 | 1 note",
                                                   "1 December 2026 | 1 note", "Restore greyed"}));
        const auto boxes = closer.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Velumo");
        EXPECT_EQ(boxes[0].text.rfind("Bring back the notes of 5 December 2026 (1 note)?", 0), 0u) << boxes[0].text;
        EXPECT_EQ(notes.GetAt(0)->m_strText, yes ? u"fifth" : u"unsaved");
        EXPECT_EQ(notes.m_strPath, notesPath);
        EXPECT_EQ(TextOfFile(notesPath), yes ? u"fifth" : u"saved");
        EXPECT_EQ(TextOfFile(folder.Path("Backups\\notes-2026-12-08.dat")), yes ? u"unsaved" : u"(missing)")
            << "the notes as they were are kept first";
    }
}
