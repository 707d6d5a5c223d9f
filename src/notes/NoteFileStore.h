#pragma once
// How the note list reaches the disk. The list decides what to write; a
// store decides how. The platform store replaces the file atomically, so a
// failed save leaves the old file whole.
//
// Paths are UTF-8; the Windows store hands them to the wide file functions.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// An open notes file being read from the start, a piece at a time, so that
// loading holds no more of the file than the notes it has read.
class INoteFileReader {
public:
    virtual ~INoteFileReader() = default;
    // The file's size when it was opened.
    virtual uint64_t Size() const = 0;
    // Reads up to size bytes into data; got is 0 at the end of the file.
    // False when the read fails.
    virtual bool Read(void* data, size_t size, size_t& got) = 0;
};

// A file's size and last-write time, in the platform's own unit: when either
// differs from what it was, someone wrote the file. Only compared for
// equality.
struct FileStamp {
    uint64_t size = 0;
    uint64_t written = 0;
    bool operator==(const FileStamp&) const = default;
};

enum class ReplaceOutcome {
    kReplaced,
    kFailed,       // as ReplaceAll's false
    kFileChanged,  // the file was not as expected just before the rename: nothing replaced
};

class INoteFileStore {
public:
    virtual ~INoteFileStore() = default;
    virtual bool Exists(const std::string& path) = 0;
    // Opens the file for reading only, with no sharing; nullptr when it
    // cannot be opened.
    virtual std::unique_ptr<INoteFileReader> OpenForReading(const std::string& path) = 0;
    // Makes the file hold exactly these bytes: written to a temporary file in
    // the same folder (TemporaryPathOf), flushed, then moved over the old file
    // in one step. False (and the old file untouched) when any step fails.
    // When no file exists yet and the temporary one cannot be made, the file
    // is created directly: there is nothing a half-written file could spoil.
    // On Windows, after a failure the thread's last error holds the system's
    // reason.
    virtual bool ReplaceAll(const std::string& path, std::span<const uint8_t> bytes) = 0;
    // ReplaceAll, made only when the file's stamp is still the expected one
    // (none: no file), so that a file another program put there is never
    // written over unseen. The file is first moved aside (MovedAsidePathOf)
    // and its stamp read there: a file renamed in after that move cannot be
    // replaced, as the rename of ours never replaces a file. Only after our
    // file is in place is the moved-aside one removed; when anything else
    // happened it is put back, or left for the caller
    // (kFileChanged with MovedAsidePathOf existing): a kill at any moment
    // leaves every version on disk.
    virtual ReplaceOutcome ReplaceAllUnlessChanged(const std::string& path, std::span<const uint8_t> bytes,
                                                   const std::optional<FileStamp>& expected);
    // The stamp of the file the last kReplaced of ReplaceAllUnlessChanged
    // put in place, read before its rename: a file renamed over it a moment
    // later has another, so it is not taken for ours.
    const std::optional<FileStamp>& PlacedStamp() const { return m_placed; }
    // Writes the bytes to a file of their own (created or emptied first),
    // flushed and closed; false (and no file left) when any step fails.
    virtual bool WriteTemporary(const std::string& path, std::span<const uint8_t> bytes) = 0;
    // Renames from to to in one step, only when to does not exist; false
    // when it exists or the rename failed. The file keeps its stamp.
    virtual bool MoveWithoutReplacing(const std::string& from, const std::string& to) = 0;
    // Removes a temporary file that a save cut off (a crash, power loss) left
    // beside the file, and puts back the file that save had moved aside when
    // nothing took its place. Only a plain file is removed.
    virtual void RemoveLeftoverTemporary(const std::string& path) = 0;
    // The file's stamp without opening it (so a file another program holds
    // open is still stamped); none when the file is not there.
    virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;

    // The backups folder beside the notes file (see NotesBackups.h).
    // Makes the folder when it is missing; true when it is there afterwards.
    virtual bool MakeFolder(const std::string& path) = 0;
    // The names (not paths) of the plain files in the folder; empty when
    // the folder is missing or cannot be read.
    virtual std::vector<std::string> ListFiles(const std::string& folder) = 0;
    // Removes a plain file; false when it could not be removed.
    virtual bool RemoveFile(const std::string& path) = 0;
    // When the file was last written, in seconds since 1970 (UTC); empty
    // when that cannot be read.
    virtual std::optional<int64_t> WrittenAt(const std::string& path) = 0;

private:
    std::optional<FileStamp> m_placed;
};

// The temporary file that a save writes before it replaces the file.
inline std::string TemporaryPathOf(const std::string& path)
{
    return path + ".new";
}

// Where a save moves the file while it looks at it, just before its own
// file takes the place.
inline std::string MovedAsidePathOf(const std::string& path)
{
    return path + ".saving";
}

// The store of the platform the program runs on.
INoteFileStore& PlatformNoteFileStore();

// The whole file through the store, or none when it cannot be read.
std::optional<std::vector<uint8_t>> ReadWholeFile(INoteFileStore& store, const std::string& path);
