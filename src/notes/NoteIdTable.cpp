#include "notes/NoteIdTable.h"

#include <algorithm>

void NoteIdTable::Reset(size_t expected)
{
    // At most half full: a probe then ends after a slot or two.
    size_t capacity = 16;
    while (capacity < 2 * expected)
        capacity *= 2;
    if (m_slots.size() < capacity)
        m_slots.resize(capacity);
    std::fill(m_slots.begin(), m_slots.end(), Slot{});
    m_mask = m_slots.size() - 1;
    m_size = 0;
}

bool NoteIdTable::Insert(NoteId id, uint64_t value)
{
    if (2 * (m_size + 1) > m_slots.size())
        Grow();
    for (size_t i = Home(id);; i = (i + 1) & m_mask) {
        Slot& slot = m_slots[i];
        if (slot.id == id)
            return false;
        if (slot.id.IsNull()) {
            slot = {id, value};
            ++m_size;
            return true;
        }
    }
}

const uint64_t* NoteIdTable::Find(NoteId id) const
{
    if (m_slots.empty())
        return nullptr;
    for (size_t i = Home(id);; i = (i + 1) & m_mask) {
        const Slot& slot = m_slots[i];
        if (slot.id == id)
            return &slot.value;
        if (slot.id.IsNull())
            return nullptr;
    }
}

void NoteIdTable::Grow()
{
    std::vector<Slot> old;
    old.swap(m_slots);
    m_slots.resize(std::max<size_t>(16, old.size() * 2));
    m_mask = m_slots.size() - 1;
    m_size = 0;
    for (const Slot& slot : old)
        if (!slot.id.IsNull())
            Insert(slot.id, slot.value);
}
