#pragma once
// A note's format runs as text ("start+length:formats " each), so that a
// failed comparison shows which run differs, in every tier alike.
#include <string>

#include "notes/TextFormatRun.h"

inline std::string RunsText(const TextFormatRuns& runs)
{
    std::string out;
    for (const TextFormatRun& run : runs)
        out += std::to_string(run.start) + "+" + std::to_string(run.length) + ":" + std::to_string(run.formats) + " ";
    return out;
}
