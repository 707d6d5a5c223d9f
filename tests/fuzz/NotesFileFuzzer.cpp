// Any bytes given to the notes file reader either load as a whole list that
// stores back to a file which loads to the same list, or are refused. The
// streaming reader, pulling the bytes through a small window in odd pieces,
// must come to exactly the same answer as reading them all at once. The
// trailer after the records is read as part of the file (ids, kept
// sections, formats), by the deleted-notes bin as well, and on its own; and
// the same bytes are read as pasted rich text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/DeletedNotesBin.h"
#include "notes/NoteFileStore.h"
#include "notes/NoteFormatsSection.h"
#include "notes/NoteIdSource.h"
#include "notes/NotesTrailer.h"
#include "notes/RtfRunReader.h"
#include "skin/PlainBmp.h"

namespace {

class PieceReader : public INoteFileReader {
public:
    PieceReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint64_t Size() const override { return m_size; }
    bool Read(void* out, size_t size, size_t& got) override
    {
        got = std::min<size_t>({size, 5, m_size - m_at});
        if (got)
            std::memcpy(out, m_data + m_at, got);
        m_at += got;
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

// Ids handed to notes that have none, the same for every load of one input,
// so that two loads of it can be compared byte for byte.
uint64_t g_nextId = 0;

bool CountingIds(void* out, size_t size)
{
    std::memset(out, 0, size);
    ++g_nextId;
    std::memcpy(out, &g_nextId, std::min(size, sizeof g_nextId));
    return true;
}

// The stored form of what loads, or empty when the input is refused.
std::vector<uint8_t> LoadAndStore(CArchive&& ar, bool& ok)
{
    g_nextId = 0;
    CNoteList list;
    try {
        list.Serialize(ar);
    } catch (const ArchiveError&) {
        ok = false;
        return {};
    }
    ok = true;
    return list.StoreToBytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool installed = [] {
        NoteIdSource::SetRandomBytes(CountingIds);
        return true;
    }();
    (void)installed;

    // Read on its own, every section found lies inside the input and stores
    // back to a trailer that reads the same.
    const auto sections = NotesTrailer::Others(NotesTrailer::Read(std::span<const uint8_t>(data, size)), {});
    CArchive rewritten;
    NotesTrailer::Write(rewritten, sections);
    if (NotesTrailer::Others(NotesTrailer::Read(rewritten.Buffer()), {}) != sections)
        std::abort();

    // As the bin: loads or is refused, never reads past the input.
    CDeletedNotesBin bin;
    if (bin.LoadFromBytes(std::vector<uint8_t>(data, data + size), 1'800'000'000)) {
        CDeletedNotesBin again;
        if (!again.LoadFromBytes(bin.StoreToBytes(), 1'800'000'000) || again.Entries().size() != bin.Entries().size())
            std::abort();
    }

    // As the rich text of a paste: runs that always fit the text read.
    const RtfRunReader::Result rich = RtfRunReader::Read(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!NoteFormatsSection::Fits(rich.runs, rich.text.size()))
        std::abort();

    // The same bytes as a skin picture: what the BMP layout lets be read
    // must lie inside them.
    if (const auto bmp = ParsePlainBmp(std::span<const uint8_t>(data, size));
        bmp && (bmp->pixelsAt > size || bmp->pixelBytes > size - bmp->pixelsAt))
        std::abort();

    bool whole = false;
    const auto stored = LoadAndStore(CArchive(std::span<const uint8_t>(data, size)), whole);

    PieceReader reader(data, size);
    bool streamed = false;
    if (LoadAndStore(CArchive(reader, 128), streamed) != stored || streamed != whole)
        std::abort();
    if (!whole)
        return 0;

    bool again = false;
    if (LoadAndStore(CArchive(std::span<const uint8_t>(stored)), again) != stored || !again)
        std::abort();
    return 0;
}
