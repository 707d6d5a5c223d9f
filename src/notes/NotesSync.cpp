#include "notes/NotesSync.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <set>
#include <span>

#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/KeptCopyName.h"
#include "notes/NoteIdSource.h"
#include "notes/NoteIdTable.h"

namespace {

using BinKey = std::vector<uint8_t>;

bool HoldsId(const CNoteList& notes, const NoteId& id)
{
    for (NotePos p = notes.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
        if (notes.GetAt(p)->m_identity.id == id)
            return true;
    }
    return false;
}

// A bin entry never changes once made: its stored note and the time of the
// delete tell it from every other.
std::vector<BinKey> BinEntryKeys(const std::vector<CDeletedNotesBin::Entry>& entries)
{
    std::vector<BinKey> keys;
    keys.reserve(entries.size());
    for (const CDeletedNotesBin::Entry& entry : entries) {
        CArchive ar;
        entry.note->Serialize(ar);
        ar.Write(entry.deletedAt);
        keys.push_back(ar.TakeBuffer());
    }
    return keys;
}

bool TakeKey(std::multiset<BinKey>& keys, const BinKey& key)
{
    const auto it = keys.find(key);
    if (it == keys.end())
        return false;
    keys.erase(it);
    return true;
}

}  // namespace

NotesSync::NotesSync(CNoteList& notes, INoteFileStore& store, INotesSyncView& view)
    : m_notes(notes), m_store(store), m_view(view), m_clock([] { return int64_t{CurrentNoteTime()}; }),
      m_bin(&store)
{
}

void NotesSync::RememberFileAsBase(std::vector<uint8_t> bytes)
{
    m_baseBytes = std::move(bytes);
    m_baseStamp = m_store.Stamp(m_notes.m_strPath);
}

NotesSync::Result NotesSync::MergeOutsideChanges()
{
    if (m_notes.m_strPath.empty())
        return {};
    TakeInMovedAside();
    const std::optional<FileStamp> stamp = m_store.Stamp(m_notes.m_strPath);
    if (!stamp || stamp == m_baseStamp)
        return {};
    std::optional<std::vector<uint8_t>> read = ReadWholeFile(m_store, m_notes.m_strPath);
    if (!read)
        return {};  // being written just now: the next pass looks again
    std::vector<uint8_t> bytes = std::move(*read);
    if (bytes == m_baseBytes) {
        m_baseStamp = stamp;
        return {};
    }
    CNoteList remote;
    if (!remote.LoadFromBytes(bytes)) {
        Result kept{Outcome::kKeptUnreadable, KeepUnreadable(bytes)};
        m_baseBytes = std::move(bytes);
        m_baseStamp = stamp;
        m_notes.m_bModified = 1;  // ours go back into the notes file
        return kept;
    }
    CNoteList base;
    base.LoadFromBytes(m_baseBytes);  // none known: everything here counts as ours
    // Our edits carry their change stamps before the stamps are compared.
    m_notes.StampChangedNotes(m_clock(), NoteIdSource::Installation());
    const uint32_t hadChanges = m_notes.m_bModified;
    const NoteIdTable binned = BinnedIds();
    const NotesMergePlan plan = PlanNotesMerge(base, m_notes, remote, &binned);
    const int keptBoth = ApplyMerge(plan);
    // What came from the other side keeps the stamps it came with.
    m_notes.RememberNotesAsStamped();
    Result result{Outcome::kMerged, {}, keptBoth};
    // Without changes of our own the list now is what the file holds; a
    // note kept in two versions is a change of ours: the other side has only
    // one of them.
    m_notes.m_bModified = hadChanges || keptBoth > 0 || plan.rewrite ? 1 : 0;
    if (m_nNotAdded > 0) {
        // The notes that did not come stay in a copy of that version; ours,
        // saved next, go over the file.
        result.outcome = Outcome::kMergedListFull;
        result.copyPath = KeepCopy(m_notes.m_strPath, "did not fit", bytes);
        m_notes.m_bModified = 1;
    }
    m_baseBytes = std::move(bytes);
    m_baseStamp = stamp;
    return result;
}

