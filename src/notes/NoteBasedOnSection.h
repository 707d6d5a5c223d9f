#pragma once
// The trailer section ("PREV") of the change each note's last run of
// changes on one computer was made on top of (NoteIdentity::basedOnUtc and
// basedOnBy), written only while some note has one. A section of its own,
// so the id section keeps its layout for readers that know only that one;
// a damaged one costs only what it held. Payload: u32 count, u16 entry
// length (40 in version 1), then per note its id (u64 high, u64 low), the
// change's time (i64 seconds since 1970, UTC) and installation (u64 high,
// u64 low).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "notes/NotesTrailer.h"

class CNote;

class NoteBasedOnSection {
public:
    static constexpr uint32_t kTag = TrailerTag("PREV");
    static constexpr uint16_t kVersion = 1;
    static constexpr size_t kEntryBytes = 40;

    // Empty when no note has such a change: such a file has no section.
    static std::optional<NotesTrailer::Section> Encode(std::span<const CNote* const> notes);
    // Gives each note whose id the section holds its change; the others
    // have none known. A damaged section (or none) gives none. The notes
    // must have their ids already.
    static void Apply(const NotesTrailer::SectionView* section, std::span<CNote* const> notes);
};
