#include "notes/NotesTrailer.h"

#include <algorithm>
#include <array>

#include "notes/Archive.h"

namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

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
    for (uint8_t b : bytes)
        crc = kCrcTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::vector<NotesTrailer::Section> NotesTrailer::Read(std::span<const uint8_t> bytes)
{
    std::vector<Section> sections;
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
            sections.push_back({header.tag, header.version, {payload.begin(), payload.end()}});
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

const NotesTrailer::Section* NotesTrailer::Find(std::span<const Section> sections, uint32_t tag)
{
    const auto found = std::find_if(sections.begin(), sections.end(), [tag](const Section& s) { return s.tag == tag; });
    return found == sections.end() ? nullptr : &*found;
}

std::vector<NotesTrailer::Section> NotesTrailer::Others(std::vector<Section>&& sections,
                                                        std::span<const uint32_t> known)
{
    std::erase_if(sections, [known](const Section& s) {
        return std::find(known.begin(), known.end(), s.tag) != known.end();
    });
    return std::move(sections);
}