NotesSync::OtherFileResult NotesSync::MergeOtherFile(const CNoteList& base, const CNoteList& other)
{
    const int before = m_notes.m_nCount;
    // As with the file: our edits stamped first, the other side's notes
    // keep the stamps they came with.
    m_notes.StampChangedNotes(m_clock(), NoteIdSource::Installation());
    const uint32_t hadChanges = m_notes.m_bModified;
    const NoteIdTable binned = BinnedIds();
    const NotesMergePlan plan = PlanNotesMerge(base, m_notes, other, &binned);
    ApplyMerge(plan);
    m_notes.RememberNotesAsStamped();
    m_notes.m_bModified = hadChanges || !plan.Empty() ? 1 : 0;
    return {m_notes.m_nCount - before, m_nNotAdded};
}

NoteIdTable NotesSync::BinnedIds()
{
    // The bin holds what either side deleted: the other copy's bin is merged
    // into ours at every look.
    NoteIdTable binned;
    if (CDeletedNotesBin* bin = Bin()) {
        binned.Reset(bin->Entries().size());
        for (const CDeletedNotesBin::Entry& entry : bin->Entries()) {
            if (!entry.note->m_identity.id.IsNull())  // a bin of a version without ids
                binned.Insert(entry.note->m_identity.id, StoredFingerprint(*entry.note));
        }
    }
    return binned;
}

namespace {

// The notes file's store for one save: the rename is made only while the
// file is still what the merge saw; every other file passes straight through.
class StoreUnlessChanged final : public INoteFileStore {
public:
    StoreUnlessChanged(INoteFileStore& store, std::string path, std::optional<FileStamp> merged)
        : m_store(store), m_path(std::move(path)), m_merged(merged)
    {
    }
    bool FileChanged() const { return m_bChanged; }

    bool ReplaceAll(const std::string& path, std::span<const uint8_t> bytes) override
    {
        if (path != m_path)
            return m_store.ReplaceAll(path, bytes);
        const ReplaceOutcome outcome = m_store.ReplaceAllUnlessChanged(path, bytes, m_merged);
        m_bChanged = outcome == ReplaceOutcome::kFileChanged;
        if (outcome == ReplaceOutcome::kReplaced)
            m_written = m_store.PlacedStamp();
        return outcome == ReplaceOutcome::kReplaced;
    }
    // The stamp of the notes file this save put in place.
    const std::optional<FileStamp>& Written() const { return m_written; }
    bool Exists(const std::string& path) override { return m_store.Exists(path); }
    std::unique_ptr<INoteFileReader> OpenForReading(const std::string& path) override
    {
        return m_store.OpenForReading(path);
    }
    void RemoveLeftoverTemporary(const std::string& path) override { m_store.RemoveLeftoverTemporary(path); }
    bool WriteTemporary(const std::string& path, std::span<const uint8_t> bytes) override
    {
        return m_store.WriteTemporary(path, bytes);
    }
    bool MoveWithoutReplacing(const std::string& from, const std::string& to) override
    {
        return m_store.MoveWithoutReplacing(from, to);
    }
    std::optional<FileStamp> Stamp(const std::string& path) override { return m_store.Stamp(path); }
    bool MakeFolder(const std::string& path) override { return m_store.MakeFolder(path); }
    std::vector<std::string> ListFiles(const std::string& folder) override { return m_store.ListFiles(folder); }
    bool RemoveFile(const std::string& path) override { return m_store.RemoveFile(path); }
    std::optional<int64_t> WrittenAt(const std::string& path) override { return m_store.WrittenAt(path); }

private:
    INoteFileStore& m_store;
    std::string m_path;
    std::optional<FileStamp> m_merged;
    std::optional<FileStamp> m_written;
    bool m_bChanged = false;
};

}  // namespace

