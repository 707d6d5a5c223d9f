#include "TestFiles.h"

#include <windows.h>

#include <cstdio>
#include <functional>

#include "core/UnicodeText.h"

namespace {

// Paths here are UTF-8, as in the program; the calls are the wide ones.
// Calls visit(name, isFolder) for every entry of a folder but . and ..
void ForEachEntry(const std::string& folder, const std::function<void(const std::string&, bool)>& visit)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(WideFromUtf8(folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = Utf8FromWide(data.cFileName);
        if (name != "." && name != "..")
            visit(name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

}  // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* f = _wfopen(WideFromUtf8(path).c_str(), L"rb");
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
    FILE* f = _wfopen(WideFromUtf8(path).c_str(), L"wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool CopyTree(const std::string& from, const std::string& to)
{
    CreateDirectoryW(WideFromUtf8(to).c_str(), nullptr);
    bool ok = GetFileAttributesW(WideFromUtf8(from).c_str()) != INVALID_FILE_ATTRIBUTES;
    ForEachEntry(from, [&](const std::string& name, bool isFolder) {
        const std::string src = from + "\\" + name;
        const std::string dst = to + "\\" + name;
        ok = (isFolder ? CopyTree(src, dst) : CopyFileW(WideFromUtf8(src).c_str(), WideFromUtf8(dst).c_str(), FALSE) != 0) && ok;
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
            SetFileAttributesW(WideFromUtf8(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(WideFromUtf8(path).c_str());
        }
    });
    RemoveDirectoryW(WideFromUtf8(folder).c_str());
}

TempFolder::TempFolder(const char* prefix)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // Wine reuses its small process ids within one test run, so a folder of
    // this name may be an earlier test's, perhaps still held by its program:
    // take a name nobody has instead of clearing that one.
    static int counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char name[96];
        std::snprintf(name, sizeof name, "%s-%lu-%d", prefix, GetCurrentProcessId(), ++counter);
        m_path = Utf8FromWide(temp) + name;
        if (CreateDirectoryW(WideFromUtf8(m_path).c_str(), nullptr))
            return;
    }
    std::fprintf(stderr, "no fresh temporary folder for %s\n", prefix);
}

TempFolder::~TempFolder()
{
    DeleteTree(m_path);
}
