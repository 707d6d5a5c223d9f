#include "notes/NotesSync.h"

#include <cstdio>
#include <memory>
#include <span>

#include "core/LocalTime.h"
#include "notes/Archive.h"
#include "notes/CNoteList.h"

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
    m_baseBytes = std::move(bytes);
    m_baseStamp = stamp;
    // Without changes of our own the list now is what the file holds.
    m_notes.m_bModified = hadChanges;
    return {Outcome::kMerged, {}};
}

std::string NotesSync::KeepUnreadable(const std::vector<uint8_t>& bytes)
{
    // Not a notes file (cut short by a sync still under way, say): our next
    // save would replace it, so it is kept beside ours first.
    LocalDateTime now;
    ToLocal(m_clock(), now);
    char name[128];
    std::snprintf(name, sizeof name, "notes (from another computer %04d-%02d-%02d %02d%02d).dat", now.year,
                  now.month, now.day, now.hour, now.minute);
    const std::string& path = m_notes.m_strPath;
    const std::string copy = path.substr(0, path.find_last_of("\\/") + 1) + name;
    m_store.ReplaceAll(copy, bytes);
    return copy;
}

void NotesSync::ApplyMerge(const NotesMergePlan& plan)
{
    if (plan.Empty())
        return;
    MoveToBin(plan.remove);
    for (const auto& [pos, from] : plan.update)
        TakeNewForm(pos, *from);
    for (const CNote* from : plan.add) {
        std::unique_ptr<CNote> note = from->Clone();
        if (!m_notes.Add(note))
            break;  // a full list: the rest stays in the file's other copy
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
        m_notes.Add(theirs);
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
        m_bin.Load(path, static_cast<NoteTime>(m_clock()));
    }
    return &m_bin;
}