NotesSync::SaveResult NotesSync::MergeAndSave(Result& merged, bool waitForMissingFile)
{
    for (int round = 0; round < kMaxMergeRounds; ++round) {
        Result result = MergeOutsideChanges();
        // A version kept aside in an earlier round is still told of.
        if (round == 0 || (result.outcome != Outcome::kUnchanged && merged.copyPath.empty()))
            merged = std::move(result);
        if (round == 0 && !m_notes.m_strPath.empty()) {
            if (!MayWriteMissingFile(waitForMissingFile))
                return SaveResult::kWaitingForFile;
            if (!m_store.Stamp(m_notes.m_strPath))
                m_notes.m_bModified = 1;  // the notes are nowhere else now
        }
        if (!m_notes.m_bModified)
            return SaveResult::kNothingToSave;
        // A file gone for good (deleted) is made again from ours, unless it
        // is back before the rename.
        std::optional<FileStamp> expected = m_baseStamp;
        if (!m_store.Stamp(m_notes.m_strPath))
            expected.reset();
        if (expected)
            m_mergedAside = expected;
        INoteFileStore& listStore = m_notes.FileStore();
        StoreUnlessChanged guarded(listStore, m_notes.m_strPath, expected);
        m_notes.SetFileStore(&guarded);
        const bool wrote = m_notes.Save();
        m_notes.SetFileStore(&listStore);
        if (wrote) {
            // The stamp of what we wrote, not of the file there now: one
            // renamed in since is merged at the next pass.
            m_baseBytes = m_notes.LastWritten();
            m_baseStamp = guarded.Written() ? guarded.Written() : m_store.Stamp(m_notes.m_strPath);
            return SaveResult::kSaved;
        }
        if (!guarded.FileChanged())
            return SaveResult::kFailed;
        // Written over while ours was on its way: take that in first.
    }
    return SaveResult::kPostponed;
}

bool NotesSync::MayWriteMissingFile(bool waitForMissingFile)
{
    if (m_store.Stamp(m_notes.m_strPath)) {
        m_nPassesMissing = 0;
        return true;
    }
    // Never there since this copy looked: nothing to wait for.
    if (!waitForMissingFile || !m_baseStamp)
        return true;
    return ++m_nPassesMissing > kPassesToWaitForMissingFile;
}

void NotesSync::TakeInMovedAside()
{
    const std::string aside = MovedAsidePathOf(m_notes.m_strPath);
    const std::optional<FileStamp> stamp = m_store.Stamp(aside);
    if (!stamp || m_store.MoveWithoutReplacing(aside, m_notes.m_strPath))
        return;
    // The file a save of ours moved aside after merging it, when another
    // file came before our rename: the list holds its notes.
    if (stamp == m_mergedAside) {
        m_store.RemoveFile(aside);
        return;
    }
    // Another computer's file that came between a save's look and its
    // rename, or ours from a save cut off after its rename: what the
    // notes file lacks of it comes in as from a sync client's copy.
    const KeptCopyName names([this](const std::string& candidate) { return m_store.Exists(candidate); });
    m_store.MoveWithoutReplacing(aside, names.PathFor(m_notes.m_strPath, "conflicted copy of a save", m_clock()));
}

int NotesSync::NextPassDelayMs()
{
    if (m_jitterState == 0) {
        // The clock as well: some runtimes' random_device gives every process
        // the same numbers.
        const auto ticks = static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
        m_jitterState = ((uint64_t{std::random_device{}()} << 32) ^ ticks) | 1;
    }
    // xorshift: enough to keep two computers out of step.
    m_jitterState ^= m_jitterState << 13;
    m_jitterState ^= m_jitterState >> 7;
    m_jitterState ^= m_jitterState << 17;
    return 4500 + static_cast<int>(m_jitterState % 1001);
}

std::string NotesSync::KeepUnreadable(const std::vector<uint8_t>& bytes)
{
    // Not a notes file (cut short by a sync still under way, say): our next
    // save would replace it, so it is kept beside ours first.
    return KeepCopy(m_notes.m_strPath, "from another computer", bytes);
}

std::string NotesSync::KeepCopy(const std::string& path, const std::string& why, const std::vector<uint8_t>& bytes)
{
    // To the second and counted: a second copy never replaces the first.
    const KeptCopyName names([this](const std::string& candidate) { return m_store.Exists(candidate); });
    const std::string copy = names.PathFor(path, why, m_clock());
    return m_store.ReplaceAll(copy, bytes) ? copy : std::string();
}

