#pragma once
// Where the plain records of a notes file end and its trailer begins, so
// that tests of the record layout compare the records alone.
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
