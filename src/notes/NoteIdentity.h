#pragma once
// Who a note is, apart from what it holds: two computers on one notes file
// tell a note edited over there from a new one by its id, not by its text or
// place. Stored in the notes file's trailer, after the plain records.
#include <cstddef>
#include <cstdint>
#include <functional>

// 128 random bits, made once for a note (or once per installation, for the
// computer that changed a note last). All zero: not given yet.
struct NoteId {
    uint64_t hi = 0;
    uint64_t lo = 0;
    bool IsNull() const { return hi == 0 && lo == 0; }
    bool operator==(const NoteId&) const = default;
};

template <>
struct std::hash<NoteId> {
    size_t operator()(const NoteId& id) const noexcept { return std::hash<uint64_t>{}(id.hi ^ (id.lo * 0x9E3779B97F4A7C15ull)); }
};

// The identity a note carries through copies, the bin, backups and restores.
struct NoteIdentity {
    NoteId id;
    int64_t createdUtc = 0;  // seconds since 1970, UTC; 0: not known
    int64_t changedUtc = 0;  // the last change of any of its fields
    NoteId changedBy;        // the installation that made that change
    // The other installation's change that this installation's run of
    // changes to the note was made on top of (0: none known), so that a
    // copy of that version which turns up later is known as an earlier
    // state, not a change made elsewhere.
    int64_t basedOnUtc = 0;
    NoteId basedOnBy = {};
    bool operator==(const NoteIdentity&) const = default;
};
