#include "notes/NoteIdentitySection.h"

#include "notes/Archive.h"
#include "notes/CNote.h"
#include "notes/NoteIdSource.h"
#include "notes/NoteIdTable.h"

NotesTrailer::Section NoteIdentitySection::Encode(std::span<const CNote* const> notes)
{
    CArchive ar;
    NotesTrailer::WriteEntriesHead(ar, static_cast<uint32_t>(notes.size()), kEntryBytes);
    for (const CNote* note : notes) {
        const NoteIdentity& identity = note->m_identity;
        ar.WriteU64(identity.id.hi);
        ar.WriteU64(identity.id.lo);
        ar.WriteU64(static_cast<uint64_t>(identity.createdUtc));
        ar.WriteU64(static_cast<uint64_t>(identity.changedUtc));
        ar.WriteU64(identity.changedBy.hi);
        ar.WriteU64(identity.changedBy.lo);
    }
    return {kTag, kVersion, ar.TakeBuffer()};
}

void NoteIdentitySection::Apply(const NotesTrailer::SectionView* section, std::span<CNote* const> notes)
{
    NotesTrailer::Entries entries;
    // Entries are by place: a count that is not the notes' (a plain reader
    // saved the file) pairs no entry with its note.
    if (!section || !NotesTrailer::ReadEntries(section->payload, kEntryBytes, entries) || entries.count != notes.size())
        return;
    const uint8_t* p = entries.first;
    for (CNote* note : notes) {
        NoteIdentity& identity = note->m_identity;
        identity.id = {CArchive::U64At(p), CArchive::U64At(p + 8)};
        identity.createdUtc = static_cast<int64_t>(CArchive::U64At(p + 16));
        identity.changedUtc = static_cast<int64_t>(CArchive::U64At(p + 24));
        identity.changedBy = {CArchive::U64At(p + 32), CArchive::U64At(p + 40)};
        p += entries.entryBytes;
    }
}

void NoteIdentitySection::GiveNewIdsToRepeats(std::span<CNote* const> notes)
{
    NoteIdTable seen;
    seen.Reset(notes.size());
    for (CNote* note : notes) {
        NoteIdentity& identity = note->m_identity;
        if (identity.id.IsNull() || !seen.Insert(identity.id, 0)) {
            identity = {};
            while (!seen.Insert(identity.id = NoteIdSource::NewId(), 0)) {
            }
        }
    }
}
