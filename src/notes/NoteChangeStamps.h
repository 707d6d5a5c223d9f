#pragma once
// Keeps each note's change stamp up to date without anyone who changes a
// note having to remember it. For each id it holds a fingerprint of the
// note's stored record as it was when the stamp was last brought up to date
// (a load, a save, a merge); a walk over the notes then stamps every note
// whose record no longer matches, and every note it has not seen.
#include <cstdint>
#include <span>

#include "notes/NoteIdTable.h"
#include "notes/NoteIdentity.h"

class CNote;

class NoteChangeStamps {
public:
    // A 64-bit hash of a stored record: equal records, equal fingerprints;
    // a changed record all but surely another.
    static uint64_t Fingerprint(std::span<const uint8_t> record);

    // The smallest step between two changes of one note: stamps are whole
    // seconds, as the file keeps them.
    static constexpr int64_t kStampStep = 1;

    // A walk over every note of the list, in any order. While stamping, a
    // note new to the walk takes installation and now as its change, and a
    // note whose record changed takes now, or its last change + kStampStep
    // when that is later (a clock behind the other computer's); a note without an id, or with one an
    // earlier note of the walk has (a copy), becomes a new note. Otherwise
    // (after a load) the notes are only remembered as they are, and such a
    // note gets a new id with its times not known.
    // expected: about how many notes the walk will see.
    void BeginStamping(int64_t now, NoteId installation, size_t expected);
    void BeginRemembering(size_t expected);
    void Walk(CNote& note, std::span<const uint8_t> record);
    // The walked notes are the ones known from now on.
    void End();

    // Every note counts as not seen: the next stamping walk stamps them all.
    void Forget() { m_known.Reset(); }

private:
    NoteIdTable m_known;
    NoteIdTable m_walked;
    bool m_stamping = false;
    int64_t m_now = 0;
    NoteId m_installation;
};
