#pragma once
// Where the plain records of a notes file end and its trailer begins, so
// that tests of the record layout compare the records alone; and the bytes
// of its sections, to look for one or damage one.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "notes/Archive.h"
#include "notes/CNote.h"

// The offset just past the last record.
inline size_t RecordsEnd(std::span<const uint8_t> file)
{
    CArchive ar(file);
    ar.ReadU32();
    const int count = static_cast<int16_t>(ar.ReadU16());
    for (int i = 0; i < count; ++i)
        std::make_unique<CNote>(CNote::ForLoading{})->Serialize(ar);
    return file.size() - static_cast<size_t>(ar.Remaining());
}

inline std::vector<uint8_t> WithoutTrailer(std::span<const uint8_t> file)
{
    return {file.begin(), file.begin() + static_cast<std::ptrdiff_t>(RecordsEnd(file))};
}

// True when the four letters of a trailer tag stand anywhere in bytes.
inline bool HoldsTag(std::span<const uint8_t> bytes, uint32_t tag)
{
    const uint8_t letters[4] = {static_cast<uint8_t>(tag), static_cast<uint8_t>(tag >> 8),
                                static_cast<uint8_t>(tag >> 16), static_cast<uint8_t>(tag >> 24)};
    return std::search(bytes.begin(), bytes.end(), letters, letters + 4) != bytes.end();
}

// Overwrites a little-endian field in place, to damage a payload on purpose.
inline void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void PutU16(std::vector<uint8_t>& bytes, size_t at, uint16_t v)
{
    bytes[at] = static_cast<uint8_t>(v);
    bytes[at + 1] = static_cast<uint8_t>(v >> 8);
}
