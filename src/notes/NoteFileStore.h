#pragma once
// How the note list reaches the disk. The list decides what to write; a
// store decides how. The platform store replaces the file atomically, so a
// failed save leaves the old file whole.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class INoteFileStore {
public:
    virtual ~INoteFileStore() = default;
    virtual bool Exists(const std::string& path) = 0;
    // Reads the whole file, opened for reading only with no sharing. False
    // when it cannot be opened or read.
    virtual bool ReadAll(const std::string& path, std::vector<uint8_t>& out) = 0;
    // Makes the file hold exactly these bytes: written to a temporary file in
    // the same folder, flushed, then moved over the old file in one step.
    // False (and the old file untouched) when any step fails; on Windows the
    // thread's last error then holds the system's reason.
    virtual bool ReplaceAll(const std::string& path, std::span<const uint8_t> bytes) = 0;
};

// The store of the platform the program runs on.
INoteFileStore& PlatformNoteFileStore();