int NotesSync::ApplyMerge(const NotesMergePlan& plan)
{
    m_nNotAdded = 0;
    if (plan.Empty())
        return 0;
    MoveToBin(plan.remove);
    // Their text is in the original: nothing of the user's goes, so no bin.
    for (NotePos pos : plan.sameAsOriginal)
        m_notes.Remove(pos);
    for (const auto& [pos, from] : plan.update)
        TakeNewForm(pos, *from);
    for (const CNote* from : plan.add)
        AddFromDisk(*from);
    const std::vector<CNote*> versions = KeepBothVersions(plan.keepBoth);
    m_view.NotesRearranged();
    if (!versions.empty())
        m_view.BothVersionsKept(versions);
    return static_cast<int>(versions.size());
}

void NotesSync::AddFromDisk(const CNote& from)
{
    std::unique_ptr<CNote> note = from.Clone();
    // A note from a file without ids gets one now, as a new note does.
    if (note->m_identity.id.IsNull())
        note->m_identity = NoteIdSource::NewIdentity(m_clock());
    if (!m_notes.Add(note))
        ++m_nNotAdded;  // a full list: kept in a copy of the other version
}

std::vector<CNote*> NotesSync::KeepBothVersions(const std::vector<std::pair<NotePos, const CNote*>>& conflicts)
{
    std::vector<CNote*> versions;
    if (conflicts.empty())
        return versions;
    // Every note's place, so that no version hides another note (the version
    // an earlier clash over the same note put beside it, say).
    std::vector<NoteRect> occupied;
    occupied.reserve(static_cast<size_t>(m_notes.m_nCount) + conflicts.size());
    for (NotePos p = m_notes.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        occupied.push_back(m_notes.GetAt(p)->m_rcWindow);
    for (const auto& [pos, theirs] : conflicts) {
        // A note of its own beside ours on the same screen, with the id
        // every computer gives this version: one that resolved the clash
        // too makes the same note, and the merge by id joins the two.
        const NoteId id = VersionIdOf(m_notes.GetAt(pos)->m_identity.id, *theirs);
        if (HoldsId(m_notes, id))
            continue;  // kept here already, by an earlier merge
        std::unique_ptr<CNote> version = theirs->Clone();
        version->m_identity.id = id;
        version->m_identity.createdUtc = theirs->m_identity.changedUtc;
        const NoteRect& ours = m_notes.GetAt(pos)->m_rcWindow;
        version->m_rcWindow = PlaceVersion(ours, m_view.WorkAreaAt(ours), occupied);
        version->m_bVisible = 1;
        occupied.push_back(version->m_rcWindow);
        CNote* raw = version.get();
        if (m_notes.Add(version))
            versions.push_back(raw);
        else
            ++m_nNotAdded;
    }
    return versions;
}

void NotesSync::MoveToBin(const std::vector<NotePos>& gone)
{
    if (gone.empty())
        return;
    // Notes deleted over there are in the shared bin already (that is how
    // the merge knew); one the bin lacks still goes into it.
    CDeletedNotesBin* bin = Bin();
    const NoteIdTable binned = BinnedIds();
    bool added = false;
    for (NotePos pos : gone) {
        const NoteId& id = m_notes.GetAt(pos)->m_identity.id;
        if (bin && (id.IsNull() || !binned.Find(id))) {
            bin->Add(*m_notes.GetAt(pos), static_cast<NoteTime>(m_clock()));
            added = true;
        }
        m_notes.Remove(pos);
    }
    if (added)
        bin->Save();
}

void NotesSync::TakeNewForm(NotePos pos, const CNote& from)
{
    // Taken in place even while the user types in the note: the plan keeps
    // a text changed here since the last save, so what the note holds here
    // is what this copy last read or wrote, and the other side's text
    // replaces nothing the user has not seen saved. (A second window over
    // the note would take the user's next keys away from the saved copy.)
    CNote* note = m_notes.GetAt(pos);
    CArchive out;
    const_cast<CNote&>(from).Serialize(out);  // storing does not change the note
    const std::vector<uint8_t> stored = out.TakeBuffer();
    CArchive in{std::span<const uint8_t>(stored)};
    note->Serialize(in);  // the stored fields only: window and place stay
    // What the trailer carries is not in the stored form: it comes across
    // here, or the next save writes the note without it.
    note->m_formats = from.m_formats;
    note->m_tSnoozeUntil = from.m_tSnoozeUntil;
    if (from.m_identity.id == note->m_identity.id)
        note->m_identity = from.m_identity;
    m_view.NoteTookNewForm(*note);
}

CDeletedNotesBin* NotesSync::Bin()
{
    if (m_notes.m_strPath.empty())
        return nullptr;
    const std::string path = CDeletedNotesBin::PathBeside(m_notes.m_strPath);
    if (path != m_strBinPath) {
        m_strBinPath = path;
        if (!m_bin.Load(path, static_cast<NoteTime>(m_clock())) && !StartNewBin(path)) {
            m_strBinPath.clear();  // held open just now: read again at the next need
            return &m_bin;
        }
        m_binBase = BinEntryKeys(m_bin.Entries());
        m_binStamp = m_store.Stamp(path);
    } else {
        MergeBinOnDisk();
    }
    return &m_bin;
}

bool NotesSync::StartNewBin(const std::string& path)
{
    // A damaged bin would stop every delete from being kept: what is left of
    // it is kept aside, and deletes go into a new one.
    const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(m_store, path);
    if (!bytes)
        return false;
    std::string copy = KeepCopy(path, "damaged", *bytes);
    if (copy.empty() || !m_store.RemoveFile(path))
        return false;
    m_bin.Load(path, static_cast<NoteTime>(m_clock()));
    m_damagedBinCopy = std::move(copy);
    return true;
}

void NotesSync::MergeBinOnDisk()
{
    const std::optional<FileStamp> stamp = m_store.Stamp(m_strBinPath);
    if (!stamp || stamp == m_binStamp)
        return;
    const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(m_store, m_strBinPath);
    if (!bytes)
        return;  // being written just now: the next look reads it
    CDeletedNotesBin disk;
    if (!disk.LoadFromBytes(*bytes, static_cast<NoteTime>(m_clock()))) {
        KeepDamagedBinOnDisk(*bytes);
        return;
    }
    std::vector<BinKey> onDisk = BinEntryKeys(disk.Entries());
    std::multiset<BinKey> base(m_binBase.begin(), m_binBase.end());
    std::multiset<BinKey> diskLeft(onDisk.begin(), onDisk.end());
    const std::vector<BinKey> here = BinEntryKeys(m_bin.Entries());
    std::multiset<BinKey> kept;  // ours that stay
    bool diskLacksOurs = false;
    for (size_t i = here.size(); i-- > 0;) {
        if (TakeKey(diskLeft, here[i])) {
            kept.insert(here[i]);
        } else if (TakeKey(base, here[i])) {
            m_bin.Take(i);  // taken out over there (restored, or too old)
        } else {
            kept.insert(here[i]);  // put in here since
            diskLacksOurs = true;
        }
    }
    base = std::multiset<BinKey>(m_binBase.begin(), m_binBase.end());
    for (size_t i = 0; i < onDisk.size(); ++i) {
        if (TakeKey(kept, onDisk[i]))
            continue;
        if (TakeKey(base, onDisk[i]))
            diskLacksOurs = true;  // taken out here since
        else
            m_bin.Add(*disk.Entries()[i].note, disk.Entries()[i].deletedAt);  // put in over there
    }
    m_binBase = std::move(onDisk);
    m_binStamp = stamp;
    if (diskLacksOurs)
        m_bin.Save();  // the next look reads it back as the base
}

void NotesSync::KeepDamagedBinOnDisk(const std::vector<uint8_t>& bytes)
{
    // Damaged since it was read: kept aside before ours, which holds every
    // delete this copy knows, takes its place.
    std::string copy = KeepCopy(m_strBinPath, "damaged", bytes);
    if (copy.empty() || !m_bin.Save())
        return;  // the next look tries again
    m_damagedBinCopy = std::move(copy);
    m_binBase = BinEntryKeys(m_bin.Entries());
    m_binStamp = m_store.Stamp(m_strBinPath);
}
