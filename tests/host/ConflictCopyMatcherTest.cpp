// The names sync clients give the copies they leave beside a file that two
// computers changed at once, told from every other file in the folder; and
// the names of the copies this program keeps, which never collide.
#include <gtest/gtest.h>

#include <set>

#include "core/LocalTime.h"
#include "notes/ConflictCopyMatcher.h"
#include "notes/KeptCopyName.h"

TEST(ConflictCopyMatcher, TellsConflictCopiesFromEveryOtherFile)
{
    struct Row {
        const char* original;
        const char* name;
        bool matches;
    } rows[] = {
        {"notes.dat", "notes.sync-conflict-20261209-064512-ABCDEFG.dat", true},
        {"notes.dat", "notes (Anna's conflicted copy 2026-12-09).dat", true},
        {"notes.dat", "notes (conflicted copy 2026-12-09 064512).dat", true},
        {"notes.dat", "notes-LAPTOP.dat", true},
        {"notes.dat", "Notes-LAPTOP.Dat", true},
        {"notes.dat", "Notes.Sync-Conflict-20261209-064512-XY12345.Dat", true},
        {"deleted.dat", "deleted.sync-conflict-20261209-064512-ABCDEFG.dat", true},
        {"deleted.dat", "deleted-DESKTOP-7Q2.dat", true},
        {"notes.dat", "notes.dat", false},
        {"notes.dat", "notes.dat.new", false},
        {"notes.dat", "notes-2.txt", false},
        {"notes.dat", "notes-2.dat", false},
        {"notes.dat", "notes-2026-12-08.dat", false},
        {"notes.dat", "deleted.dat", false},
        {"notes.dat", "deleted-LAPTOP.dat", false},
        {"notes.dat", "notesX.dat", false},
        {"notes.dat", "notes-work.dat", false},
        {"notes.dat", "notes-.dat", false},
        {"notes.dat", "notes-A-NAME-FAR-TOO-LONG.dat", false},
        {"notes.dat", "notes.sync-conflict-.dat", false},
        {"notes.dat", "notes.sync-conflict-2026-064512-ABCDEFG.dat", false},
        {"notes.dat", "notes (from another computer 2026-12-09 064512).dat", false},
        {"notes.dat", "notes (unreadable 2026-12-09 064512 2).dat", false},
        {"notes.dat", "notes-LAPTOP.dat.new", false},
        {"notes.dat", ".syncthing.notes.dat.tmp", false},
        {"deleted.dat", "notes-LAPTOP.dat", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.original) + " / " + row.name);
        EXPECT_EQ(ConflictCopyMatcher(row.original).Matches(row.name), row.matches);
    }
}

TEST(KeptCopyName, ToTheSecondAndCountedWhenTaken)
{
    const int64_t at = FromLocal(2026, 12, 9, 6, 45, 12).value();
    std::set<std::string> taken;
    const KeptCopyName names([&](const std::string& path) { return taken.count(path) != 0; });
    struct Row {
        const char* path;
        int64_t now;
        const char* expected;
    } rows[] = {
        {"C:\\Sync\\notes.dat", at, "C:\\Sync\\notes (unreadable 2026-12-09 064512).dat"},
        {"C:\\Sync\\notes.dat", at, "C:\\Sync\\notes (unreadable 2026-12-09 064512 2).dat"},
        {"C:\\Sync\\notes.dat", at, "C:\\Sync\\notes (unreadable 2026-12-09 064512 3).dat"},
        {"C:\\Sync\\notes.dat", at + 1, "C:\\Sync\\notes (unreadable 2026-12-09 064513).dat"},
        {"/home/a.b/notes", at, "/home/a.b/notes (unreadable 2026-12-09 064512)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        const std::string path = names.PathFor(row.path, "unreadable", row.now);
        EXPECT_EQ(path, row.expected);
        EXPECT_TRUE(taken.insert(path).second) << "a kept copy never replaces another";
    }
}
