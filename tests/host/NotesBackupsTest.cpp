// Daily backups of the notes file: their names, one a day with the last 14
// kept, a failing backup that never stops the save, and the restore.
#include <gtest/gtest.h>

#include "MemoryNoteStore.h"
#include "notes/CNoteList.h"
#include "notes/NotesBackups.h"
#include "schedule/LocalTime.h"

namespace {

const std::string kNotes = "C:\\Notes\\notes.dat";
const std::string kFolder = "C:\\Notes\\Backups";

int64_t LocalAt(int year, int month, int day, int hour)
{
    return *FromLocal(year, month, day, hour, 0, 0);
}

std::u16string TextsOf(const std::vector<uint8_t>& bytes)
{
    MemoryNoteStore store;
    store.files["f"] = bytes;
    CNoteList list;
    list.SetFileStore(&store);
    if (!list.Load("f"))
        return u"(unreadable)";
    std::u16string texts;
    for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        texts += list.GetAt(p)->m_strText + u";";
    return texts;
}

// A notes file of one note with this text, loaded into list through store.
void StartWith(CNoteList& list, MemoryNoteStore& store, const std::u16string& text, int64_t& now)
{
    list.SetFileStore(&store);
    list.SetClock([&now] { return now; });
    list.Add(std::make_unique<CNote>());
    list.GetAt(0)->m_strText = text;
    store.files[kNotes] = list.StoreToBytes();
    ASSERT_TRUE(list.Load(kNotes));
}

void Type(CNoteList& list, const std::u16string& text)
{
    list.GetAt(0)->m_strText = text;
    list.m_bModified = 1;
}

}  // namespace

TEST(NotesBackups, NamesReadBackOnlyAsTheProgramWritesThem)
{
    struct Row {
        const char* name;
        std::optional<BackupName> parsed;
    };
    const Row rows[] = {
        {"notes-2026-12-08.dat", BackupName{2026, 12, 8, 1}},
        {"notes-2024-02-29.dat", BackupName{2024, 2, 29, 1}},
        {"notes-2026-01-31 (2).dat", BackupName{2026, 1, 31, 2}},
        {"notes-2026-01-31 (117).dat", BackupName{2026, 1, 31, 117}},
        {"notes-2025-02-29.dat", std::nullopt},
        {"notes-2026-13-01.dat", std::nullopt},
        {"notes-2026-00-10.dat", std::nullopt},
        {"notes-2026-1-10.dat", std::nullopt},
        {"notes-2026-12-08 (1).dat", std::nullopt},
        {"notes-2026-12-08 (02).dat", std::nullopt},
        {"notes-2026-12-08 ().dat", std::nullopt},
        {"notes-2026-12-08 (-3).dat", std::nullopt},
        {"notes-2026-12-08.dat.new", std::nullopt},
        {"notes-2026-12-08.txt", std::nullopt},
        {"notes-2026-12-08x.dat", std::nullopt},
        {"notes.dat", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ParseBackupFileName(row.name), row.parsed);
        if (row.parsed) {
            EXPECT_EQ(BackupFileName(*row.parsed), row.name);
        }
    }
    EXPECT_EQ(BackupPathOf(kNotes, "x.dat"), kFolder + "\\x.dat");
    EXPECT_EQ(BackupPathOf("/home/a/notes.dat", "x.dat"), "/home/a/Backups/x.dat");
    EXPECT_EQ(BackupPathOf("notes.dat", "x.dat"), "Backups/x.dat");
}

// A month of days, some skipped, with several saves a day: each day with a
// save gets one backup, holding the notes as the day began, and only the
// last 14 stay. Runs through the spring change of daylight saving.
TEST(NotesBackups, OneCopyOnTheFirstSaveOfEachDayAndTheLast14Kept)
{
    MemoryNoteStore store;
    CNoteList list;
    int64_t now = 0;
    StartWith(list, store, u"before March", now);
    std::vector<std::string> expected;  // oldest first
    std::u16string lastSaved = u"before March";
    for (int day = 1; day <= 31; ++day) {
        if (day % 7 == 3)
            continue;  // Velumo not run that day
        SCOPED_TRACE("March " + std::to_string(day));
        const int writesBefore = store.writes;
        for (int hour : {0, 9, 23}) {
            now = LocalAt(2026, 3, day, hour);
            Type(list, u"March " + std::u16string(1, char16_t(u'A' + day)) + char16_t(u'0' + hour % 10));
            ASSERT_TRUE(list.Save());
        }
        EXPECT_EQ(store.writes - writesBefore, 4) << "three saves and one backup";
        char name[32];
        std::snprintf(name, sizeof name, "notes-2026-03-%02d.dat", day);
        expected.push_back(name);
        if (expected.size() > kBackupsKept)
            expected.erase(expected.begin());
        std::vector<std::string> kept = store.ListFiles(kFolder);
        EXPECT_EQ(kept, expected);
        EXPECT_EQ(TextsOf(store.files[kFolder + "\\" + name]), lastSaved + u";");
        lastSaved = list.GetAt(0)->m_strText;
    }
    EXPECT_FALSE(list.TakeBackupFailure());
}

