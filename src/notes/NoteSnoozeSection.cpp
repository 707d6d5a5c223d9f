#include "notes/NoteSnoozeSection.h"

#include <cstdint>
#include <unordered_map>

#include "notes/Archive.h"
#include "notes/CNote.h"

std::optional<NotesTrailer::Section> NoteSnoozeSection::Encode(std::span<const CNote* const> notes)
{
    uint32_t count = 0;
    for (const CNote* note : notes)
        count += note->m_tSnoozeUntil != 0 ? 1 : 0;
    if (count == 0)
        return std::nullopt;
    CArchive ar;
    NotesTrailer::WriteEntriesHead(ar, count, kEntryBytes);
    for (const CNote* note : notes) {
        if (note->m_tSnoozeUntil == 0)
            continue;
        ar.WriteU64(note->m_identity.id.hi);
        ar.WriteU64(note->m_identity.id.lo);
        ar.WriteU64(static_cast<uint64_t>(static_cast<int64_t>(note->m_tSnoozeUntil)));
    }
    return NotesTrailer::Section{kTag, kVersion, ar.TakeBuffer()};
}

void NoteSnoozeSection::Apply(const NotesTrailer::SectionView* section, std::span<CNote* const> notes)
{
    for (CNote* note : notes)
        note->m_tSnoozeUntil = 0;
    NotesTrailer::Entries entries;
    if (!section || !NotesTrailer::ReadEntries(section->payload, kEntryBytes, entries))
        return;
    std::unordered_map<NoteId, NoteTime> until;
    until.reserve(entries.count);
    const uint8_t* p = entries.first;
    for (uint32_t i = 0; i < entries.count; ++i, p += entries.entryBytes) {
        const auto at = static_cast<int64_t>(CArchive::U64At(p + 16));
        // A time the note record cannot hold is no snooze.
        if (at > 0 && at <= INT32_MAX)
            until.emplace(NoteId{CArchive::U64At(p), CArchive::U64At(p + 8)}, static_cast<NoteTime>(at));
    }
    for (CNote* note : notes) {
        const auto found = until.find(note->m_identity.id);
        if (found != until.end() && !note->m_identity.id.IsNull())
            note->m_tSnoozeUntil = found->second;
    }
}
