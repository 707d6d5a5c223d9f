#include "notes/NotesMerge.h"

#include <algorithm>
#include <set>
#include <unordered_set>

#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/NoteChangeStamps.h"
#include "notes/NoteFieldGroups.h"
#include "notes/NoteIdTable.h"
#include "notes/NotesContentMerge.h"

namespace {

// The notes of a list by id: open addressing in one block, as a merge of the
// largest files looks up every note of three lists.
class IdIndex {
public:
    explicit IdIndex(const CNoteList& list)
    {
        size_t capacity = 16;
        while (capacity < static_cast<size_t>(list.m_nCount) * 2)
            capacity *= 2;
        m_slots.resize(capacity);
        m_mask = capacity - 1;
        for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
            const CNote* note = list.GetAt(p);
            if (!note->m_identity.id.IsNull() && Insert(note))
                ++m_size;
        }
    }
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const CNote* Find(const NoteId& id) const
    {
        for (size_t i = SlotOf(id);; i = (i + 1) & m_mask) {
            const CNote* note = m_slots[i];
            if (!note || note->m_identity.id == id)
                return note;
        }
    }
    template <class Visit>
    bool AnyOf(Visit&& visit) const
    {
        return std::any_of(m_slots.begin(), m_slots.end(), [&](const CNote* n) { return n && visit(*n); });
    }

private:
    size_t SlotOf(const NoteId& id) const
    {
        return static_cast<size_t>((id.hi ^ id.lo) * 0x9E3779B97F4A7C15ull >> 20) & m_mask;
    }
    // False when the list holds the id twice (the second is not kept).
    bool Insert(const CNote* note)
    {
        for (size_t i = SlotOf(note->m_identity.id);; i = (i + 1) & m_mask) {
            if (!m_slots[i]) {
                m_slots[i] = note;
                return true;
            }
            if (m_slots[i]->m_identity.id == note->m_identity.id)
                return false;
        }
    }

    std::vector<const CNote*> m_slots;
    size_t m_mask = 0;
    size_t m_size = 0;
};

const CNote* Find(const IdIndex& index, const NoteId& id)
{
    return index.Find(id);
}

bool SharesAnId(const IdIndex& a, const IdIndex& b, const IdIndex* c)
{
    return a.AnyOf([&](const CNote& n) { return b.Find(n.m_identity.id) || (c && c->Find(n.m_identity.id)); });
}

// The disk's version is older than the one this copy last read or wrote.
bool IsStale(const CNote& disk, const CNote& base)
{
    const int64_t onDisk = disk.m_identity.changedUtc;
    const int64_t known = base.m_identity.changedUtc;
    return onDisk != 0 && known != 0 && onDisk < known;
}

bool ChangedSince(const CNote& note, const CNote* base)
{
    return !base || !SameFields(note, *base);
}

// With no base to tell, a note's versions still come in order: each
// installation made its changes on top of its own earlier ones, and its run
// of changes on top of the other installation's version it names.
// (The installation id is per computer, so two computers never share it.)
bool EarlierVersionOfTheSameLine(const CNote& older, const CNote& newer)
{
    const NoteIdentity& a = older.m_identity;
    const NoteIdentity& b = newer.m_identity;
    if (a.changedBy.IsNull() || a.changedUtc == 0)
        return false;
    return (a.changedBy == b.changedBy && a.changedUtc < b.changedUtc) ||
           (a.changedBy == b.basedOnBy && a.changedUtc <= b.basedOnUtc);
}

class IdMerge {
public:
    IdMerge(const CNoteList& base, const CNoteList& local, const CNoteList& remote, const NoteIdTable* binned,
            NotesMergePlan& plan)
        : m_base(base), m_local(local), m_remote(remote), m_binned(binned), m_plan(plan),
          m_bEveryNoteHasAnId(m_base.size() == static_cast<size_t>(base.m_nCount) &&
                              m_local.size() == static_cast<size_t>(local.m_nCount) &&
                              m_remote.size() == static_cast<size_t>(remote.m_nCount))
    {
    }

    // Ids pair notes only when every note has one of its own and the lists
    // share some: a file whose ids were lost on the way (or made anew), or
    // written by a reader of the plain format, is paired by content.
    bool IdsPairAnything() const
    {
        if (!m_bEveryNoteHasAnId)
            return false;
        const bool diskPairs = m_remote.empty() || (m_base.empty() && m_local.empty()) ||
                               SharesAnId(m_remote, m_base, &m_local);
        const bool localPairs = m_base.empty() || m_local.empty() || SharesAnId(m_base, m_local, nullptr);
        return diskPairs && localPairs;
    }

