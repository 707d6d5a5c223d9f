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

// What the disk did since the base: the base notes it no longer has as
// they were (deleted or changed over there), and its notes the base lacks,
// in disk order.
struct DiskChanges {
    std::map<Key, int> gone;
    std::vector<const CNote*> added;
};

DiskChanges ChangesOnDisk(const CNoteList& base, const CNoteList& remote)
{
    DiskChanges changes{Counts(base), {}};
    std::map<Key, int> baseLeft = changes.gone;
    for (NotePos p = remote.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
        const CNote* note = remote.GetAt(p);
        const Key key = KeyOf(*note);
        if (TakeOne(baseLeft, key))
            TakeOne(changes.gone, key);
        else
            changes.added.push_back(note);
    }
    return changes;
}

// The local notes that go: unchanged here since the base, and deleted or
// changed on disk. has counts every local note.
struct LocalSide {
    std::vector<NotePos> going;
    std::map<Key, int> has;
};

LocalSide GoingHere(const CNoteList& base, const CNoteList& local, std::map<Key, int> goneOnDisk)
{
    LocalSide side;
    std::map<Key, int> baseLeft = Counts(base);
    for (NotePos p = local.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
        const Key key = KeyOf(*local.GetAt(p));
        ++side.has[key];
        if (TakeOne(baseLeft, key) && TakeOne(goneOnDisk, key))
            side.going.push_back(p);
    }
    return side;
}

// Disk notes this copy does not have yet; the same change made on both
// sides comes once.
std::vector<const CNote*> ComingHere(const std::vector<const CNote*>& addedOnDisk, std::map<Key, int> localHas)
{
    std::vector<const CNote*> coming;
    for (const CNote* note : addedOnDisk) {
        if (!TakeOne(localHas, KeyOf(*note)))
            coming.push_back(note);
    }
    return coming;
}

// A going note and a coming one with the same place, else the same text,
// are one note changed on disk; the others go or come as they are.
void PairChangedNotes(const CNoteList& local, const std::vector<NotePos>& going,
                      const std::vector<const CNote*>& coming, NotesMergePlan& plan)
{
    std::vector<bool> used(coming.size(), false);
    const auto pairFor = [&](const CNote& gone, bool byPlace) -> int {
        for (size_t i = 0; i < coming.size(); ++i) {
            if (!used[i] && (byPlace ? coming[i]->m_rcWindow == gone.m_rcWindow
                                     : coming[i]->m_strText == gone.m_strText))
                return static_cast<int>(i);
        }
        return -1;
    };
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
}

}  // namespace

NotesMergePlan PlanNotesMerge(const CNoteList& base, const CNoteList& local, const CNoteList& remote)
{
    const DiskChanges disk = ChangesOnDisk(base, remote);
    const LocalSide here = GoingHere(base, local, disk.gone);
    NotesMergePlan plan;
    PairChangedNotes(local, here.going, ComingHere(disk.added, here.has), plan);
    return plan;
}
