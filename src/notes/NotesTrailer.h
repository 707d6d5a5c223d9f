#pragma once
// What the plain note record has no room for (a note's id and change stamps,
// the dates of the deleted-notes bin, and whatever later versions add) goes
// after the last record of the file, in a trailer. Readers of the plain
// format read the header, the count and the records and stop there, so they
// still read every note; this program reads on.
//
// The trailer, all integers little-endian:
//   start    "VTRL", u16 container version (1)
//   section  4-byte tag (ASCII), u16 section version, u32 payload length,
//            u32 CRC-32 of the payload, u32 CRC-32 of the 14 bytes before it,
//            then the payload
// Sections follow one another to the end of the file.
//
// Every part is checked before it is used, and a fault costs only the part
// it hit:
// - no start mark (an old file, or one cut at the last record), or a
//   container version this reader does not know: no trailer;
// - a section cut off by the end of the file: that section and nothing after
//   it, since nothing can follow;
// - a payload that fails its checksum: that section; its header still says
//   where the next one starts;
// - a header that fails its checksum: that section; reading goes on at the
//   next place that holds a whole, checked header.
// A section whose tag the reader does not know (written by a newer version)
// is kept and written back byte for byte. A section version only ever adds
// fields (each section says how long its entries are), so a reader takes
// the fields it knows from any version of a tag it knows; a change that an
// older reader could not read takes a new tag. A section that holds one
// entry per note carries its count, so that a reader can tell when the notes
// no longer match it (a plain reader saved the file); it is then not used.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class CArchive;

// A tag from its four letters, as it lies in the file.
constexpr uint32_t TrailerTag(const char (&name)[5])
{
    return static_cast<uint32_t>(static_cast<uint8_t>(name[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(name[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(name[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(name[3])) << 24;
}

class NotesTrailer {
public:
    static constexpr uint32_t kMagic = TrailerTag("VTRL");
    static constexpr uint16_t kContainerVersion = 1;
    static constexpr size_t kStartBytes = 6;
    static constexpr size_t kSectionHeaderBytes = 18;

    struct Section {
        uint32_t tag = 0;
        uint16_t version = 0;
        std::vector<uint8_t> payload;
        bool operator==(const Section&) const = default;
    };
    // A section where it lies in the bytes read: a load copies nothing it
    // does not keep.
    struct SectionView {
        uint32_t tag = 0;
        uint16_t version = 0;
        std::span<const uint8_t> payload;
    };

    // The whole, checked sections of the bytes after the last record, in
    // file order; they point into bytes. Never fails: what cannot be read is
    // not there.
    static std::vector<SectionView> Read(std::span<const uint8_t> bytes);
    // Appends a trailer holding the given sections, in this order.
    static void Write(CArchive& ar, std::span<const Section> ours, std::span<const Section> kept = {});

    // A section of fixed-size entries (one for each note, or for each note
    // that has the field) opens with a u32 count and a u16 entry length; a
    // later version may lengthen its entries, never shorten them.
    static constexpr size_t kEntriesHeadBytes = 6;
    struct Entries {
        uint32_t count = 0;
        size_t entryBytes = 0;
        const uint8_t* first = nullptr;  // the first entry; entryBytes apart
    };
    // The entries of the payload, or false when it is too short to say, its
    // entries are shorter than the minEntryBytes this reader needs, or the
    // count and the length do not account for the payload exactly: then no
    // entry is used. minEntryBytes is at least 1.
    static bool ReadEntries(std::span<const uint8_t> payload, size_t minEntryBytes, Entries& entries);
    static void WriteEntriesHead(CArchive& ar, uint32_t count, size_t entryBytes);

    // The first section of the tag, or null.
    static const SectionView* Find(std::span<const SectionView> sections, uint32_t tag);
    // Copies of the sections whose tags are not among known, for writing back.
    static std::vector<Section> Others(std::span<const SectionView> sections, std::span<const uint32_t> known);

    // CRC-32 as zip and PNG compute it.
    static uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc = 0);
};
