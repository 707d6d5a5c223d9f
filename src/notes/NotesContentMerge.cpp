#include "notes/NotesContentMerge.h"

#include <map>
#include <set>
#include <tuple>

#include "notes/Archive.h"

namespace {

using Key = std::vector<uint8_t>;

Key KeyOf(const CNote& note)
{
    CArchive ar;
    const_cast<CNote&>(note).Serialize(ar);  // storing does not change the note
    return ar.TakeBuffer();
}

const CNote* NoteAt(NotePos pos)
{
    return static_cast<const CNote*>(pos);
}

std::map<Key, int> Counts(const std::vector<const CNote*>& notes)
{
    std::map<Key, int> counts;
    for (const CNote* note : notes)
        ++counts[KeyOf(*note)];
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

DiskChanges ChangesOnDisk(const NotesPairedByContent& notes)
{
    DiskChanges changes{Counts(notes.base), {}};
    std::map<Key, int> baseLeft = changes.gone;
    for (const CNote* note : notes.remote) {
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

LocalSide GoingHere(const NotesPairedByContent& notes, std::map<Key, int> goneOnDisk)
{
    LocalSide side;
    std::map<Key, int> baseLeft = Counts(notes.base);
    for (NotePos p : notes.local) {
        const Key key = KeyOf(*NoteAt(p));
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
void PairChangedNotes(const std::vector<NotePos>& going, const std::vector<const CNote*>& coming,
                      NotesMergePlan& plan)
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
            const int i = pairFor(*NoteAt(going[g]), byPlace);
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

// A note that comes where a note of ours stays, with another text: most
// likely the other side's version of a note both sides typed in. It comes
// as such a version, beside ours, rather than hidden exactly under it.
void PlaceVersionsBeside(const NotesPairedByContent& notes, NotesMergePlan& plan)
{
    std::map<std::tuple<int32_t, int32_t, int32_t, int32_t>, NotePos> staying;
    const std::set<NotePos> going(plan.remove.begin(), plan.remove.end());
    for (NotePos p : notes.local) {
        const NoteRect& rc = NoteAt(p)->m_rcWindow;
        if (!going.count(p))
            staying.emplace(std::make_tuple(rc.left, rc.top, rc.right, rc.bottom), p);
    }
    std::vector<const CNote*> adding;
    for (const CNote* note : plan.add) {
        const NoteRect& rc = note->m_rcWindow;
        const auto found = staying.find(std::make_tuple(rc.left, rc.top, rc.right, rc.bottom));
        if (found != staying.end() && NoteAt(found->second)->m_strText != note->m_strText)
            plan.keepBoth.emplace_back(found->second, note);
        else
            adding.push_back(note);
    }
    plan.add = std::move(adding);
}

}  // namespace

void PlanContentMerge(const NotesPairedByContent& notes, NotesMergePlan& plan)
{
    if (notes.base.empty() && notes.local.empty() && notes.remote.empty())
        return;
    const DiskChanges disk = ChangesOnDisk(notes);
    const LocalSide here = GoingHere(notes, disk.gone);
    PairChangedNotes(here.going, ComingHere(disk.added, here.has), plan);
    PlaceVersionsBeside(notes, plan);
}
