// The notes file on the host build (tests, benchmarks, tools).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

// Writes, flushes and closes; false when any of it fails.
bool WriteAndClose(int fd, std::span<const uint8_t> bytes)
{
    bool ok = WriteFully(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

class PosixNoteFileReader final : public INoteFileReader {
public:
    PosixNoteFileReader(int fd, uint64_t size) : m_fd(fd), m_size(size) {}
    ~PosixNoteFileReader() override { ::close(m_fd); }
    PosixNoteFileReader(const PosixNoteFileReader&) = delete;
    PosixNoteFileReader& operator=(const PosixNoteFileReader&) = delete;

    uint64_t Size() const override { return m_size; }
    bool Read(void* data, size_t size, size_t& got) override
    {
        ssize_t n;
        do {
            n = ::read(m_fd, data, size);
        } while (n < 0 && errno == EINTR);
        got = n > 0 ? static_cast<size_t>(n) : 0;
        return n >= 0;
    }

private:
    int m_fd;
    uint64_t m_size;
};

class PosixNoteFileStore final : public INoteFileStore {
public:
    bool Exists(const std::string& path) override
    {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0;
    }

    std::unique_ptr<INoteFileReader> OpenForReading(const std::string& path) override
    {
        int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0)
            return nullptr;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixNoteFileReader>(fd, static_cast<uint64_t>(st.st_size));
    }

    bool ReplaceAll(const std::string& path, std::span<const uint8_t> bytes) override
    {
        if (path.empty())
            return false;
        const std::string temp = TemporaryPathOf(path);
        if (!WriteTemporary(temp, bytes))
            return CreateDirectly(path, bytes);
        if (::rename(temp.c_str(), path.c_str()) == 0)
            return true;
        ::unlink(temp.c_str());
        return false;
    }

    bool WriteTemporary(const std::string& path, std::span<const uint8_t> bytes) override
    {
        return WriteOpened(path, O_TRUNC, bytes);
    }

    bool MoveWithoutReplacing(const std::string& from, const std::string& to) override
    {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EINVAL && errno != ENOSYS)
            return false;
        // A file system without the flag: a second name fails when taken.
        if (::link(from.c_str(), to.c_str()) != 0)
            return false;
        ::unlink(from.c_str());
        return true;
    }

    void RemoveLeftoverTemporary(const std::string& path) override
    {
        const std::string temp = TemporaryPathOf(path);
        struct stat st {};
        if (::lstat(temp.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(temp.c_str());
        MoveWithoutReplacing(MovedAsidePathOf(path), path);
    }

    std::optional<FileStamp> Stamp(const std::string& path) override
    {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return std::nullopt;
        const auto written = static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                             static_cast<uint64_t>(st.st_mtim.tv_nsec);
        return FileStamp{static_cast<uint64_t>(st.st_size), written};
    }

    bool MakeFolder(const std::string& path) override
    {
        if (::mkdir(path.c_str(), 0755) == 0)
            return true;
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    std::vector<std::string> ListFiles(const std::string& folder) override
    {
        std::vector<std::string> names;
        DIR* dir = ::opendir(folder.c_str());
        if (!dir)
            return names;
        while (const dirent* entry = ::readdir(dir)) {
            struct stat st {};
            const std::string name = entry->d_name;
            if (::lstat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
                names.push_back(name);
        }
        ::closedir(dir);
        return names;
    }

    bool RemoveFile(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

    std::optional<int64_t> WrittenAt(const std::string& path) override
    {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return std::nullopt;
        return static_cast<int64_t>(st.st_mtime);
    }

private:
    // Only a file that does not exist yet: an existing one is never
    // written in place.
    static bool CreateDirectly(const std::string& path, std::span<const uint8_t> bytes)
    {
        return WriteOpened(path, O_EXCL, bytes);
    }
    // A file written but not whole is removed, so no half file is ever left.
    static bool WriteOpened(const std::string& path, int createFlag, std::span<const uint8_t> bytes)
    {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | createFlag, 0644);
        if (fd < 0)
            return false;
        if (WriteAndClose(fd, bytes))
            return true;
        ::unlink(path.c_str());
        return false;
    }
};

}  // namespace

INoteFileStore& PlatformNoteFileStore()
{
    static PosixNoteFileStore store;
    return store;
}
