#include "notes/NotesBackups.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "notes/CNoteList.h"
#include "notes/NoteFileStore.h"
#include "core/LocalTime.h"

namespace {

constexpr std::string_view kPrefix = "notes-";
constexpr std::string_view kExtension = ".dat";

// A run of decimal digits as a number; empty when any character is not a
// digit (no sign, no spaces).
std::optional<int> DigitsOf(std::string_view text)
{
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::vector<BackupName> ParsedNames(std::span<const std::string> fileNames)
{
    std::vector<BackupName> names;
    for (const std::string& fileName : fileNames)
        if (const auto name = ParseBackupFileName(fileName))
            names.push_back(*name);
    return names;
}

// A notes file whose count says no notes: there is nothing to bring back.
bool HoldsNoNotes(std::span<const uint8_t> content)
{
    return content.size() >= 6 && content[4] == 0 && content[5] == 0;
}

// Drops the backups beyond the limit, and what a backup cut off by a kill
// left behind. spare is never removed: the backup a restore is reading.
void Prune(INoteFileStore& store, const std::string& notesPath, const BackupName& today, const std::string& spare)
{
    const std::vector<std::string> fileNames = store.ListFiles(BackupFolderOf(notesPath));
    for (const std::string& name : BackupsToPrune(fileNames, today)) {
        const std::string path = BackupPathOf(notesPath, name);
        if (path != spare)
            store.RemoveFile(path);
    }
    RemoveLeftoverBackupTemporaries(store, notesPath);
}

// today: the day of the write, by which the backups are pruned.
bool WriteBackup(INoteFileStore& store, const std::string& notesPath, const BackupName& name,
                 const BackupName& today, std::span<const uint8_t> content, const std::string& spare = {})
{
    if (!store.MakeFolder(BackupFolderOf(notesPath)) ||
        !store.ReplaceAll(BackupPathOf(notesPath, BackupFileName(name)), content))
        return false;
    Prune(store, notesPath, today, spare);
    return true;
}

bool KeepBackupSparing(INoteFileStore& store, const std::string& notesPath, std::span<const uint8_t> content,
                       int64_t now, const std::string& spare)
{
    const auto today = DailyBackupNameAt(now);
    if (!today)
        return false;
    const auto fileNames = store.ListFiles(BackupFolderOf(notesPath));
    return WriteBackup(store, notesPath, NextBackupName(fileNames, today->year, today->month, today->day), *today,
                       content, spare);
}

}  // namespace

std::string BackupFileName(const BackupName& name)
{
    char text[48];
    if (name.copy > 1)
        std::snprintf(text, sizeof text, "notes-%04d-%02d-%02d (%d).dat", name.year, name.month, name.day, name.copy);
    else
        std::snprintf(text, sizeof text, "notes-%04d-%02d-%02d.dat", name.year, name.month, name.day);
    return text;
}

std::optional<BackupName> ParseBackupFileName(std::string_view fileName)
{
    // notes-YYYY-MM-DD.dat or notes-YYYY-MM-DD (N).dat, N from 2, no leading 0
    if (!fileName.starts_with(kPrefix) || !fileName.ends_with(kExtension))
        return std::nullopt;
    std::string_view rest = fileName.substr(kPrefix.size(), fileName.size() - kPrefix.size() - kExtension.size());
    if (rest.size() < 10 || rest[4] != '-' || rest[7] != '-')
        return std::nullopt;
    const auto year = DigitsOf(rest.substr(0, 4));
    const auto month = DigitsOf(rest.substr(5, 2));
    const auto day = DigitsOf(rest.substr(8, 2));
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month))
        return std::nullopt;
    BackupName name{*year, *month, *day, 1};
    rest.remove_prefix(10);
    if (rest.empty())
        return name;
    if (!rest.starts_with(" (") || !rest.ends_with(")") || rest.size() < 4 || rest[2] == '0')
        return std::nullopt;
    const auto copy = DigitsOf(rest.substr(2, rest.size() - 3));
    if (!copy || *copy < 2)
        return std::nullopt;
    name.copy = *copy;
    return name;
}

std::string BackupFolderOf(const std::string& notesPath)
{
    const size_t slash = notesPath.find_last_of("\\/");
    return slash == std::string::npos ? std::string("Backups") : notesPath.substr(0, slash + 1) + "Backups";
}

std::string BackupPathOf(const std::string& notesPath, const std::string& fileName)
{
    // The notes file's own separator: both work on Windows, only "/" on the host.
    const size_t slash = notesPath.find_last_of("\\/");
    const char separator = slash == std::string::npos ? '/' : notesPath[slash];
    return BackupFolderOf(notesPath) + separator + fileName;
}

std::vector<std::string> BackupsToPrune(std::span<const std::string> fileNames, const BackupName& today,
                                        size_t keep)
{
    // Up to the end of today: every backup of today counts, whatever its number.
    const BackupName endOfToday{today.year, today.month, today.day, INT32_MAX};
    std::vector<std::pair<BackupName, std::string>> backups;
    for (const std::string& fileName : fileNames)
        if (const auto name = ParseBackupFileName(fileName); name && *name <= endOfToday)
            backups.emplace_back(*name, fileName);
    std::sort(backups.begin(), backups.end());
    std::vector<std::string> pruned;
    for (size_t i = 0; i + keep < backups.size(); ++i)
        pruned.push_back(backups[i].second);
    return pruned;
}

