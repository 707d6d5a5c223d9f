#pragma once
// Where a file that must leave its place (a notes file that cannot be read,
// a damaged bin, another computer's notes that did not fit) is kept instead:
// beside it, under a name that says why and when, to the second. A name
// already taken gets a counter, so two copies kept in one second both stay.
//   notes (unreadable 2026-12-09 064512).dat
//   notes (unreadable 2026-12-09 064512 2).dat
#include <cstdint>
#include <functional>
#include <string>

class KeptCopyName {
public:
    // exists: whether a path is taken already.
    explicit KeptCopyName(std::function<bool(const std::string&)> exists) : m_exists(std::move(exists)) {}

    // The path for a copy of the file at path, kept at now (seconds since
    // 1970, named in local time) for the reason why ("unreadable").
    std::string PathFor(const std::string& path, const std::string& why, int64_t now) const;

private:
    std::function<bool(const std::string&)> m_exists;
};
