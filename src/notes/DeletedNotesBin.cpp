#include "notes/DeletedNotesBin.h"

#include <algorithm>

#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/NoteFileStore.h"
#include "notes/NoteFormatsSection.h"
#include "notes/NoteIdentitySection.h"
#include "notes/NoteSnoozeSection.h"

CDeletedNotesBin::CDeletedNotesBin(INoteFileStore* store) : m_store(store ? store : &PlatformNoteFileStore()) {}

CDeletedNotesBin::~CDeletedNotesBin() = default;

std::string CDeletedNotesBin::PathBeside(const std::string& notesPath)
{
    const size_t slash = notesPath.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : notesPath.substr(0, slash + 1)) + "deleted.dat";
}

namespace {

constexpr size_t kDateBytes = 8;

NotesTrailer::Section DatesSection(const std::vector<CDeletedNotesBin::Entry>& entries)
{
    CArchive ar;
    ar.WriteU32(static_cast<uint32_t>(entries.size()));
    ar.WriteU16(static_cast<uint16_t>(kDateBytes));
    for (const auto& entry : entries) {
        ar.WriteI32(entry.deletedAt);
        ar.WriteI32(entry.deletedAt < 0 ? -1 : 0);  // the high half of an i64
    }
    return {CDeletedNotesBin::kDatesTag, 1, ar.TakeBuffer()};
}

// The dates, when the section holds one for every note.
void ReadDates(const NotesTrailer::SectionView* section, std::vector<CDeletedNotesBin::Entry>& loaded)
{
    if (!section || section->payload.size() < 6)
        return;
    const uint8_t* p = section->payload.data();
    const size_t entryBytes = CArchive::U16At(p + 4);
    if (CArchive::U32At(p) != loaded.size() || entryBytes < kDateBytes ||
        section->payload.size() != 6 + loaded.size() * entryBytes)
        return;
    p += 6;
    for (auto& entry : loaded) {
        const int64_t at = static_cast<int64_t>(CArchive::U32At(p) | uint64_t{CArchive::U32At(p + 4)} << 32);
        entry.deletedAt = static_cast<NoteTime>(at);  // times past 2038 are not kept anywhere else either
        p += entryBytes;
    }
}

std::vector<CNote*> NotesOf(const std::vector<CDeletedNotesBin::Entry>& entries)
{
    std::vector<CNote*> notes;
    for (const auto& entry : entries)
        notes.push_back(entry.note.get());
    return notes;
}

}  // namespace

std::vector<uint8_t> CDeletedNotesBin::StoreToBytes() const
{
    CArchive ar;
    ar.WriteU32(CNoteList::kFileHeader);
    ar.WriteU16(static_cast<uint16_t>(m_entries.size()));
    for (const Entry& entry : m_entries)
        entry.note->Serialize(ar);
    if (m_entries.empty() && m_keptSections.empty())
        return ar.TakeBuffer();
    const std::vector<CNote*> notes = NotesOf(m_entries);
    std::vector<NotesTrailer::Section> ours{NoteIdentitySection::Encode(notes), DatesSection(m_entries)};
    if (auto formats = NoteFormatsSection::Encode(notes))
        ours.push_back(std::move(*formats));
    if (auto snoozes = NoteSnoozeSection::Encode(notes))
        ours.push_back(std::move(*snoozes));
    NotesTrailer::Write(ar, ours, m_keptSections);
    return ar.TakeBuffer();
}

void CDeletedNotesBin::ReadTrailer(std::span<const uint8_t> rest, std::vector<Entry>& loaded)
{
    m_keptSections.clear();
    if (rest.size() >= 8 && CArchive::U32At(rest.data()) == kTrailerMagic) {
        // A bin of an older version: its dates, when they are all there.
        if (CArchive::U32At(rest.data() + 4) == loaded.size() && rest.size() - 8 >= 4 * loaded.size()) {
            for (size_t i = 0; i < loaded.size(); ++i)
                loaded[i].deletedAt = CArchive::I32At(rest.data() + 8 + 4 * i);
        }
        NoteIdentitySection::GiveNewIdsToRepeats(NotesOf(loaded));
        return;
    }
    const std::vector<NotesTrailer::SectionView> sections = NotesTrailer::Read(rest);
    NoteIdentitySection::Apply(NotesTrailer::Find(sections, NoteIdentitySection::kTag), NotesOf(loaded));
    NoteIdentitySection::GiveNewIdsToRepeats(NotesOf(loaded));
    ReadDates(NotesTrailer::Find(sections, kDatesTag), loaded);
    NoteFormatsSection::Apply(NotesTrailer::Find(sections, NoteFormatsSection::kTag), NotesOf(loaded));
    NoteSnoozeSection::Apply(NotesTrailer::Find(sections, NoteSnoozeSection::kTag), NotesOf(loaded));
    static constexpr uint32_t kRead[] = {NoteIdentitySection::kTag, kDatesTag, NoteFormatsSection::kTag,
                                         NoteSnoozeSection::kTag};
    m_keptSections = NotesTrailer::Others(sections, kRead);
}

bool CDeletedNotesBin::LoadFromBytes(const std::vector<uint8_t>& bytes, NoteTime now)
{
    std::vector<Entry> loaded;
    size_t recordsEnd = 0;
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
        recordsEnd = bytes.size() - static_cast<size_t>(ar.Remaining());
    } catch (const ArchiveError&) {
        return false;
    }
    // Notes without their dates keep "now" and stay their 30 days from today.
    ReadTrailer(std::span<const uint8_t>(bytes).subspan(recordsEnd), loaded);
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
    const NoteId id = note.m_identity.id;
    const std::vector<uint8_t> wanted = id.IsNull() ? StoredForm(note) : std::vector<uint8_t>{};
    for (size_t i = m_entries.size(); i-- > 0;) {
        const CNote& kept = *m_entries[i].note;
        if (id.IsNull() ? StoredForm(kept) == wanted : kept.m_identity.id == id) {
            m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}
