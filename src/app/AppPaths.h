#pragma once
// Where the program's files lie, worked out from the executable's path the
// way the runtime's path splitter divides it (drive, folder, name, extension).
#include <string>
#include <vector>

struct SplitPath {
    std::string drive;   // "D:" or empty
    std::string dir;     // up to and including the last '\' or '/'
    std::string fname;   // final component without its extension
    std::string ext;     // from the last '.' of the final component, or empty
};
SplitPath SplitExecutablePath(const std::string& path);

// notes.dat beside the executable, or the first argument when there is one.
std::string NotesFilePath(const std::string& exePath, const std::vector<std::string>& args);
// The executable's path with ".ini" for its extension.
std::string SettingsFilePath(const std::string& exePath);
// The executable's path cut after its last '.', followed by "chm".
std::string HelpFilePath(const std::string& exePath);
// The executable's folder (no trailing backslash) + "\Skins\skin.ini".
std::string SkinFilePath(const std::string& exePath);
