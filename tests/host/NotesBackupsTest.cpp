// Daily backups of the notes file: their names, one a day with the last 14
// kept, a failing backup that never stops the save, and the restore.
#include <gtest/gtest.h>

#include "MemoryNoteStore.h"
#include "TrailerBytes.h"
#include "notes/CNoteList.h"
#include "notes/NotesBackups.h"
#include "core/LocalTime.h"

namespace {

const std::string kNotes = "C:\\Notes\\notes.dat";
const std::string kFolder = "C:\\Notes\\Backups";

std::u16string TextsOf(CNoteList& list)
{
    std::u16string texts;
    for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        texts += list.GetAt(p)->m_strText + u";";
    return texts;
}

// A notes file of one note with this text, loaded, in a store of its own;
// the list's clock reads now, a December morning.
struct OneNoteFile {
    explicit OneNoteFile(const std::u16string& text)
    {
        list.SetFileStore(&store);
        list.SetClock([this] { return now; });
        list.Add(std::make_unique<CNote>());
        list.GetAt(0)->m_strText = text;
        store.files[kNotes] = list.StoreToBytes();
        EXPECT_TRUE(list.Load(kNotes));
        now = *FromLocal(2026, 12, 8, 10, 0, 0);
    }
    OneNoteFile(const OneNoteFile&) = delete;

    // The texts of the notes file at path, or "(unreadable)".
    std::u16string TextsIn(const std::string& path)
    {
        CNoteList read;
        read.SetFileStore(&store);
        return store.Exists(path) && read.Load(path) ? TextsOf(read) : u"(unreadable)";
    }
    void Type(const std::u16string& text)
    {
        list.GetAt(0)->m_strText = text;
        list.m_bModified = 1;
    }

    MemoryNoteStore store;
    CNoteList list;
    int64_t now = 0;
};

}  // namespace

TEST(NotesBackups, NamesReadBackOnlyAsTheProgramWritesThem)
{
    const std::pair<const char*, std::optional<BackupName>> rows[] = {
        {"notes-2024-02-29.dat", BackupName{2024, 2, 29, 1}},
        {"notes-2026-01-31 (117).dat", BackupName{2026, 1, 31, 117}},
        {"notes-2025-02-29.dat", std::nullopt},
        {"notes-2026-13-01.dat", std::nullopt},
        {"notes-2026-1-10.dat", std::nullopt},
        {"notes-2026-12-08 (1).dat", std::nullopt},
        {"notes-2026-12-08 (02).dat", std::nullopt},
        {"notes-2026-12-08 (-3).dat", std::nullopt},
        {"notes-2026-12-08.dat.new", std::nullopt},
        {"notes.dat", std::nullopt},
    };
    for (const auto& [name, parsed] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ParseBackupFileName(name), parsed);
        EXPECT_EQ(parsed ? BackupFileName(*parsed) : name, name);
    }
    EXPECT_EQ(BackupPathOf(kNotes, "x.dat"), kFolder + "\\x.dat");
    EXPECT_EQ(BackupPathOf("/home/a/notes.dat", "x.dat"), "/home/a/Backups/x.dat");
}

// A month of days, some skipped, with several saves a day: each day with a
// save gets one backup, holding the notes as the day began, and only the
// last 14 stay. Runs through the spring change of daylight saving.
TEST(NotesBackups, OneCopyOnTheFirstSaveOfEachDayAndTheLast14Kept)
{
    OneNoteFile f(u"February");
    std::vector<std::string> expected;  // oldest first
    std::u16string dayBegan = u"February;";
    for (int day = 1; day <= 31; ++day) {
        if (day % 7 == 3)
            continue;  // Velumo not run that day
        SCOPED_TRACE("March " + std::to_string(day));
        const int writesBefore = f.store.writes;
        for (int hour : {0, 9, 23}) {
            f.now = *FromLocal(2026, 3, day, hour, 0, 0);
            f.Type(u"March " + std::u16string(1, char16_t(u'A' + day)) + char16_t(u'0' + hour % 10));
            ASSERT_TRUE(f.list.Save());
        }
        EXPECT_EQ(f.store.writes - writesBefore, 4) << "three saves and one backup";
        expected.push_back(BackupFileName({2026, 3, day, 1}));
        if (expected.size() > kBackupsKept)
            expected.erase(expected.begin());
        EXPECT_EQ(f.store.ListFiles(kFolder), expected);
        EXPECT_EQ(f.TextsIn(kFolder + "\\" + expected.back()), dayBegan);
        dayBegan = TextsOf(f.list);
    }
    EXPECT_FALSE(f.list.TakeBackupFailure());
}

