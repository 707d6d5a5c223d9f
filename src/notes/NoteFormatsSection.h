#pragma once
// The trailer section of character formats ("NFMT"), for the notes that have
// any; a file with no formatted note has none. Keyed by note id, so it
// stays right when the notes are reordered. Payload (version 1): u32 entry
// count, then per entry the note id (u64 high half, u64 low half), u32 run
// count and per run u32 start, u32 length (UTF-16 units of the stored text)
// and u8 formats.
//
// Formats are the one thing here a reader may lose: an entry whose runs lie
// (past the note's text, overlapping, out of order, unknown bits) costs only
// that note's formats; a count larger than the bytes left ends the reading
// there; a version this reader does not know costs every note's formats.
// The text is in the plain record and is never touched.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "notes/NotesTrailer.h"
#include "notes/TextFormatRun.h"

class CNote;

class NoteFormatsSection {
public:
    static constexpr uint32_t kTag = TrailerTag("NFMT");
    static constexpr uint16_t kVersion = 1;
    static constexpr size_t kEntryHeadBytes = 20;
    static constexpr size_t kRunBytes = 9;

    // Nothing when no note has formats that fit its text.
    static std::optional<NotesTrailer::Section> Encode(std::span<const CNote* const> notes);
    // Gives the notes named in the section their formats; the others keep
    // none. The section is null when the file had none.
    static void Apply(const NotesTrailer::SectionView* section, std::span<CNote* const> notes);
    // True when the runs may stand over a text of textLength units.
    static bool Fits(std::span<const TextFormatRun> runs, size_t textLength);
};
