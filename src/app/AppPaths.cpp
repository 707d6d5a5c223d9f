#include "app/AppPaths.h"

SplitPath SplitExecutablePath(const std::string& path)
{
    SplitPath parts;
    std::string rest = path;
    if (rest.size() >= 2 && rest[1] == ':') {
        parts.drive = rest.substr(0, 2);
        rest.erase(0, 2);
    }
    const size_t slash = rest.find_last_of("\\/");
    if (slash != std::string::npos) {
        parts.dir = rest.substr(0, slash + 1);
        rest.erase(0, slash + 1);
    }
    const size_t dot = rest.find_last_of('.');
    if (dot != std::string::npos) {
        parts.ext = rest.substr(dot);
        rest.erase(dot);
    }
    parts.fname = rest;
    return parts;
}

std::string NotesFilePath(const std::string& exePath, const std::vector<std::string>& args)
{
    if (!args.empty())
        return args.front();
    const SplitPath parts = SplitExecutablePath(exePath);
    return parts.drive + parts.dir + "notes.dat";
}

std::string SettingsFilePath(const std::string& exePath)
{
    const SplitPath parts = SplitExecutablePath(exePath);
    return parts.drive + parts.dir + parts.fname + ".ini";
}

std::string HelpFilePath(const std::string& exePath)
{
    const size_t dot = exePath.find_last_of('.');
    const std::string stem = dot == std::string::npos ? std::string() : exePath.substr(0, dot + 1);
    return stem + "chm";
}

std::string SkinFilePath(const std::string& exePath)
{
    const size_t slash = exePath.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? std::string() : exePath.substr(0, slash);
    return folder + "\\Skins\\skin.ini";
}
