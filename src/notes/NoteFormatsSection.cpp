#include "notes/NoteFormatsSection.h"

#include <vector>

#include "notes/Archive.h"
#include "notes/CNote.h"
#include "notes/NoteIdTable.h"

namespace {

constexpr size_t kCountBytes = 4;

// One entry's runs; false when the bytes left cannot hold them.
bool ReadRuns(std::span<const uint8_t> bytes, size_t& at, TextFormatRuns& runs)
{
    const size_t count = CArchive::U32At(bytes.data() + at + 16);
    at += NoteFormatsSection::kEntryHeadBytes;
    if (count > (bytes.size() - at) / NoteFormatsSection::kRunBytes)
        return false;
    runs.resize(count);
    for (TextFormatRun& run : runs) {
        run = {CArchive::U32At(bytes.data() + at), CArchive::U32At(bytes.data() + at + 4), bytes[at + 8]};
        at += NoteFormatsSection::kRunBytes;
    }
    return true;
}

}  // namespace

bool NoteFormatsSection::Fits(std::span<const TextFormatRun> runs, size_t textLength)
{
    uint64_t end = 0;
    for (const TextFormatRun& run : runs) {
        if (run.length == 0 || run.start < end || (run.formats & ~kKnownTextFormats))
            return false;
        end = uint64_t{run.start} + run.length;
    }
    return end <= textLength;
}

std::optional<NotesTrailer::Section> NoteFormatsSection::Encode(std::span<const CNote* const> notes)
{
    CArchive ar;
    ar.WriteU32(0);
    uint32_t entries = 0;
    for (const CNote* note : notes) {
        // Runs a window took before its text changed again are not written:
        // the next save has them right.
        if (note->m_formats.empty() || !Fits(note->m_formats, note->m_strText.size()))
            continue;
        ar.WriteU64(note->m_identity.id.hi);
        ar.WriteU64(note->m_identity.id.lo);
        ar.WriteU32(static_cast<uint32_t>(note->m_formats.size()));
        for (const TextFormatRun& run : note->m_formats) {
            ar.WriteU32(run.start);
            ar.WriteU32(run.length);
            ar.WriteU8(run.formats);
        }
        ++entries;
    }
    if (!entries)
        return std::nullopt;
    std::vector<uint8_t> payload = ar.TakeBuffer();
    for (int i = 0; i < 4; ++i)
        payload[i] = static_cast<uint8_t>(entries >> (8 * i));
    return NotesTrailer::Section{kTag, kVersion, std::move(payload)};
}

void NoteFormatsSection::Apply(const NotesTrailer::SectionView* section, std::span<CNote* const> notes)
{
    for (CNote* note : notes)
        note->m_formats.clear();
    if (!section || section->version != kVersion || section->payload.size() < kCountBytes)
        return;
    NoteIdTable byId;
    byId.Reset(notes.size());
    for (size_t i = 0; i < notes.size(); ++i) {
        if (!notes[i]->m_identity.id.IsNull())
            byId.Insert(notes[i]->m_identity.id, i);
    }
    const std::span<const uint8_t> bytes = section->payload;
    const size_t count = CArchive::U32At(bytes.data());
    size_t at = kCountBytes;
    TextFormatRuns runs;
    for (size_t i = 0; i < count && bytes.size() - at >= kEntryHeadBytes; ++i) {
        const NoteId id{CArchive::U64At(bytes.data() + at), CArchive::U64At(bytes.data() + at + 8)};
        if (!ReadRuns(bytes, at, runs))
            return;
        const uint64_t* index = id.IsNull() ? nullptr : byId.Find(id);
        if (index && Fits(runs, notes[*index]->m_strText.size()))
            notes[*index]->m_formats = runs;
    }
}
