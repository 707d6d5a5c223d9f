#include "skin/SkinPaths.h"

std::string SkinFolderOfFullPath(const std::string& fullPath)
{
    // The final component is what follows the last backslash; a path that
    // ends in one names a folder and has none.
    const size_t lastSlash = fullPath.rfind('\\');
    std::string folder = lastSlash == std::string::npos ? std::string() : fullPath.substr(0, lastSlash + 1);
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    folder += '\\';
    return folder;
}
