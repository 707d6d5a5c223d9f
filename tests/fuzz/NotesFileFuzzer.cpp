// Any bytes given to the notes file reader either load as a whole list that
// stores back to a file which loads to the same list, or are refused.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "notes/Archive.h"
#include "notes/CNoteList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CNoteList list;
    try {
        CArchive ar(std::span<const uint8_t>(data, size));
        list.Serialize(ar);
    } catch (const ArchiveError&) {
        return 0;
    }
    const auto stored = list.StoreToBytes();
    CNoteList again;
    CArchive reread(stored);
    again.Serialize(reread);
    if (again.StoreToBytes() != stored || again.m_nCount != list.m_nCount)
        std::abort();
    return 0;
}
