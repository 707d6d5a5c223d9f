#pragma once
// The auto-start option as the registry holds it: where it lives, how its
// text reads, and the command line Windows runs at log-on.
#include <string>
#include <string_view>

namespace AutoRunKeys {
constexpr const char* kOptionKey = "Software\\Tarkwen\\Velumo\\Option";
constexpr const char* kOptionValue = "AutoRun";
constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Velumo 2.00";
}  // namespace AutoRunKeys

// 1 only for the exact text "TRUE"; any other text, in any letter case, is 0.
int AutoRunFromText(std::string_view text);
// "TRUE" for 1, "FALSE" for anything else.
const char* AutoRunText(int autoRun);

// The Run entry's data: the executable's path in double quotes, so that a
// path with blanks starts this program and never one that happens to sit at
// the first blank ("C:\Program Files\..." would otherwise run "C:\Program").
// Empty when there is no usable path.
std::string RunEntryCommand(const std::string& exePath);
