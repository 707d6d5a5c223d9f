#pragma once
// Daily backups of the notes file, in a folder "Backups" beside it. The first
// save of each local day first keeps the file as it stood, so a text
// overwritten by mistake can be brought back from an earlier day; a restore
// first keeps the notes as they are, so the restore can be taken back.
//
// A backup is named for the day it was kept: notes-2026-12-08.dat is the
// daily one, holding the notes as they were before the first save of
// 8 December 2026. Those kept before a restore are numbered from 2:
// notes-2026-12-08 (2).dat and so on, so the name tells the two apart, and
// day and number together give the order in which backups of a day were
// kept. The time of day is the file's own. Only the newest kBackupsKept are
// kept; files of other names are never touched.
//
// Every file operation goes through the notes-file store, and every backup is
// written the way the notes file is saved (temporary file, then replace), so
// a kill during a backup leaves the old backups and the notes file whole.
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CNoteList;
class INoteFileStore;

constexpr size_t kBackupsKept = 14;

// What a backup's file name says: the local day it was kept and, for one
// kept before a restore, its number within the day.
struct BackupName {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int copy = 1;   // 1: the daily backup
    auto operator<=>(const BackupName&) const = default;
    bool IsDaily() const { return copy == 1; }
};

std::string BackupFileName(const BackupName& name);
// Empty for any name the program would not have written (another file in the
// folder, a leftover temporary file, an impossible date).
std::optional<BackupName> ParseBackupFileName(std::string_view fileName);
// "Backups" beside the notes file.
std::string BackupFolderOf(const std::string& notesPath);
// The path of a file in the backups folder of the notes file.
std::string BackupPathOf(const std::string& notesPath, const std::string& fileName);
// Of the names in the backups folder, the backups beyond the newest `keep`:
// oldest first. Backups dated after today (kept while the clock was wrong)
// neither count nor go: they never push out the days up to today.
std::vector<std::string> BackupsToPrune(std::span<const std::string> fileNames, const BackupName& today,
                                        size_t keep = kBackupsKept);
// Removes the temporary files of backups that a kill cut off.
void RemoveLeftoverBackupTemporaries(INoteFileStore& store, const std::string& notesPath);
// The name a backup kept before a restore on the given day takes: one past
// the highest number of that day, 2 at least (the plain name is the daily
// backup's, kept or still to come).
BackupName NextBackupName(std::span<const std::string> fileNames, int year, int month, int day);
// The local day of a moment as the name of that day's daily backup; empty
// for moments the runtime cannot read (before 1970).
std::optional<BackupName> DailyBackupNameAt(int64_t now);

// One backup as the restore dialog shows it.
struct BackupEntry {
    std::string path;
    BackupName name;
    int noteCount = -1;              // -1: the file cannot be read as a notes file
    std::optional<int64_t> keptAt;  // the file's last write; empty when unknown
};
// Every backup of the notes file, newest first, each read through to count
// its notes.
std::vector<BackupEntry> ListBackups(INoteFileStore& store, const std::string& notesPath);

// Keeps the given content of the notes file as a backup kept before a
// restore on the day of now; false when it could not be written. Older
// backups beyond the limit go.
bool KeepBackup(INoteFileStore& store, const std::string& notesPath, std::span<const uint8_t> content,
                int64_t now);

enum class RestoreResult {
    kRestored,          // the list holds the backup's notes; the file follows
    kCurrentNotKept,    // nothing changed: the current notes could not be kept first
    kBackupUnreadable,  // nothing changed, apart from the current notes kept as a backup
};
// Brings the backup's notes into the list after keeping the notes as they
// are now (unsaved changes included) as one more backup. The notes keep
// their ids; each one the restore changes takes now as its change. The list keeps its
// notes file and saves the restored notes into it at once; should that save
// fail, the list stays modified and the next save tries again.
RestoreResult RestoreBackup(CNoteList& notes, const std::string& backupPath, int64_t now);

// The message for a daily backup that could not be kept.
std::string BackupFailureText(const std::string& notesPath);

enum class BackupOutcome {
    kNotDue,
    kNothingToKeep,
    kKept,
    kFailed,    // could not be written: worth telling the user
    kFileBusy,  // the notes file could not be read; the next save tries again
};

// The daily backup of one notes file, asked before every save. It looks at
// the disk once per local day at most: later saves of the day cost one
// comparison.
class DailyBackup {
public:
    // Keeps the file at notesPath as today's backup when today has none yet.
    // A file holding no notes is not kept: it would bring nothing back.
    BackupOutcome BeforeSave(INoteFileStore& store, const std::string& notesPath, int64_t now);

private:
    // The local day of the last look at the disk: [start, next day's start).
    int64_t m_dayStart = INT64_MAX;
    int64_t m_nextDayStart = INT64_MIN;
};
