#include "notes/NoteChangeStamps.h"

#include <cstring>

#include "notes/CNote.h"
#include "notes/NoteIdSource.h"

uint64_t NoteChangeStamps::Fingerprint(std::span<const uint8_t> record)
{
    // Eight bytes a step: a record is mostly its text, and the list of
    // 32767 notes is walked at every save.
    constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
    uint64_t h = record.size() * kMul;
    size_t i = 0;
    for (; i + 8 <= record.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, record.data() + i, 8);
        h = (h ^ word) * kMul;
        h ^= h >> 31;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, record.data() + i, record.size() - i);
    h = (h ^ tail) * kMul;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 32);
}

void NoteChangeStamps::BeginStamping(int64_t now, NoteId installation)
{
    m_stamping = true;
    m_now = now;
    m_installation = installation;
    m_walked.clear();
    m_walked.reserve(m_known.size() + 16);
}

void NoteChangeStamps::BeginRemembering()
{
    m_stamping = false;
    m_walked.clear();
}

void NoteChangeStamps::Walk(CNote& note, std::span<const uint8_t> record)
{
    const uint64_t fingerprint = Fingerprint(record);
    NoteIdentity& identity = note.m_identity;
    if (m_stamping) {
        if (identity.id.IsNull() || m_walked.count(identity.id)) {
            identity = NoteIdSource::NewIdentity(m_now);
            identity.changedBy = m_installation;
        }
        const auto known = m_known.find(identity.id);
        if (known == m_known.end() || known->second != fingerprint) {
            identity.changedUtc = m_now;
            identity.changedBy = m_installation;
        }
    }
    m_walked.emplace(identity.id, fingerprint);
}

void NoteChangeStamps::End()
{
    m_known.swap(m_walked);
    m_walked.clear();
}
