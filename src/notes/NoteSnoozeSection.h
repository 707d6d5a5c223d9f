#pragma once
// The trailer section of snoozed notes ("SNOZ"), written only while a note
// is snoozed. Entries are found by the note's id, not by its place, so a
// reader that meets fewer, more or reordered notes still brings each snooze
// to its note. Payload: u32 count, u16 entry length (24 in version 1), then
// per snoozed note its id (u64 high half, u64 low half) and the time it
// comes back (i64 seconds since 1970, UTC).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "notes/NotesTrailer.h"

class CNote;

class NoteSnoozeSection {
public:
    static constexpr uint32_t kTag = TrailerTag("SNOZ");
    static constexpr uint16_t kVersion = 1;
    static constexpr size_t kEntryBytes = 24;

    // Empty when no note is snoozed: such a file has no section.
    static std::optional<NotesTrailer::Section> Encode(std::span<const CNote* const> notes);
    // Gives each note whose id the section holds its snooze; the others are
    // not snoozed. A damaged section (the trailer dropped it) snoozes none.
    // The notes must have their ids already.
    static void Apply(const NotesTrailer::SectionView* section, std::span<CNote* const> notes);
};
