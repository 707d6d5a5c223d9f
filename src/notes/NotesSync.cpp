#include "notes/NotesSync.h"

#include <memory>
#include <span>

#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/KeptCopyName.h"

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
    const uint32_t hadChanges = m_notes.m_bModified;
    ApplyMerge(PlanNotesMerge(base, m_notes, remote));
    Result result{Outcome::kMerged, {}};
    if (m_nNotAdded > 0) {
        // The notes that did not come stay in a copy of that version; ours,
        // saved next, go over the file.
        result = {Outcome::kMergedListFull, KeepCopy(m_notes.m_strPath, "did not fit", bytes)};
        m_notes.m_bModified = 1;
        m_baseBytes = std::move(bytes);
        m_baseStamp = stamp;
        return result;
    }
    m_baseBytes = std::move(bytes);
    m_baseStamp = stamp;
    // Without changes of our own the list now is what the file holds.
    m_notes.m_bModified = hadChanges;
    return result;
}

NotesSync::OtherFileResult NotesSync::MergeOtherFile(const CNoteList& base, const CNoteList& other)
{
    const int before = m_notes.m_nCount;
    const uint32_t hadChanges = m_notes.m_bModified;
    const NotesMergePlan plan = PlanNotesMerge(base, m_notes, other);
    ApplyMerge(plan);
    m_notes.m_bModified = hadChanges || !plan.Empty() ? 1 : 0;
    return {m_notes.m_nCount - before, m_nNotAdded};
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

void NotesSync::ApplyMerge(const NotesMergePlan& plan)
{
    m_nNotAdded = 0;
    if (plan.Empty())
        return;
    MoveToBin(plan.remove);
    for (const auto& [pos, from] : plan.update)
        TakeNewForm(pos, *from);
    for (const CNote* from : plan.add) {
        std::unique_ptr<CNote> note = from->Clone();
        if (!m_notes.Add(note))
            ++m_nNotAdded;  // a full list: kept in a copy of the other version
    }
    m_view.NotesRearranged();
}

void NotesSync::MoveToBin(const std::vector<NotePos>& gone)
{
    // Notes deleted over there still go to this copy's bin.
    CDeletedNotesBin* bin = Bin();
    for (NotePos pos : gone) {
        if (bin)
            bin->Add(*m_notes.GetAt(pos), static_cast<NoteTime>(m_clock()));
        m_notes.Remove(pos);
    }
    if (bin && !gone.empty())
        bin->Save();
}

void NotesSync::TakeNewForm(NotePos pos, const CNote& from)
{
    CNote* note = m_notes.GetAt(pos);
    if (m_view.IsBeingTypedIn(*note)) {
        std::unique_ptr<CNote> theirs = from.Clone();
        if (!m_notes.Add(theirs))
            ++m_nNotAdded;
        return;
    }
    const std::unique_ptr<CNote> fresh = from.Clone();
    CArchive out;
    fresh->Serialize(out);
    const std::vector<uint8_t> stored = out.TakeBuffer();
    CArchive in{std::span<const uint8_t>(stored)};
    note->Serialize(in);  // the stored fields only: window and place stay
    m_view.NoteTookNewForm(*note);
}

CDeletedNotesBin* NotesSync::Bin()
{
    if (m_notes.m_strPath.empty())
        return nullptr;
    const std::string path = CDeletedNotesBin::PathBeside(m_notes.m_strPath);
    if (path != m_strBinPath) {
        m_strBinPath = path;
        if (!m_bin.Load(path, static_cast<NoteTime>(m_clock())) && !StartNewBin(path))
            m_strBinPath.clear();  // held open just now: read again at the next need
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
