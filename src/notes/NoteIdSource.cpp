#include "notes/NoteIdSource.h"

#include <cstring>
#include <random>

namespace {

bool DefaultRandomBytes(void* out, size_t size)
{
    static std::random_device device;
    auto* bytes = static_cast<uint8_t*>(out);
    while (size > 0) {
        const uint32_t word = device();
        const size_t n = size < sizeof word ? size : sizeof word;
        std::memcpy(bytes, &word, n);
        bytes += n;
        size -= n;
    }
    return true;
}

NoteIdSource::RandomBytes& Source()
{
    static NoteIdSource::RandomBytes source = DefaultRandomBytes;
    return source;
}

NoteId& InstallationSlot()
{
    static NoteId installation;
    return installation;
}

}  // namespace

void NoteIdSource::SetRandomBytes(RandomBytes source)
{
    Source() = source ? std::move(source) : RandomBytes(DefaultRandomBytes);
}

NoteId NoteIdSource::NewId()
{
    NoteId id;
    // A failed system source still must not hand out a null or a repeated id.
    for (int tries = 0; id.IsNull(); ++tries) {
        uint64_t words[2] = {};
        if (tries >= 2 || !Source()(words, sizeof words))
            DefaultRandomBytes(words, sizeof words);
        id = {words[0], words[1]};
    }
    return id;
}

NoteIdentity NoteIdSource::NewIdentity(int64_t now)
{
    return {NewId(), now, now, Installation()};
}

void NoteIdSource::SetInstallation(NoteId installation)
{
    InstallationSlot() = installation;
}

NoteId NoteIdSource::Installation()
{
    NoteId& installation = InstallationSlot();
    if (installation.IsNull())
        installation = NewId();
    return installation;
}
