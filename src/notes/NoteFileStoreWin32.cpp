// The notes file on Windows: read with no sharing, replaced atomically.
// Paths go through the wide file functions, so any folder name works.
#include <windows.h>

#include <algorithm>

#include "notes/NoteFileStore.h"
#include "core/UnicodeText.h"

namespace {

// Writes, flushes and closes; false when any of it fails.
bool WriteAndClose(HANDLE file, std::span<const uint8_t> bytes)
{
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD wrote = 0;
        ok = WriteFile(file, bytes.data() + done, want, &wrote, nullptr) && wrote == want;
        done += wrote;
    }
    ok = ok && FlushFileBuffers(file);
    return CloseHandle(file) && ok;
}

class Win32NoteFileReader final : public INoteFileReader {
public:
    Win32NoteFileReader(HANDLE file, uint64_t size) : m_file(file), m_size(size) {}
    ~Win32NoteFileReader() override { CloseHandle(m_file); }
    Win32NoteFileReader(const Win32NoteFileReader&) = delete;
    Win32NoteFileReader& operator=(const Win32NoteFileReader&) = delete;

    uint64_t Size() const override { return m_size; }
    bool Read(void* data, size_t size, size_t& got) override
    {
        DWORD read = 0;
        const BOOL ok = ReadFile(m_file, data, static_cast<DWORD>(std::min<size_t>(size, 1u << 30)), &read, nullptr);
        got = ok ? read : 0;
        return ok != FALSE;
    }

private:
    HANDLE m_file;
    uint64_t m_size;
};

class Win32NoteFileStore final : public INoteFileStore {
public:
    bool Exists(const std::string& path) override
    {
        return GetFileAttributesW(WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::unique_ptr<INoteFileReader> OpenForReading(const std::string& path) override
    {
        HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return nullptr;
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) {
            CloseHandle(file);
            return nullptr;
        }
        return std::make_unique<Win32NoteFileReader>(file, static_cast<uint64_t>(size.QuadPart));
    }

    bool ReplaceAll(const std::string& path, std::span<const uint8_t> bytes) override
    {
        if (path.empty())
            return false;
        const std::wstring target = WideFromUtf8(path);
        const std::wstring temp = WideFromUtf8(TemporaryPathOf(path));
        if (!WriteTemporary(TemporaryPathOf(path), bytes)) {
            // When the file exists, the temporary file's failure is the
            // reason worth telling, not that the file exists.
            const DWORD error = GetLastError();
            return CreateDirectly(target, bytes) || FailWith(error);
        }
        if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD error = GetLastError();
            DeleteFileW(temp.c_str());
            return FailWith(error);
        }
        return true;
    }

    bool WriteTemporary(const std::string& path, std::span<const uint8_t> bytes) override
    {
        const std::wstring temp = WideFromUtf8(path);
        HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        if (WriteAndClose(file, bytes))
            return true;
        const DWORD error = GetLastError();
        DeleteFileW(temp.c_str());
        return FailWith(error);
    }

    bool MoveWithoutReplacing(const std::string& from, const std::string& to) override
    {
        // Without MOVEFILE_REPLACE_EXISTING the move fails when to exists.
        return MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    }

    void RemoveLeftoverTemporary(const std::string& path) override
    {
        const std::wstring temp = WideFromUtf8(TemporaryPathOf(path));
        const DWORD attributes = GetFileAttributesW(temp.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileW(temp.c_str());
        MoveWithoutReplacing(MovedAsidePathOf(path), path);
    }

    std::optional<FileStamp> Stamp(const std::string& path) override
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(WideFromUtf8(path).c_str(), GetFileExInfoStandard, &data))
            return std::nullopt;
        return FileStamp{Join(data.nFileSizeHigh, data.nFileSizeLow),
                         Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
    }

    bool MakeFolder(const std::string& path) override
    {
        const std::wstring folder = WideFromUtf8(path);
        if (CreateDirectoryW(folder.c_str(), nullptr))
            return true;
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return true;
        return FailWith(error);
    }

    std::vector<std::string> ListFiles(const std::string& folder) override
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW(WideFromUtf8(folder + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(Utf8FromWide(found.cFileName));
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    bool RemoveFile(const std::string& path) override { return DeleteFileW(WideFromUtf8(path).c_str()) != FALSE; }

    std::optional<int64_t> WrittenAt(const std::string& path) override
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(WideFromUtf8(path).c_str(), GetFileExInfoStandard, &data))
            return std::nullopt;
        // Hundreds of nanoseconds since 1601.
        constexpr int64_t kTicksPerSecond = 10000000, kSecondsFrom1601To1970 = 11644473600;
        const auto ticks =
            static_cast<int64_t>(Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime));
        return ticks / kTicksPerSecond - kSecondsFrom1601To1970;
    }

private:
    static uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

    // The caller tells the user the system's reason; a short write sets none
    // of its own.
    static bool FailWith(DWORD error)
    {
        SetLastError(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
        return false;
    }

    // Only a file that does not exist yet (CREATE_NEW): an existing one is
    // never written in place.
    static bool CreateDirectly(const std::wstring& path, std::span<const uint8_t> bytes)
    {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        if (WriteAndClose(file, bytes))
            return true;
        DeleteFileW(path.c_str());
        return false;
    }
};

}  // namespace

INoteFileStore& PlatformNoteFileStore()
{
    static Win32NoteFileStore store;
    return store;
}
