// The notes file on Windows: read with no sharing, replaced atomically.
#include <windows.h>

#include <algorithm>

#include "notes/NoteFileStore.h"

namespace {

class Win32NoteFileStore final : public INoteFileStore {
public:
    bool Exists(const std::string& path) override
    {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    bool ReadAll(const std::string& path, std::vector<uint8_t>& out) override
    {
        out.clear();
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER size{};
        bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
                  static_cast<unsigned long long>(size.QuadPart) <= SIZE_MAX;
        if (ok) {
            out.resize(static_cast<size_t>(size.QuadPart));
            size_t done = 0;
            while (ok && done < out.size()) {
                DWORD want = static_cast<DWORD>(std::min<size_t>(out.size() - done, 1u << 30));
                DWORD got = 0;
                ok = ReadFile(file, out.data() + done, want, &got, nullptr) && got > 0;
                done += got;
            }
        }
        CloseHandle(file);
        if (!ok)
            out.clear();
        return ok;
    }

    bool ReplaceAll(const std::string& path, std::span<const uint8_t> bytes) override
    {
        if (path.empty())
            return false;
        const std::string temp = path + ".new";
        HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        bool ok = true;
        size_t done = 0;
        while (ok && done < bytes.size()) {
            DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
            DWORD wrote = 0;
            ok = WriteFile(file, bytes.data() + done, want, &wrote, nullptr) && wrote == want;
            done += wrote;
        }
        ok = ok && FlushFileBuffers(file);
        DWORD error = ok ? ERROR_SUCCESS : GetLastError();
        if (!CloseHandle(file) && ok) {
            ok = false;
            error = GetLastError();
        }
        if (ok) {
            if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
            error = GetLastError();
        }
        DeleteFileA(temp.c_str());
        // The caller tells the user why; a short write sets no error of its own.
        SetLastError(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
        return false;
    }
};

}  // namespace

INoteFileStore& PlatformNoteFileStore()
{
    static Win32NoteFileStore store;
    return store;
}
