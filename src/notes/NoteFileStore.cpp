#include "notes/NoteFileStore.h"

#include <cstdint>

bool INoteFileStore::ReadAll(const std::string& path, std::vector<uint8_t>& out)
{
    out.clear();
    auto reader = OpenForReading(path);
    if (!reader || reader->Size() > SIZE_MAX)
        return false;
    out.resize(static_cast<size_t>(reader->Size()));
    size_t done = 0;
    while (done < out.size()) {
        size_t got = 0;
        if (!reader->Read(out.data() + done, out.size() - done, got) || got == 0)
            break;
        done += got;
    }
    out.resize(done);
    return done == reader->Size();
}