// A clock once set years ahead left backups dated in the future: they stay,
// and never push out the backups of the days up to today, today's first.
TEST(NotesBackups, BackupsDatedInTheFutureNeverPushTodaysOut)
{
    struct Row {
        const char* label;
        int futureDays;     // backups dated after today, from tomorrow on
        int earlierDays;    // daily backups before today, up to yesterday
        int keptUpToToday;  // backups of days up to today once today's is kept
    };
    const Row rows[] = {
        {"fourteen in the future", 14, 0, 1},
        {"fourteen in the future, twenty before", 14, 20, static_cast<int>(kBackupsKept)},
        {"none in the future, twenty before", 0, 20, static_cast<int>(kBackupsKept)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        OneNoteFile f(u"kept");
        const auto backupOf = [&](int day) {
            const auto name = DailyBackupNameAt(*FromLocal(2026, 12, 8 + day, 12, 0, 0));
            return kFolder + "\\" + BackupFileName(*name);
        };
        for (int day = 1; day <= row.futureDays; ++day)
            f.store.files[backupOf(day)] = f.store.files[kNotes];
        for (int day = 1; day <= row.earlierDays; ++day)
            f.store.files[backupOf(-day)] = f.store.files[kNotes];

        f.Type(u"changed today");
        ASSERT_TRUE(f.list.Save());
        EXPECT_TRUE(f.store.Exists(backupOf(0))) << "today's backup stays";
        EXPECT_EQ(f.store.ListFiles(kFolder).size(), static_cast<size_t>(row.futureDays + row.keptUpToToday));
        for (int day = 1; day <= row.futureDays; ++day)
            EXPECT_TRUE(f.store.Exists(backupOf(day))) << "a future one is no older one";
    }
}

TEST(NotesBackups, AFailedBackupIsToldOnceAndNeverStopsTheSave)
{
    struct Row {
        const char* label;
        bool failFolders, emptyFile, fileHeldAtFirstSave, told;
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
        OneNoteFile f(u"kept");
        if (row.emptyFile)
            f.store.files[kNotes] = {0, 1, 0, 0, 0, 0};
        f.store.failFolders = row.failFolders;
        for (int save = 0; save < 3; ++save) {
            f.now += 5;
            f.store.failReads = row.fileHeldAtFirstSave && save == 0;
            f.Type(u"saved " + std::u16string(1, char16_t(u'0' + save)));
            EXPECT_TRUE(f.list.Save());
            EXPECT_EQ(f.list.TakeBackupFailure(), row.told && save == 0) << "save " << save;
        }
        f.store.failReads = false;
        EXPECT_EQ(f.TextsIn(kNotes), u"saved 2;");
        EXPECT_EQ(f.store.writeAttempts, row.writeAttempts) << "no backup tried again once it was kept or failed";
        EXPECT_EQ(f.store.ListFiles(kFolder).size(), row.backups);
    }
}

TEST(NotesBackups, RestoreKeepsTheNotesAsTheyAreFirst)
{
    CNoteList old;
    old.Add(std::make_unique<CNote>());
    old.GetAt(0)->m_strText = u"old";
    const std::vector<uint8_t> good = old.StoreToBytes();
    struct Row {
        const char* label;
        std::vector<uint8_t> chosen;
        int olderBackups;  // all kept before the chosen one, to the limit
        bool failWrites;
        RestoreResult result;
    };
    const Row rows[] = {
        {"good backup", good, 0, false, RestoreResult::kRestored},
        {"the oldest of 14, which keeping the current notes would prune", good, 13, false, RestoreResult::kRestored},
        {"damaged backup", {good.begin(), good.begin() + static_cast<long>(RecordsEnd(good)) - 3}, 0, false,
         RestoreResult::kBackupUnreadable},
        {"current notes cannot be kept", good, 0, true, RestoreResult::kCurrentNotKept},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        OneNoteFile f(u"saved");
        const std::string chosen = kFolder + "\\notes-2026-11-01.dat";
        f.store.files[chosen] = row.chosen;
        for (int day = 2; day < 2 + row.olderBackups; ++day)
            f.store.files[kFolder + "\\" + BackupFileName({2026, 11, day, 1})] = good;
        f.store.failWrites = row.failWrites;
        f.Type(u"unsaved");
        f.store.clock = f.now;

        EXPECT_EQ(RestoreBackup(f.list, chosen, f.now), row.result);

        const bool restored = row.result == RestoreResult::kRestored;
        EXPECT_EQ(f.list.m_strPath, kNotes);
        EXPECT_EQ(TextsOf(f.list), restored ? u"old;" : u"unsaved;");
        EXPECT_EQ(f.list.m_bModified, restored ? 0u : 1u) << "an unsaved change is still to be saved";
        EXPECT_EQ(f.TextsIn(kNotes), restored ? u"old;" : u"saved;") << "the file follows at once";
        const bool kept = row.result != RestoreResult::kCurrentNotKept;
        EXPECT_EQ(f.TextsIn(kFolder + "\\notes-2026-12-08 (2).dat"), kept ? u"unsaved;" : u"(unreadable)");
        // The restore's save is the day's first: the daily backup is the file as it was.
        EXPECT_EQ(f.TextsIn(kFolder + "\\notes-2026-12-08.dat"), restored ? u"saved;" : u"(unreadable)");
        const auto listed = ListBackups(f.store, kNotes);
        if (kept) {
            ASSERT_FALSE(listed.empty());
            EXPECT_EQ(listed[0].name, (BackupName{2026, 12, 8, 2}));
            EXPECT_FALSE(listed[0].name.IsDaily());
            EXPECT_EQ(listed[0].keptAt, f.now) << "the time of day is the file's";
        }
    }
}
