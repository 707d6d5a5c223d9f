#include "notes/KeptCopyName.h"

#include <cstdio>

#include "core/LocalTime.h"

std::string KeptCopyName::PathFor(const std::string& path, const std::string& why, int64_t now) const
{
    const size_t slash = path.find_last_of("\\/");
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart)
        dot = path.size();
    LocalDateTime local;
    if (!ToLocal(now, local))
        local = LocalDateTime{1970, 1, 1, 0, 0, 0, 4};
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d%02d%02d", local.year, local.month, local.day, local.hour,
                  local.minute, local.second);
    const std::string head = path.substr(0, dot) + " (" + why + " " + stamp;
    const std::string extension = path.substr(dot);
    std::string candidate = head + ")" + extension;
    // Bounded: a folder never holds this many copies of one second.
    for (int counter = 2; m_exists(candidate) && counter < 10000; ++counter)
        candidate = head + " " + std::to_string(counter) + ")" + extension;
    return candidate;
}
