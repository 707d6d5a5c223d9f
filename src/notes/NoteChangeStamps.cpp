#include "notes/NoteChangeStamps.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "notes/CNote.h"
#include "notes/NoteIdSource.h"

uint64_t NoteChangeStamps::Fingerprint(std::span<const uint8_t> record)
{
    // Four lanes of eight bytes a step, each lane's multiply independent of
    // the others': a record is mostly its text, and the list of 32767 notes
    // is walked at every load and save.
    constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
    uint64_t lane[4] = {record.size() * kMul, 1, 2, 3};
    size_t i = 0;
    for (; i + 32 <= record.size(); i += 32) {
        for (int k = 0; k < 4; ++k) {
            uint64_t word;
            std::memcpy(&word, record.data() + i + 8 * k, 8);
            lane[k] = (lane[k] ^ word) * kMul;
            lane[k] ^= lane[k] >> 31;
        }
    }
    uint64_t h = lane[0];
    for (int k = 1; k < 4; ++k)
        h = (h ^ lane[k]) * kMul;
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

void NoteChangeStamps::BeginStamping(int64_t now, NoteId installation, size_t expected)
{
    m_stamping = true;
    m_now = now;
    m_installation = installation;
    m_walked.Reset(expected);
}

void NoteChangeStamps::BeginRemembering(size_t expected)
{
    m_stamping = false;
    m_walked.Reset(expected);
}

void NoteChangeStamps::Walk(CNote& note, std::span<const uint8_t> record)
{
    // The formats live outside the record but change the note as much.
    // So does a snooze; a note with neither keeps the record's own
    // fingerprint.
    uint64_t fingerprint = Fingerprint(record) ^ static_cast<uint32_t>(note.m_tSnoozeUntil) * 0x9E3779B97F4A7C15ull;
    for (const TextFormatRun& run : note.m_formats)
        fingerprint = (fingerprint ^ (uint64_t{run.start} << 32 | run.length) ^ uint64_t{run.formats} << 29) *
                      0x100000001B3ull;
    NoteIdentity& identity = note.m_identity;
    if (identity.id.IsNull() || !m_walked.Insert(identity.id, fingerprint)) {
        if (m_stamping) {
            identity = NoteIdSource::NewIdentity(m_now);
            identity.changedBy = m_installation;
        } else {
            identity = {NoteIdSource::NewId(), 0, 0, {}};
        }
        while (!m_walked.Insert(identity.id, fingerprint))
            identity.id = NoteIdSource::NewId();
    }
    if (!m_stamping)
        return;
    const uint64_t* known = m_known.Find(identity.id);
    if (!known) {
        identity.changedUtc = m_now;
        identity.changedBy = m_installation;
    } else if (*known != fingerprint) {
        // The first change here on top of another installation's: that one
        // is what this run of changes grew from.
        if (identity.changedBy != m_installation && identity.changedUtc != 0) {
            identity.basedOnUtc = identity.changedUtc;
            identity.basedOnBy = identity.changedBy;
        }
        // Later than the change it follows even where this computer's clock
        // is behind the one that made that change: else the other computer
        // would take this change for a stale copy put back and drop it.
        identity.changedUtc = std::max(m_now, identity.changedUtc + kStampStep);
        identity.changedBy = m_installation;
    }
}

void NoteChangeStamps::End()
{
    std::swap(m_known, m_walked);
}
