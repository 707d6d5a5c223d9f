#pragma once
// Where a skin's pictures lie: beside its skin.ini.
#include <string>

// The folder of a full path, ending in exactly one backslash: the final
// component goes, then one backslash if the rest ends in one, then one is
// added. "C:\skin.ini" gives "C:\". The image path is this folder followed by
// the value from skin.ini, joined as plain text. (The full path itself comes
// from the platform: SkinFolder in SkinImage.h.)
std::string SkinFolderOfFullPath(const std::string& fullPath);
