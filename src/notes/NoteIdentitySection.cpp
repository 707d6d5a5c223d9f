#include "notes/NoteIdentitySection.h"

#include "notes/Archive.h"
#include "notes/CNote.h"
#include "notes/NoteIdSource.h"
#include "notes/NoteIdTable.h"

namespace {

constexpr size_t kCountBytes = 6;

// True when the section holds an entry for each of count notes.
bool Fits(const NotesTrailer::SectionView& section, size_t count, size_t& entryBytes)
{
    const auto& payload = section.payload;
    if (payload.size() < kCountBytes || CArchive::U32At(payload.data()) != count)
        return false;
    entryBytes = CArchive::U16At(payload.data() + 4);
    return entryBytes >= NoteIdentitySection::kEntryBytes &&
           (payload.size() - kCountBytes) / entryBytes == count && (payload.size() - kCountBytes) % entryBytes == 0;
}

}  // namespace

NotesTrailer::Section NoteIdentitySection::Encode(std::span<const CNote* const> notes)
{
    CArchive ar;
    ar.WriteU32(static_cast<uint32_t>(notes.size()));
    ar.WriteU16(static_cast<uint16_t>(kEntryBytes));
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
    size_t entryBytes = 0;
    if (!section || !Fits(*section, notes.size(), entryBytes))
        return;
    const uint8_t* p = section->payload.data() + kCountBytes;
    for (CNote* note : notes) {
        NoteIdentity& identity = note->m_identity;
        identity.id = {CArchive::U64At(p), CArchive::U64At(p + 8)};
        identity.createdUtc = static_cast<int64_t>(CArchive::U64At(p + 16));
        identity.changedUtc = static_cast<int64_t>(CArchive::U64At(p + 24));
        identity.changedBy = {CArchive::U64At(p + 32), CArchive::U64At(p + 40)};
        p += entryBytes;
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
