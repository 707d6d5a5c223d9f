#include "notes/NotesTrailer.h"

#include <algorithm>
#include <array>

#include "notes/Archive.h"

namespace {

// Eight tables, so that the identities of 32767 notes (1.5 MB) are checked
// eight bytes a step at every load.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CrcTables MakeCrcTables()
{
    CrcTables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i)
        for (size_t k = 1; k < 8; ++k)
            t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
}

constexpr CrcTables kCrc = MakeCrcTables();

// The section header's fields before its own checksum.
constexpr size_t kCheckedHeaderBytes = NotesTrailer::kSectionHeaderBytes - 4;

struct Header {
    uint32_t tag;
    uint16_t version;
    uint32_t length;
    uint32_t payloadCrc;
};

enum class HeaderRead { kWhole, kDamaged, kCutOff };

// The header at p (left bytes from p to the end of the file).
HeaderRead ReadHeader(const uint8_t* p, size_t left, Header& header)
{
    if (NotesTrailer::Crc32({p, kCheckedHeaderBytes}) != CArchive::U32At(p + kCheckedHeaderBytes))
        return HeaderRead::kDamaged;
    header = {CArchive::U32At(p), CArchive::U16At(p + 4), CArchive::U32At(p + 6), CArchive::U32At(p + 10)};
    return header.length <= left - NotesTrailer::kSectionHeaderBytes ? HeaderRead::kWhole : HeaderRead::kCutOff;
}

}  // namespace

uint32_t NotesTrailer::Crc32(std::span<const uint8_t> bytes, uint32_t crc)
{
    crc = ~crc;
    const uint8_t* p = bytes.data();
    size_t n = bytes.size();
    for (; n >= 8; n -= 8, p += 8) {
        const uint32_t lo = CArchive::U32At(p) ^ crc;
        const uint32_t hi = CArchive::U32At(p + 4);
        crc = kCrc[7][lo & 0xFF] ^ kCrc[6][(lo >> 8) & 0xFF] ^ kCrc[5][(lo >> 16) & 0xFF] ^ kCrc[4][lo >> 24] ^
              kCrc[3][hi & 0xFF] ^ kCrc[2][(hi >> 8) & 0xFF] ^ kCrc[1][(hi >> 16) & 0xFF] ^ kCrc[0][hi >> 24];
    }
    for (; n > 0; --n, ++p)
        crc = kCrc[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::vector<NotesTrailer::SectionView> NotesTrailer::Read(std::span<const uint8_t> bytes)
{
    std::vector<SectionView> sections;
    if (bytes.size() < kStartBytes || CArchive::U32At(bytes.data()) != kMagic ||
        CArchive::U16At(bytes.data() + 4) != kContainerVersion)
        return sections;
    size_t at = kStartBytes;
    while (bytes.size() - at >= kSectionHeaderBytes) {
        Header header;
        const HeaderRead read = ReadHeader(bytes.data() + at, bytes.size() - at, header);
        if (read == HeaderRead::kCutOff)
            break;  // the file ends inside this section: nothing follows it
        if (read == HeaderRead::kDamaged) {
            // Its length cannot be trusted: the next whole header, if any,
            // starts a later section.
            ++at;
            continue;
        }
        const auto payload = bytes.subspan(at + kSectionHeaderBytes, header.length);
        if (Crc32(payload) == header.payloadCrc)
            sections.push_back({header.tag, header.version, payload});
        at += kSectionHeaderBytes + header.length;
    }
    return sections;
}

void NotesTrailer::Write(CArchive& ar, std::span<const Section> ours, std::span<const Section> kept)
{
    ar.WriteU32(kMagic);
    ar.WriteU16(kContainerVersion);
    for (std::span<const Section> part : {ours, kept}) {
        for (const Section& section : part) {
            const size_t at = ar.Buffer().size();
            ar.WriteU32(section.tag);
            ar.WriteU16(section.version);
            ar.WriteU32(static_cast<uint32_t>(section.payload.size()));
            ar.WriteU32(Crc32(section.payload));
            ar.WriteU32(Crc32({ar.Buffer().data() + at, kCheckedHeaderBytes}));
            ar.WriteBytes(section.payload.data(), section.payload.size());
        }
    }
}

bool NotesTrailer::ReadEntries(std::span<const uint8_t> payload, size_t minEntryBytes, Entries& entries)
{
    if (payload.size() < kEntriesHeadBytes)
        return false;
    const uint32_t count = CArchive::U32At(payload.data());
    const size_t entryBytes = CArchive::U16At(payload.data() + 4);
    const size_t body = payload.size() - kEntriesHeadBytes;
    if (entryBytes < minEntryBytes || body / entryBytes != count || body % entryBytes != 0)
        return false;
    entries = {count, entryBytes, payload.data() + kEntriesHeadBytes};
    return true;
}

void NotesTrailer::WriteEntriesHead(CArchive& ar, uint32_t count, size_t entryBytes)
{
    ar.WriteU32(count);
    ar.WriteU16(static_cast<uint16_t>(entryBytes));
}

const NotesTrailer::SectionView* NotesTrailer::Find(std::span<const SectionView> sections, uint32_t tag)
{
    const auto found =
        std::find_if(sections.begin(), sections.end(), [tag](const SectionView& s) { return s.tag == tag; });
    return found == sections.end() ? nullptr : &*found;
}

std::vector<NotesTrailer::Section> NotesTrailer::Others(std::span<const SectionView> sections,
                                                        std::span<const uint32_t> known)
{
    std::vector<Section> others;
    for (const SectionView& s : sections)
        if (std::find(known.begin(), known.end(), s.tag) == known.end())
            others.push_back({s.tag, s.version, {s.payload.begin(), s.payload.end()}});
    return others;
}
