#include "notes/NotesMerge.h"

#include <map>

#include "notes/Archive.h"
#include "notes/CNoteList.h"

namespace {

using Key = std::vector<uint8_t>;

Key KeyOf(const CNote& note)
{
    CArchive ar;
    const_cast<CNote&>(note).Serialize(ar);  // storing does not change the note
    return ar.TakeBuffer();
}

std::map<Key, int> Counts(const CNoteList& list)
{
    std::map<Key, int> counts;
    for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        ++counts[KeyOf(*list.GetAt(p))];
    return counts;
}

// Takes one of key from counts; false when there is none left.
bool TakeOne(std::map<Key, int>& counts, const Key& key)
{
    auto it = counts.find(key);
    if (it == counts.end() || it->second == 0)
        return false;
    --it->second;
    return true;
}

}  // namespace

NotesMergePlan PlanNotesMerge(const CNoteList& base, const CNoteList& local, const CNoteList& remote)
{
    // The base notes the disk still has as they were; the rest of the base
    // is what the disk deleted or changed.
    std::map<Key, int> goneOnDisk = Counts(base);
    std::vector<const CNote*> newOnDisk;
    {
        std::map<Key, int> baseLeft = goneOnDisk;
        for (NotePos p = remote.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
            const CNote* note = remote.GetAt(p);
            if (TakeOne(baseLeft, KeyOf(*note)))
                TakeOne(goneOnDisk, KeyOf(*note));
            else
                newOnDisk.push_back(note);
        }
    }

    NotesMergePlan plan;
    std::map<Key, int> baseLeftForLocal = Counts(base);
    std::map<Key, int> localHas;
    for (NotePos p = local.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
        const Key key = KeyOf(*local.GetAt(p));
        ++localHas[key];
        // Unchanged here since the base, and deleted or changed on disk.
        if (TakeOne(baseLeftForLocal, key) && TakeOne(goneOnDisk, key))
            plan.remove.push_back(p);
    }

    // Disk notes this copy does not have yet; the same change made on both
    // sides comes once.
    std::vector<const CNote*> coming;
    for (const CNote* note : newOnDisk) {
        if (!TakeOne(localHas, KeyOf(*note)))
            coming.push_back(note);
    }

    // A going note and a coming one with the same place, else the same
    // text, are one note changed on disk.
    std::vector<bool> used(coming.size(), false);
    const auto pairFor = [&](const CNote& going, bool byPlace) -> int {
        for (size_t i = 0; i < coming.size(); ++i) {
            if (!used[i] && (byPlace ? coming[i]->m_rcWindow == going.m_rcWindow
                                     : coming[i]->m_strText == going.m_strText))
                return static_cast<int>(i);
        }
        return -1;
    };
    std::vector<NotePos> going = std::move(plan.remove);
    plan.remove.clear();
    std::vector<bool> paired(going.size(), false);
    for (bool byPlace : {true, false}) {
        for (size_t g = 0; g < going.size(); ++g) {
            if (paired[g])
                continue;
            const int i = pairFor(*local.GetAt(going[g]), byPlace);
            if (i >= 0) {
                used[static_cast<size_t>(i)] = true;
                paired[g] = true;
                plan.update.emplace_back(going[g], coming[static_cast<size_t>(i)]);
            }
        }
    }
    for (size_t g = 0; g < going.size(); ++g) {
        if (!paired[g])
            plan.remove.push_back(going[g]);
    }
    for (size_t i = 0; i < coming.size(); ++i) {
        if (!used[i])
            plan.add.push_back(coming[i]);
    }
    return plan;
}