    void Run(const CNoteList& local, const CNoteList& remote)
    {
        m_bStaleFile = HoldsStaleNote(remote);
        for (NotePos p = local.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            MergeLocalNote(p);
        for (NotePos p = remote.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
            const CNote* disk = remote.GetAt(p);
            if (!Find(m_local, disk->m_identity.id))
                MergeDiskOnlyNote(*disk);
        }
        LeaveDroppedOut();
    }

private:
    bool HoldsStaleNote(const CNoteList& remote) const
    {
        for (NotePos p = remote.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
            const CNote* disk = remote.GetAt(p);
            const CNote* base = Find(m_base, disk->m_identity.id);
            if (base && IsStale(*disk, *base))
                return true;
        }
        return false;
    }

    void MergeLocalNote(NotePos pos)
    {
        const CNote& here = *static_cast<const CNote*>(pos);
        const CNote* base = Find(m_base, here.m_identity.id);
        const CNote* disk = Find(m_remote, here.m_identity.id);
        if (disk) {
            if (!(base && IsStale(*disk, *base)))
                JoinGroups(pos, base, *disk);
            else
                m_plan.rewrite = true;  // our newer version goes back over the old one
            return;
        }
        // Gone from disk: deleted over there only when a bin says so (else
        // that file never had it), unless the file is an old copy put back,
        // or this copy changed the note since (its change stays).
        if (!base || ChangedSince(here, base))
            return;
        if (m_bStaleFile) {
            m_plan.rewrite = true;
            return;
        }
        if (m_binned && m_binned->Find(here.m_identity.id))
            m_plan.remove.push_back(pos);
        else
            m_plan.rewrite = true;  // the other side learns of it from the file
    }

    void MergeDiskOnlyNote(const CNote& disk)
    {
        const CNote* base = Find(m_base, disk.m_identity.id);
        if (!base) {
            // New to this side, unless it is a note deleted here that the
            // other side has not heard of yet: it then goes from the file too.
            const uint64_t* deleted = m_binned ? m_binned->Find(disk.m_identity.id) : nullptr;
            if (deleted && *deleted == StoredFingerprint(disk))
                m_plan.rewrite = true;
            else
                m_plan.add.push_back(&disk);
            return;
        }
        // Deleted here: it comes back only with a change made over there.
        if (!IsStale(disk, *base) && ChangedSince(disk, base))
            m_plan.add.push_back(&disk);
    }

    void JoinGroups(NotePos pos, const CNote* base, const CNote& disk);

    enum class KeptBeside {
        kNowhere,      // neither side has kept the other's text as a version
        kTheirsWins,   // the note takes the other side's text, ours is beside it there
        kOursWins,     // both kept both at once, and ours is the one the note keeps
    };
    // The other side met this clash first and kept our text as a version
    // beside its own (its file holds that version, under the id every
    // computer gives it): our text is safe there, so the note takes theirs,
    // as it would had our base survived. Kept both again, each side would
    // end with one text in two notes. When we hold their version too, both
    // met the clash at once: each side must pick the same text for the note
    // from the same two versions, so the later change wins, and on a tie
    // the version whose id orders first.
    KeptBeside TextKeptBeside(const NoteId& oursBeside, const NoteId& theirsBeside, const CNote& here,
                              const CNote& disk) const
    {
        if (!Find(m_remote, oursBeside))
            return KeptBeside::kNowhere;
        if (!Find(m_local, theirsBeside))
            return KeptBeside::kTheirsWins;
        const int64_t ours = here.m_identity.changedUtc, theirs = disk.m_identity.changedUtc;
        if (ours != theirs)
            return ours > theirs ? KeptBeside::kOursWins : KeptBeside::kTheirsWins;
        const auto key = [](const NoteId& id) { return std::pair(id.hi, id.lo); };
        return key(oursBeside) < key(theirsBeside) ? KeptBeside::kOursWins : KeptBeside::kTheirsWins;
    }

    // The note ends with the text of held, whose version beside it under
    // versionId would be that text a second time: it goes, wherever it is.
    void DropVersionHolding(const CNote& held, const NoteId& versionId)
    {
        const auto same = [&](const CNote* note) { return note && note->m_strText == held.m_strText; };
        if (const CNote* local = Find(m_local, versionId); same(local))
            m_plan.sameAsOriginal.push_back(const_cast<CNote*>(local));
        if (same(Find(m_remote, versionId))) {
            m_notKept.push_back(versionId);
            m_plan.rewrite = true;  // the file holds it too: written again without it
        }
    }
    // The plan made before the drops were known leaves the dropped alone.
    void LeaveDroppedOut();

    IdIndex m_base, m_local, m_remote;
    const NoteIdTable* m_binned;
    NotesMergePlan& m_plan;
    std::vector<NoteId> m_notKept;  // the other side's notes that would hold a text twice
    bool m_bEveryNoteHasAnId;  // and no id twice in a list
    bool m_bStaleFile = false;
};

void IdMerge::JoinGroups(NotePos pos, const CNote* base, const CNote& disk)
{
    const CNote& here = *static_cast<const CNote*>(pos);
    if (!base && EarlierVersionOfTheSameLine(disk, here))
        return;
    // Ours is the earlier state of the other side's: every group is theirs.
    const bool oursEarlier = !base && EarlierVersionOfTheSameLine(here, disk);
    std::vector<NoteFieldGroup> taken;
    bool changedHere = false;
    for (NoteFieldGroup group : kAllNoteFieldGroups) {
        if (SameFieldGroup(here, disk, group))
            continue;
        const bool diskChanged = !base || !SameFieldGroup(disk, *base, group);
        bool hereChanged = !oursEarlier && (!base || !SameFieldGroup(here, *base, group));
        if (group == NoteFieldGroup::kText) {
            const NoteId oursBeside = VersionIdOf(here.m_identity.id, here);
            const NoteId theirsBeside = VersionIdOf(here.m_identity.id, disk);
            const KeptBeside kept = TextKeptBeside(oursBeside, theirsBeside, here, disk);
            hereChanged = hereChanged && kept != KeptBeside::kTheirsWins;
            const bool takesTheirs = diskChanged && !hereChanged;
            DropVersionHolding(takesTheirs ? disk : here, takesTheirs ? theirsBeside : oursBeside);
            if (kept == KeptBeside::kOursWins) {
                changedHere = true;
                continue;  // theirs is beside it here already
            }
        }
        changedHere = changedHere || hereChanged;
        if (!diskChanged)
            continue;
        if (!hereChanged)
            taken.push_back(group);
        else if (group == NoteFieldGroup::kText)
            m_plan.keepBoth.emplace_back(pos, &disk);
        else if (disk.m_identity.changedUtc > here.m_identity.changedUtc)
            taken.push_back(group);
    }
    if (taken.empty())
        return;
    std::unique_ptr<CNote> joined = here.Clone();
    for (NoteFieldGroup group : taken)
        CopyFieldGroup(*joined, disk, group);
    // Who changed it last: the other side, unless this one has a later change
    // of its own in the note.
    if (!changedHere || disk.m_identity.changedUtc > here.m_identity.changedUtc) {
        joined->m_identity.changedUtc = disk.m_identity.changedUtc;
        joined->m_identity.changedBy = disk.m_identity.changedBy;
        joined->m_identity.basedOnUtc = disk.m_identity.basedOnUtc;
        joined->m_identity.basedOnBy = disk.m_identity.basedOnBy;
    }
    m_plan.update.emplace_back(pos, joined.get());
    m_plan.joined.push_back(std::move(joined));
}

void IdMerge::LeaveDroppedOut()
{
    if (m_plan.sameAsOriginal.empty() && m_notKept.empty())
        return;
    const std::set<NotePos> dropped(m_plan.sameAsOriginal.begin(), m_plan.sameAsOriginal.end());
    const auto isDropped = [&](const auto& entry) { return dropped.count(entry.first) > 0; };
    std::erase_if(m_plan.update, isDropped);
    std::erase_if(m_plan.keepBoth, isDropped);
    std::erase_if(m_plan.remove, [&](NotePos pos) { return dropped.count(pos) > 0; });
    std::erase_if(m_plan.add, [&](const CNote* note) {
        return std::find(m_notKept.begin(), m_notKept.end(), note->m_identity.id) != m_notKept.end();
    });
}

NotesPairedByContent AllNotes(const CNoteList& base, const CNoteList& local, const CNoteList& remote)
{
    NotesPairedByContent notes;
    for (NotePos p = base.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        notes.base.push_back(base.GetAt(p));
    for (NotePos p = local.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        notes.local.push_back(p);
    for (NotePos p = remote.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        notes.remote.push_back(remote.GetAt(p));
    return notes;
}

}  // namespace

NotesMergePlan PlanNotesMerge(const CNoteList& base, const CNoteList& local, const CNoteList& remote,
                              const NoteIdTable* binned)
{
    NotesMergePlan plan;
    IdMerge byId(base, local, remote, binned, plan);
    if (byId.IdsPairAnything())
        byId.Run(local, remote);
    else
        PlanContentMerge(AllNotes(base, local, remote), plan);
    return plan;
}

NoteId VersionIdOf(const NoteId& original, const CNote& version)
{
    // splitmix64 steps over the original id, the version's change and its
    // text: all a computer knows of the version alike on both sides.
    uint64_t h = 0x243F6A8885A308D3ull;
    const auto mix = [&h](uint64_t v) {
        h = (h ^ v) + 0x9E3779B97F4A7C15ull;
        uint64_t z = h;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        h = z ^ (z >> 31);
    };
    const NoteIdentity& identity = version.m_identity;
    for (uint64_t v : {original.hi, original.lo, static_cast<uint64_t>(identity.changedUtc), identity.changedBy.hi,
                       identity.changedBy.lo, uint64_t{version.m_strText.size()}})
        mix(v);
    for (char16_t unit : version.m_strText)
        mix(unit);
    NoteId id;
    id.hi = h;
    mix(0x5EED);
    id.lo = h;
    if (id.IsNull())
        id.lo = 1;
    return id;
}

uint64_t StoredFingerprint(const CNote& note)
{
    CArchive ar;
    const_cast<CNote&>(note).Serialize(ar);  // storing does not change the note
    return NoteChangeStamps::Fingerprint(ar.TakeBuffer());
}

NoteRect PlaceBesideOriginal(const NoteRect& original, const NoteRect& workArea)
{
    constexpr int32_t kGap = 8;
    const int32_t w = original.Width();
    const int32_t h = original.Height();
    const auto fits = [&](const NoteRect& r) {
        return r.left >= workArea.left && r.top >= workArea.top && r.right <= workArea.right &&
               r.bottom <= workArea.bottom;
    };
    const NoteRect beside[] = {
        {original.right + kGap, original.top, original.right + kGap + w, original.bottom},
        {original.left - kGap - w, original.top, original.left - kGap, original.bottom},
        {original.left, original.bottom + kGap, original.right, original.bottom + kGap + h},
        {original.left, original.top - kGap - h, original.right, original.top - kGap},
    };
    for (const NoteRect& r : beside) {
        if (fits(r))
            return r;
    }
    // No room for both whole: a title bar's height down and right, kept on
    // the screen, so the original's top edge still shows.
    constexpr int32_t kStep = 32;
    int32_t left = std::min(original.left + kStep, workArea.right - w);
    int32_t top = std::min(original.top + kStep, workArea.bottom - h);
    left = std::max(left, workArea.left);
    top = std::max(top, workArea.top);
    if (left == original.left && top == original.top) {
        // As big as the screen: past its edge rather than exactly on it.
        left += kStep;
        top += kStep;
    }
    return {left, top, left + w, top + h};
}

namespace {

struct RectHash {
    size_t operator()(const NoteRect& r) const noexcept
    {
        uint64_t h = static_cast<uint32_t>(r.left);
        for (int32_t v : {r.top, r.right, r.bottom})
            h = (h ^ static_cast<uint32_t>(v)) * 0x9E3779B97F4A7C15ull;
        return static_cast<size_t>(h ^ (h >> 29));
    }
};

// Brings a coordinate back into [low, low + range] by whole laps; a
// dimension with no room to move keeps its place.
int32_t WrapInto(int64_t value, int32_t low, int32_t range)
{
    if (range <= 0 || (value >= low && value <= int64_t{low} + range))
        return static_cast<int32_t>(value);
    const int64_t span = int64_t{range} + 1;
    const int64_t offset = ((value - low) % span + span) % span;
    return static_cast<int32_t>(low + offset);
}

}  // namespace

NoteRect PlaceVersion(const NoteRect& original, const NoteRect& workArea, const std::vector<NoteRect>& occupied)
{
    constexpr int32_t kStep = 32;
    const std::unordered_set<NoteRect, RectHash> taken(occupied.begin(), occupied.end());
    const NoteRect first = PlaceBesideOriginal(original, workArea);
    const int32_t w = first.Width(), h = first.Height();
    const auto at = [&](int64_t left, int64_t top) {
        const auto l = static_cast<int32_t>(left), t = static_cast<int32_t>(top);
        return NoteRect{l, t, l + w, t + h};
    };
    // As many steps as there are notes: one of them is free unless wrapping
    // brought the steps back onto each other.
    const size_t steps = taken.size() + 1;
    for (size_t k = 0; k < steps; ++k) {
        const int64_t d = static_cast<int64_t>(k) * kStep;
        const NoteRect r = at(WrapInto(first.left + d, workArea.left, workArea.Width() - w),
                              WrapInto(first.top + d, workArea.top, workArea.Height() - h));
        if (!taken.count(r))
            return r;
    }
    // Unwrapped, the steps never meet again: one of these is free.
    for (size_t k = 1;; ++k) {
        const int64_t d = static_cast<int64_t>(k) * kStep;
        const NoteRect r = at(first.left + d, first.top + d);
        if (!taken.count(r))
            return r;
    }
}
