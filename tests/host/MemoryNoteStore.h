#pragma once
// A notes-file store in memory, with switches to make reads or writes fail,
// so tests can see exactly what the note list writes and when.
#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "notes/NoteFileStore.h"

class MemoryNoteStore : public INoteFileStore {
public:
    // Hands the bytes out in pieces of at most pieceBytes, as a file might.
    class Reader : public INoteFileReader {
    public:
        Reader(std::vector<uint8_t> bytes, size_t pieceBytes) : m_bytes(std::move(bytes)), m_piece(pieceBytes) {}
        uint64_t Size() const override { return m_bytes.size(); }
        bool Read(void* data, size_t size, size_t& got) override
        {
            got = std::min({size, m_piece, m_bytes.size() - m_at});
            if (got)
                std::memcpy(data, m_bytes.data() + m_at, got);
            m_at += got;
            return true;
        }

    private:
        std::vector<uint8_t> m_bytes;
        size_t m_piece;
        size_t m_at = 0;
    };

    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    std::unique_ptr<INoteFileReader> OpenForReading(const std::string& path) override
    {
        ++opens[path];
        if (failReads || !files.count(path))
            return nullptr;
        return std::make_unique<Reader>(files[path], pieceBytes);
    }
    bool ReplaceAll(const std::string& path, std::span<const uint8_t> bytes) override
    {
        ++writeAttempts;
        if (failWrites || path.empty())
            return false;
        files[path].assign(bytes.begin(), bytes.end());
        writtenTimes[path] = clock;
        ++writes;
        writtenAt[path] = static_cast<uint64_t>(writes);
        return true;
    }
    // Through ReplaceAll: counted, and failing with failWrites.
    bool WriteTemporary(const std::string& path, std::span<const uint8_t> bytes) override
    {
        return ReplaceAll(path, bytes);
    }
    // The file keeps the stamp it had.
    bool MoveWithoutReplacing(const std::string& from, const std::string& to) override
    {
        if (!files.count(from) || files.count(to))
            return false;
        files[to] = std::move(files[from]);
        writtenAt[to] = writtenAt[from];
        if (writtenTimes.count(from))
            writtenTimes[to] = writtenTimes[from];
        else
            writtenTimes.erase(to);
        files.erase(from);
        return true;
    }
    void RemoveLeftoverTemporary(const std::string& path) override { files.erase(TemporaryPathOf(path)); }
    // The size, and which write made the file: a file put straight into
    // files keeps the stamp of its last write through the store.
    std::optional<FileStamp> Stamp(const std::string& path) override
    {
        if (!files.count(path))
            return std::nullopt;
        return FileStamp{files[path].size(), writtenAt[path]};
    }
    bool MakeFolder(const std::string& path) override
    {
        if (failFolders && !folders.count(path))
            return false;
        folders.insert(path);
        return true;
    }
    // A file is in a folder when its path is the folder's, a separator and
    // a name with no separator of its own.
    std::vector<std::string> ListFiles(const std::string& folder) override
    {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : files) {
            const bool inside = path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
                                (path[folder.size()] == '/' || path[folder.size()] == '\\');
            if (inside && path.find_first_of("/\\", folder.size() + 1) == std::string::npos)
                names.push_back(path.substr(folder.size() + 1));
        }
        return names;
    }
    bool RemoveFile(const std::string& path) override { return files.erase(path) != 0; }
    std::optional<int64_t> WrittenAt(const std::string& path) override
    {
        const auto found = writtenTimes.find(path);
        if (!files.count(path) || found == writtenTimes.end())
            return std::nullopt;
        return found->second;
    }

    std::map<std::string, std::vector<uint8_t>> files;
    bool failReads = false;
    bool failWrites = false;
    bool failFolders = false;  // no folder can be made (read-only disk)
    std::set<std::string> folders;
    int64_t clock = 0;                             // the time a write gives its file
    std::map<std::string, int64_t> writtenTimes;  // files put in directly have none
    size_t pieceBytes = SIZE_MAX;
    std::map<std::string, uint64_t> writtenAt;
    int writes = 0;
    int writeAttempts = 0;
    std::map<std::string, int> opens;  // by path
};
