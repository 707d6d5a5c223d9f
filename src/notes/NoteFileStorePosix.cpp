// The notes file on the host build (tests, benchmarks, tools).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "notes/NoteFileStore.h"

namespace {

bool WriteFully(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

class PosixNoteFileStore final : public INoteFileStore {
public:
    bool Exists(const std::string& path) override
    {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0;
    }

    bool ReadAll(const std::string& path, std::vector<uint8_t>& out) override
    {
        out.clear();
        int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0)
            return false;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_size > 0)
            out.reserve(static_cast<size_t>(st.st_size));
        uint8_t chunk[65536];
        bool ok = true;
        for (;;) {
            ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0)
                break;
            out.insert(out.end(), chunk, chunk + n);
        }
        ::close(fd);
        return ok;
    }

    bool ReplaceAll(const std::string& path, std::span<const uint8_t> bytes) override
    {
        if (path.empty())
            return false;
        const std::string temp = path + ".new";
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        bool ok = WriteFully(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
        ok = ::close(fd) == 0 && ok;
        if (ok && ::rename(temp.c_str(), path.c_str()) == 0)
            return true;
        ::unlink(temp.c_str());
        return false;
    }
};

}  // namespace

INoteFileStore& PlatformNoteFileStore()
{
    static PosixNoteFileStore store;
    return store;
}