TEST(NotesBackups, AFailedBackupIsToldOnceAndNeverStopsTheSave)
{
    struct Row {
        const char* label;
        bool failFolders;
        bool emptyFile;
        bool fileHeldAtFirstSave;
        bool told;
        size_t backups;
        int writeAttempts;  // saves and backups
    };
    const Row rows[] = {
        {"read-only folder", true, false, false, true, 0, 3},
        {"a file with no notes needs no backup", false, true, false, false, 0, 3},
        // The failing save tells of it; the backup waits for the file.
        {"notes file held by another program", false, false, true, false, 1, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        MemoryNoteStore store;
        CNoteList list;
        int64_t now = LocalAt(2026, 12, 8, 10);
        StartWith(list, store, u"kept", now);
        if (row.emptyFile)
            store.files[kNotes] = {0, 1, 0, 0, 0, 0};
        store.failFolders = row.failFolders;
        for (int save = 0; save < 3; ++save) {
            now += 5;
            store.failReads = row.fileHeldAtFirstSave && save == 0;
            Type(list, u"saved " + std::u16string(1, char16_t(u'0' + save)));
            EXPECT_TRUE(list.Save());
            EXPECT_EQ(TextsOf(store.files[kNotes]), list.GetAt(0)->m_strText + u";");
            EXPECT_EQ(list.TakeBackupFailure(), row.told && save == 0) << "save " << save;
        }
        EXPECT_EQ(store.writeAttempts, row.writeAttempts) << "no backup tried again once it was kept or failed";
        EXPECT_EQ(store.ListFiles(kFolder).size(), row.backups);
    }
}

TEST(NotesBackups, RestoreKeepsTheNotesAsTheyAreFirst)
{
    struct Row {
        const char* label;
        std::vector<uint8_t> backup;  // empty: the 14 daily backups' oldest
        bool failWrites;
        RestoreResult result;
        std::u16string listAfter;
    };
    CNoteList old;
    old.Add(std::make_unique<CNote>());
    old.GetAt(0)->m_strText = u"from the backup";
    std::vector<uint8_t> good = old.StoreToBytes();
    std::vector<uint8_t> truncated(good.begin(), good.end() - 3);
    const Row rows[] = {
        {"good backup", good, false, RestoreResult::kRestored, u"from the backup;"},
        {"oldest of 14 backups, which the keeping would prune", {}, false, RestoreResult::kRestored,
         u"from the backup;"},
        {"damaged backup", truncated, false, RestoreResult::kBackupUnreadable, u"unsaved;"},
        {"current notes cannot be kept", good, true, RestoreResult::kCurrentNotKept, u"unsaved;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        MemoryNoteStore store;
        CNoteList list;
        int64_t now = LocalAt(2026, 12, 8, 10);
        StartWith(list, store, u"saved", now);
        std::string chosen = kFolder + "\\notes-2026-12-01.dat";
        if (row.backup.empty()) {
            for (int day = 1; day <= 14; ++day)
                store.files[kFolder + "\\" + BackupFileName({2026, 11, day, 1})] = good;
            chosen = kFolder + "\\notes-2026-11-01.dat";
        } else {
            store.files[chosen] = row.backup;
        }
        store.folders.insert(kFolder);
        store.failWrites = row.failWrites;
        Type(list, u"unsaved");
        const auto backupsBefore = store.ListFiles(kFolder).size();

        EXPECT_EQ(RestoreBackup(list, chosen, now), row.result);

        EXPECT_EQ(list.m_strPath, kNotes);
        std::u16string listTexts;
        for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            listTexts += list.GetAt(p)->m_strText + u";";
        EXPECT_EQ(listTexts, row.listAfter);
        const std::string keptNow = kFolder + "\\notes-2026-12-08.dat";
        if (row.result == RestoreResult::kRestored) {
            EXPECT_EQ(TextsOf(store.files[kNotes]), row.listAfter) << "the file follows at once";
            EXPECT_FALSE(list.m_bModified);
        } else {
            EXPECT_EQ(TextsOf(store.files[kNotes]), u"saved;");
            EXPECT_TRUE(list.m_bModified) << "the unsaved change is still to be saved";
        }
        if (row.result == RestoreResult::kCurrentNotKept) {
            EXPECT_EQ(store.ListFiles(kFolder).size(), backupsBefore);
        } else {
            EXPECT_EQ(TextsOf(store.files[keptNow]), u"unsaved;");
            EXPECT_TRUE(store.Exists(chosen) || row.result == RestoreResult::kRestored);
            EXPECT_LE(store.ListFiles(kFolder).size(), kBackupsKept + 1);
        }
    }
}
