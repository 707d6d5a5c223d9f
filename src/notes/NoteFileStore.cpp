#include "notes/NoteFileStore.h"

ReplaceOutcome INoteFileStore::ReplaceAllUnlessChanged(const std::string& path, std::span<const uint8_t> bytes,
                                                       const std::optional<FileStamp>& expected)
{
    if (path.empty())
        return ReplaceOutcome::kFailed;
    const std::string temp = TemporaryPathOf(path);
    const std::string aside = MovedAsidePathOf(path);
    if (!WriteTemporary(temp, bytes)) {
        // No temporary file can be made: only a missing file may still be
        // created directly (ReplaceAll's fallback).
        if (Stamp(path) != expected)
            return ReplaceOutcome::kFileChanged;
        if (!ReplaceAll(path, bytes))
            return ReplaceOutcome::kFailed;
        m_placed = Stamp(path);
        return ReplaceOutcome::kReplaced;
    }
    // Looked at once it is out of the way: a sync client's rename that
    // comes after this finds the place free and stays, never replaced.
    const bool movedAside = MoveWithoutReplacing(path, aside);
    if (!movedAside && Exists(path)) {
        RemoveFile(temp);
        // A file moved aside before (another save under way, or one cut
        // off) is the caller's to take in first; else the file is held open.
        return Exists(aside) ? ReplaceOutcome::kFileChanged : ReplaceOutcome::kFailed;
    }
    const std::optional<FileStamp> seen = movedAside ? Stamp(aside) : std::nullopt;
    if (seen != expected) {
        // Not the file that was merged: it goes back, unless another came
        // meanwhile; then it waits beside it for the caller's merge.
        if (movedAside)
            MoveWithoutReplacing(aside, path);
        RemoveFile(temp);
        return ReplaceOutcome::kFileChanged;
    }
    // A rename keeps the stamp.
    const std::optional<FileStamp> ours = Stamp(temp);
    if (!MoveWithoutReplacing(temp, path)) {
        const bool landed = Exists(path);
        RemoveFile(temp);
        if (landed)
            return ReplaceOutcome::kFileChanged;  // the merged file stays aside until the caller saves
        if (movedAside)
            MoveWithoutReplacing(aside, path);
        return ReplaceOutcome::kFailed;
    }
    // Ours holds everything the merged file held.
    m_placed = ours;
    if (movedAside)
        RemoveFile(aside);
    return ReplaceOutcome::kReplaced;
}
