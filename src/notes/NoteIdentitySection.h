#pragma once
// The trailer section of note identities ("NIDS"): one entry per note, in
// the order of the records. Payload: u32 count, u16 entry length (48 in
// version 1), then per note the id (u64 high half, u64 low half), made and
// changed (i64 seconds since 1970, UTC) and the id of the installation that
// changed it last (two u64 as before).
#include <cstddef>
#include <cstdint>
#include <span>

#include "notes/NotesTrailer.h"

class CNote;

class NoteIdentitySection {
public:
    static constexpr uint32_t kTag = TrailerTag("NIDS");
    static constexpr uint16_t kVersion = 1;
    static constexpr size_t kEntryBytes = 48;

    static NotesTrailer::Section Encode(std::span<const CNote* const> notes);
    // Gives each note its identity from the section, when there is one that
    // holds an entry for every note. A note left without an id (none in the
    // section, or one an earlier note has) gets a new one, its times not
    // known. The section is null when the file had none.
    static void Apply(const NotesTrailer::Section* section, std::span<CNote* const> notes);
};
