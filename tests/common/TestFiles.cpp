#include "TestFiles.h"

#include <windows.h>

#include <cstdio>
#include <functional>

#include "notes/UnicodeText.h"

namespace {

// Paths here are UTF-8, as in the program; the calls are the wide ones.
std::wstring Wide(const std::string& path)
{
    const std::u16string text = Utf16FromUtf8(path);
    return std::wstring(text.begin(), text.end());
}

std::string Utf8(const wchar_t* text)
{
    const std::wstring wide(text);
    return Utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

// Calls visit(name, isFolder) for every entry of a folder but . and ..
void ForEachEntry(const std::string& folder, const std::function<void(const std::string&, bool)>& visit)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Wide(folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = Utf8(data.cFileName);
        if (name != "." && name != "..")
            visit(name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

}  // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* f = _wfopen(Wide(path).c_str(), L"rb");
    if (!f)
        return bytes;
    uint8_t chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    return bytes;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = _wfopen(Wide(path).c_str(), L"wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool CopyTree(const std::string& from, const std::string& to)
{
    CreateDirectoryW(Wide(to).c_str(), nullptr);
    bool ok = GetFileAttributesW(Wide(from).c_str()) != INVALID_FILE_ATTRIBUTES;
    ForEachEntry(from, [&](const std::string& name, bool isFolder) {
        const std::string src = from + "\\" + name;
        const std::string dst = to + "\\" + name;
        ok = (isFolder ? CopyTree(src, dst) : CopyFileW(Wide(src).c_str(), Wide(dst).c_str(), FALSE) != 0) && ok;
    });
    return ok;
}

void DeleteTree(const std::string& folder)
{
    ForEachEntry(folder, [&](const std::string& name, bool isFolder) {
        const std::string path = folder + "\\" + name;
        if (isFolder) {
            DeleteTree(path);
        } else {
            SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(Wide(path).c_str());
        }
    });
    RemoveDirectoryW(Wide(folder).c_str());
}

TempFolder::TempFolder(const char* prefix)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    char name[96];
    std::snprintf(name, sizeof name, "%s-%lu-%d", prefix, GetCurrentProcessId(), ++counter);
    m_path = Utf8(temp) + name;
    DeleteTree(m_path);
    CreateDirectoryW(Wide(m_path).c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    DeleteTree(m_path);
}
