#include "notes/DeletedNotesBin.h"

#include <algorithm>

#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/NoteFileStore.h"

CDeletedNotesBin::CDeletedNotesBin(INoteFileStore* store) : m_store(store ? store : &PlatformNoteFileStore()) {}

CDeletedNotesBin::~CDeletedNotesBin() = default;

std::string CDeletedNotesBin::PathBeside(const std::string& notesPath)
{
    const size_t slash = notesPath.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : notesPath.substr(0, slash + 1)) + "deleted.dat";
}

std::vector<uint8_t> CDeletedNotesBin::StoreToBytes() const
{
    CArchive ar;
    ar.WriteU32(CNoteList::kFileHeader);
    ar.WriteU16(static_cast<uint16_t>(m_entries.size()));
    for (const Entry& entry : m_entries)
        entry.note->Serialize(ar);
    ar.WriteU32(kTrailerMagic);
    ar.WriteU32(static_cast<uint32_t>(m_entries.size()));
    for (const Entry& entry : m_entries)
        ar.WriteI32(entry.deletedAt);
    return ar.TakeBuffer();
}

bool CDeletedNotesBin::LoadFromBytes(const std::vector<uint8_t>& bytes, NoteTime now)
{
    std::vector<Entry> loaded;
    try {
        CArchive ar{std::span<const uint8_t>(bytes)};
        ar.ReadU32();
        const auto count = static_cast<int16_t>(ar.ReadU16());
        if (count < 0)
            return false;
        for (int i = 0; i < count; ++i) {
            auto note = std::make_unique<CNote>(CNote::ForLoading{});
            note->Serialize(ar);
            loaded.push_back({std::move(note), now});
        }
        // The dates, when they are all there; otherwise the notes keep
        // "now" and stay their 30 days from today.
        if (ar.Remaining() >= 8 && ar.ReadU32() == kTrailerMagic && ar.ReadU32() == loaded.size() &&
            ar.Remaining() >= 4 * loaded.size()) {
            for (Entry& entry : loaded)
                entry.deletedAt = static_cast<NoteTime>(ar.ReadU32());
        }
    } catch (const ArchiveError&) {
        return false;
    }
    m_entries = std::move(loaded);
    Prune(now);
    return true;
}

bool CDeletedNotesBin::Load(const std::string& path, NoteTime now)
{
    m_strPath = path;
    m_entries.clear();
    m_bWritable = true;
    if (!m_store->Exists(path))
        return true;
    const auto bytes = ReadWholeFile(*m_store, path);
    if (bytes && LoadFromBytes(*bytes, now))
        return true;
    // Not ours to overwrite: whatever it holds stays as it is.
    m_bWritable = false;
    return false;
}

bool CDeletedNotesBin::Save()
{
    if (!m_bWritable || m_strPath.empty())
        return false;
    const std::vector<uint8_t> bytes = StoreToBytes();
    return m_store->ReplaceAll(m_strPath, bytes);
}

void CDeletedNotesBin::Add(const CNote& note, NoteTime deletedAt)
{
    m_entries.push_back({note.Clone(), deletedAt});
    Prune(deletedAt);
}

void CDeletedNotesBin::Prune(NoteTime now)
{
    // A date in the future (a clock set back) counts as today's.
    const auto tooOld = [now](const Entry& e) { return e.deletedAt < now && now - e.deletedAt > kKeepSeconds; };
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(), tooOld), m_entries.end());
    if (m_entries.size() > static_cast<size_t>(kMaxNotes))
        m_entries.erase(m_entries.begin(), m_entries.end() - kMaxNotes);
}

std::unique_ptr<CNote> CDeletedNotesBin::Take(size_t index)
{
    if (index >= m_entries.size())
        return nullptr;
    std::unique_ptr<CNote> note = std::move(m_entries[index].note);
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    return note;
}

namespace {

std::vector<uint8_t> StoredForm(const CNote& note)
{
    CArchive ar;
    const_cast<CNote&>(note).Serialize(ar);  // storing does not change the note
    return ar.TakeBuffer();
}

}  // namespace

void CDeletedNotesBin::Forget(const CNote& note)
{
    const std::vector<uint8_t> wanted = StoredForm(note);
    for (size_t i = m_entries.size(); i-- > 0;) {
        if (StoredForm(*m_entries[i].note) == wanted) {
            m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}
