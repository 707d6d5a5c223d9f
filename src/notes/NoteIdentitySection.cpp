#include "notes/NoteIdentitySection.h"

#include <unordered_set>

#include "notes/Archive.h"
#include "notes/CNote.h"
#include "notes/NoteIdSource.h"

namespace {

constexpr size_t kCountBytes = 6;

void WriteU64(CArchive& ar, uint64_t v)
{
    ar.WriteU32(static_cast<uint32_t>(v));
    ar.WriteU32(static_cast<uint32_t>(v >> 32));
}

uint64_t U64At(const uint8_t* p)
{
    return CArchive::U32At(p) | static_cast<uint64_t>(CArchive::U32At(p + 4)) << 32;
}

// True when the section holds an entry for each of count notes.
bool Fits(const NotesTrailer::Section& section, size_t count, size_t& entryBytes)
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
        WriteU64(ar, identity.id.hi);
        WriteU64(ar, identity.id.lo);
        WriteU64(ar, static_cast<uint64_t>(identity.createdUtc));
        WriteU64(ar, static_cast<uint64_t>(identity.changedUtc));
        WriteU64(ar, identity.changedBy.hi);
        WriteU64(ar, identity.changedBy.lo);
    }
    return {kTag, kVersion, ar.TakeBuffer()};
}

void NoteIdentitySection::Apply(const NotesTrailer::Section* section, std::span<CNote* const> notes)
{
    size_t entryBytes = 0;
    if (section && Fits(*section, notes.size(), entryBytes)) {
        const uint8_t* p = section->payload.data() + kCountBytes;
        for (CNote* note : notes) {
            NoteIdentity& identity = note->m_identity;
            identity.id = {U64At(p), U64At(p + 8)};
            identity.createdUtc = static_cast<int64_t>(U64At(p + 16));
            identity.changedUtc = static_cast<int64_t>(U64At(p + 24));
            identity.changedBy = {U64At(p + 32), U64At(p + 40)};
            p += entryBytes;
        }
    }
    std::unordered_set<NoteId> seen;
    seen.reserve(notes.size());
    for (CNote* note : notes) {
        NoteIdentity& identity = note->m_identity;
        if (identity.id.IsNull() || !seen.insert(identity.id).second) {
            identity = {};
            while (!seen.insert(identity.id = NoteIdSource::NewId()).second) {
            }
        }
    }
}
