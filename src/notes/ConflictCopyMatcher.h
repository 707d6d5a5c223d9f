#pragma once
// Tells the copies that sync clients leave beside a file when two computers
// changed it at once from every other file in the folder. Each client names
// them its own way, around the file's stem and before its extension:
//   notes.sync-conflict-20261209-064512-ABCDEFG.dat
//   notes (Anna's conflicted copy 2026-12-09).dat
//   notes-LAPTOP.dat                       (the other computer's name, in capitals)
// Stem and extension are compared without regard to case, as Windows does.
#include <string>
#include <string_view>

class ConflictCopyMatcher {
public:
    // original: the file's own name ("notes.dat"), without a folder.
    explicit ConflictCopyMatcher(std::string_view original);

    // True when fileName (a name, not a path) is a conflict copy of the
    // original; never for the original itself.
    bool Matches(std::string_view fileName) const;

private:
    bool IsSyncthingMiddle(std::string_view middle) const;
    static bool IsConflictedCopyMiddle(std::string_view middle);
    static bool IsComputerNameMiddle(std::string_view middle);

    std::string m_stem;       // lower case
    std::string m_extension;  // lower case, with its dot; empty for none
};