void RemoveLeftoverBackupTemporaries(INoteFileStore& store, const std::string& notesPath)
{
    const std::string temporary = TemporaryPathOf("");
    for (const std::string& name : store.ListFiles(BackupFolderOf(notesPath))) {
        if (name.size() > temporary.size() && name.ends_with(temporary) &&
            ParseBackupFileName(std::string_view(name).substr(0, name.size() - temporary.size())))
            store.RemoveFile(BackupPathOf(notesPath, name));
    }
}

BackupName NextBackupName(std::span<const std::string> fileNames, int year, int month, int day)
{
    BackupName next{year, month, day, 2};
    for (const BackupName& name : ParsedNames(fileNames))
        if (name.year == year && name.month == month && name.day == day)
            next.copy = std::max(next.copy, name.copy + 1);
    return next;
}

std::optional<BackupName> DailyBackupNameAt(int64_t now)
{
    LocalDateTime local;
    if (!ToLocal(now, local))
        return std::nullopt;
    return BackupName{local.year, local.month, local.day, 1};
}

std::vector<BackupEntry> ListBackups(INoteFileStore& store, const std::string& notesPath)
{
    std::vector<BackupEntry> entries;
    for (const std::string& fileName : store.ListFiles(BackupFolderOf(notesPath))) {
        if (const auto name = ParseBackupFileName(fileName))
            entries.push_back({BackupPathOf(notesPath, fileName), *name, -1, std::nullopt});
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name > b.name; });
    // Read through, not just the count: a damaged backup shows as one.
    for (BackupEntry& entry : entries) {
        CNoteList probe;
        probe.SetFileStore(&store);
        if (probe.Load(entry.path))
            entry.noteCount = probe.m_nCount;
        entry.keptAt = store.WrittenAt(entry.path);
    }
    return entries;
}

bool KeepBackup(INoteFileStore& store, const std::string& notesPath, std::span<const uint8_t> content,
                int64_t now)
{
    return KeepBackupSparing(store, notesPath, content, now, {});
}

RestoreResult RestoreBackup(CNoteList& notes, const std::string& backupPath, int64_t now)
{
    INoteFileStore& store = notes.FileStore();
    const std::string notesPath = notes.m_strPath;
    // Loading a missing file would create it from the list.
    if (!store.Exists(backupPath))
        return RestoreResult::kBackupUnreadable;
    // The list, not the file: changes not saved yet are kept too. The backup
    // being restored is spared should the limit be reached.
    if (!KeepBackupSparing(store, notesPath, notes.StoreToBytes(), now, backupPath))
        return RestoreResult::kCurrentNotKept;
    const uint32_t modified = notes.m_bModified;
    // The notes keep their ids; those the restore changes count as changed
    // here and now, so that another computer takes them instead of keeping
    // its newer versions.
    if (!notes.LoadAsChange(backupPath, now)) {
        notes.m_bModified = modified;
        return RestoreResult::kBackupUnreadable;
    }
    notes.m_strPath = notesPath;
    notes.m_bModified = 1;
    notes.Save();
    return RestoreResult::kRestored;
}

std::string BackupFailureText(const std::string& notesPath)
{
    return "Today's backup of your notes could not be kept in\r\n" + BackupFolderOf(notesPath) +
           "\r\n\r\nThe folder may be read-only or the disk full. Saving your notes goes on as usual; "
           "the backup is tried again when Velumo next starts or tomorrow.";
}

BackupOutcome DailyBackup::BeforeSave(INoteFileStore& store, const std::string& notesPath, int64_t now)
{
    if (now >= m_dayStart && now < m_nextDayStart)
        return BackupOutcome::kNotDue;
    LocalDateTime local;
    if (!ToLocal(now, local))
        return BackupOutcome::kNotDue;
    // Once a day whatever happens: a failed backup is not retried at every
    // save, which would add a copy to each.
    m_dayStart = LocalMidnight(local.year, local.month, local.day).value_or(now);
    m_nextDayStart = LocalMidnight(local.year, local.month, local.day + 1).value_or(INT64_MAX);
    if (notesPath.empty() || !store.Exists(notesPath))
        return BackupOutcome::kNothingToKeep;
    const BackupName today{local.year, local.month, local.day, 1};
    if (store.Exists(BackupPathOf(notesPath, BackupFileName(today))))
        return BackupOutcome::kNotDue;
    const auto content = ReadWholeFile(store, notesPath);
    if (!content) {
        // Held by another program: the save fails as well and says so. The
        // file as the day began is still there to keep once it is free.
        m_dayStart = INT64_MAX;
        m_nextDayStart = INT64_MIN;
        return BackupOutcome::kFileBusy;
    }
    if (HoldsNoNotes(*content))
        return BackupOutcome::kNothingToKeep;
    return WriteBackup(store, notesPath, today, today, *content) ? BackupOutcome::kKept : BackupOutcome::kFailed;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(INoteFileStore& store, const std::string& path)
{
    const auto file = store.OpenForReading(path);
    if (!file)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(file->Size()));
    uint8_t piece[64 * 1024];
    for (;;) {
        size_t got = 0;
        if (!file->Read(piece, sizeof piece, got))
            return std::nullopt;
        if (got == 0)
            return bytes;
        bytes.insert(bytes.end(), piece, piece + got);
    }
}
