#include "notes/NoteBasedOnSection.h"

#include <unordered_map>

#include "notes/Archive.h"
#include "notes/CNote.h"

namespace {

constexpr size_t kCountBytes = 6;

struct BasedOn {
    int64_t utc;
    NoteId by;
};

}  // namespace

std::optional<NotesTrailer::Section> NoteBasedOnSection::Encode(std::span<const CNote* const> notes)
{
    uint32_t count = 0;
    for (const CNote* note : notes)
        count += note->m_identity.basedOnUtc != 0 ? 1 : 0;
    if (count == 0)
        return std::nullopt;
    CArchive ar;
    ar.WriteU32(count);
    ar.WriteU16(static_cast<uint16_t>(kEntryBytes));
    for (const CNote* note : notes) {
        const NoteIdentity& identity = note->m_identity;
        if (identity.basedOnUtc == 0)
            continue;
        ar.WriteU64(identity.id.hi);
        ar.WriteU64(identity.id.lo);
        ar.WriteU64(static_cast<uint64_t>(identity.basedOnUtc));
        ar.WriteU64(identity.basedOnBy.hi);
        ar.WriteU64(identity.basedOnBy.lo);
    }
    return NotesTrailer::Section{kTag, kVersion, ar.TakeBuffer()};
}

void NoteBasedOnSection::Apply(const NotesTrailer::SectionView* section, std::span<CNote* const> notes)
{
    for (CNote* note : notes) {
        note->m_identity.basedOnUtc = 0;
        note->m_identity.basedOnBy = {};
    }
    if (!section || section->payload.size() < kCountBytes)
        return;
    const uint8_t* p = section->payload.data();
    const uint32_t count = CArchive::U32At(p);
    const size_t entryBytes = CArchive::U16At(p + 4);
    // Read whole or not used: the length and count must agree with the
    // bytes there are.
    if (entryBytes < kEntryBytes || (section->payload.size() - kCountBytes) / entryBytes != count ||
        (section->payload.size() - kCountBytes) % entryBytes != 0)
        return;
    std::unordered_map<NoteId, BasedOn> basedOn;
    basedOn.reserve(count);
    p += kCountBytes;
    for (uint32_t i = 0; i < count; ++i, p += entryBytes) {
        const auto utc = static_cast<int64_t>(CArchive::U64At(p + 16));
        if (utc > 0)
            basedOn[NoteId{CArchive::U64At(p), CArchive::U64At(p + 8)}] = {
                utc, NoteId{CArchive::U64At(p + 24), CArchive::U64At(p + 32)}};
    }
    for (CNote* note : notes) {
        const auto found = basedOn.find(note->m_identity.id);
        if (found != basedOn.end() && !note->m_identity.id.IsNull()) {
            note->m_identity.basedOnUtc = found->second.utc;
            note->m_identity.basedOnBy = found->second.by;
        }
    }
}
