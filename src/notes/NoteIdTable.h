#pragma once
// A table from note ids to a 64-bit value, for the walks over all 32767
// notes at every load and save: one flat array probed in place, with no
// allocation per note, where a node-based map spent most of a load's added
// time following pointers. Ids are random, so their low bits spread well.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "notes/NoteIdentity.h"

class NoteIdTable {
public:
    // Empties the table, keeping its storage, with room for expected ids.
    void Reset(size_t expected = 0);
    // Adds the id (never the null id); false, with nothing changed, when the
    // table holds it already.
    bool Insert(NoteId id, uint64_t value);
    // The id's value, or null.
    const uint64_t* Find(NoteId id) const;
    size_t Size() const { return m_size; }

private:
    struct Slot {
        NoteId id;  // null: free
        uint64_t value = 0;
    };
    size_t Home(NoteId id) const { return static_cast<size_t>((id.hi ^ id.lo) * 0x9E3779B97F4A7C15ull >> 20) & m_mask; }
    void Grow();

    std::vector<Slot> m_slots;
    size_t m_mask = 0;
    size_t m_size = 0;
};
