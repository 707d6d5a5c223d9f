#pragma once
// A notes-file store in memory, with switches to make reads or writes fail,
// so tests can see exactly what the note list writes and when.
#include <map>
#include <string>
#include <vector>

#include "notes/NoteFileStore.h"

class MemoryNoteStore : public INoteFileStore {
public:
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    bool ReadAll(const std::string& path, std::vector<uint8_t>& out) override
    {
        if (failReads || !files.count(path))
            return false;
        out = files[path];
        return true;
    }
    bool ReplaceAll(const std::string& path, std::span<const uint8_t> bytes) override
    {
        ++writeAttempts;
        if (failWrites || path.empty())
            return false;
        files[path].assign(bytes.begin(), bytes.end());
        ++writes;
        return true;
    }

    std::map<std::string, std::vector<uint8_t>> files;
    bool failReads = false;
    bool failWrites = false;
    int writes = 0;
    int writeAttempts = 0;
};
