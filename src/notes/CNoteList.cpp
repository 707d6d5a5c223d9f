#include "notes/CNoteList.h"

#include "notes/Archive.h"
#include <ctime>

#include "notes/NoteFileStore.h"
#include "notes/NoteIdSource.h"
#include "notes/NoteFormatsSection.h"
#include "notes/NoteIdentitySection.h"
#include "notes/NoteBasedOnSection.h"
#include "notes/NoteSnoozeSection.h"

CNoteList::CNoteList() : m_store(&PlatformNoteFileStore()), m_clock([] { return int64_t(std::time(nullptr)); }) {}

CNoteList::~CNoteList()
{
    RemoveAll();
}

void CNoteList::RemoveAll()
{
    // In list order: each note closes its own window as it goes.
    NoteNode* node = m_head;
    while (node) {
        NoteNode* next = node->m_nextNode;
        delete static_cast<CNote*>(node);
        node = next;
    }
    m_head = m_tail = nullptr;
    m_nCount = 0;
}

NotePos CNoteList::InsertNode(std::unique_ptr<CNote> note, NoteNode* before)
{
    CNote* node = note.release();
    node->m_prevNode = node->m_nextNode = nullptr;
    if (before) {
        node->m_nextNode = before;
        node->m_prevNode = before->m_prevNode;
        if (before->m_prevNode)
            before->m_prevNode->m_nextNode = node;
        else
            m_head = node;
        before->m_prevNode = node;
    } else {
        node->m_prevNode = m_tail;
        if (m_tail)
            m_tail->m_nextNode = node;
        else
            m_head = node;
        m_tail = node;
    }
    node->m_pos = node;
    return node;
}

NotePos CNoteList::Add(std::unique_ptr<CNote>& note, int index)
{
    if (!note || m_nCount >= kMaxNotes)
        return nullptr;
    NoteNode* before = nullptr;
    if (index >= 0 && index < m_nCount) {
        before = m_head;
        for (int i = 0; i < index; ++i)
            before = before->m_nextNode;
    }
    NotePos pos = InsertNode(std::move(note), before);
    ++m_nCount;
    m_bModified = 1;
    return pos;
}

NotePos CNoteList::Add(std::unique_ptr<CNote>&& note, int index)
{
    std::unique_ptr<CNote> owned = std::move(note);
    return Add(owned, index);
}

void CNoteList::Remove(NotePos pos)
{
    delete Detach(pos).release();  // the note goes, and with it its window
}

int CNoteList::IndexOf(NotePos pos) const
{
    int index = 0;
    for (const NoteNode* node = m_head; node; node = node->m_nextNode, ++index) {
        if (node == pos)
            return index;
    }
    return -1;
}

std::unique_ptr<CNote> CNoteList::Detach(NotePos pos)
{
    if (!pos)
        return nullptr;
    if (pos->m_prevNode)
        pos->m_prevNode->m_nextNode = pos->m_nextNode;
    else
        m_head = pos->m_nextNode;
    if (pos->m_nextNode)
        pos->m_nextNode->m_prevNode = pos->m_prevNode;
    else
        m_tail = pos->m_prevNode;
    --m_nCount;
    m_bModified = 1;
    std::unique_ptr<CNote> note(static_cast<CNote*>(pos));
    note->m_prevNode = note->m_nextNode = nullptr;
    note->m_pos = nullptr;
    note->CloseWindow();
    return note;
}

CNote* CNoteList::GetAt(int index, NotePos* pos) const
{
    NoteNode* node = index >= 0 ? m_head : nullptr;
    for (int i = 0; node && i < index; ++i)
        node = node->m_nextNode;
    if (pos)
        *pos = node;
    return static_cast<CNote*>(node);
}

void CNoteList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        WriteRecords(ar, nullptr);
        WriteTrailer(ar);
        return;
    }
    RemoveAll();
    m_keptSections.clear();
    ar.ReadU32();  // the header is not checked
    const auto count = static_cast<int16_t>(ar.ReadU16());
    // The program never writes a negative count: such a file is not a notes
    // file, and taking it for an empty list would let the next save replace it.
    if (count < 0)
        throw ArchiveError("negative note count");
    for (int i = 0; i < count; ++i) {
        auto note = std::make_unique<CNote>(CNote::ForLoading{});
        note->Serialize(ar);
        InsertNode(std::move(note), nullptr);
        ++m_nCount;
    }
    ReadTrailer(ar);
    m_stamps.BeginRemembering(static_cast<size_t>(m_nCount));
    WalkRecords();
}

void CNoteList::WriteRecords(CArchive& ar, NoteChangeStamps* stamps)
{
    ar.WriteU32(kFileHeader);
    ar.WriteU16(static_cast<uint16_t>(m_nCount));
    for (NoteNode* node = m_head; node; node = node->m_nextNode) {
        CNote* note = static_cast<CNote*>(node);
        const size_t at = ar.Buffer().size();
        note->Serialize(ar);
        if (stamps)
            stamps->Walk(*note, std::span<const uint8_t>(ar.Buffer()).subspan(at));
    }
}

void CNoteList::WriteTrailer(CArchive& ar) const
{
    // A file of no notes stays the six bytes every reader expects.
    if (m_nCount == 0 && m_keptSections.empty())
        return;
    const std::vector<CNote*> notes = Notes();
    std::vector<NotesTrailer::Section> ours{NoteIdentitySection::Encode(notes)};
    if (auto formats = NoteFormatsSection::Encode(notes))
        ours.push_back(std::move(*formats));
    if (auto snoozes = NoteSnoozeSection::Encode(notes))
        ours.push_back(std::move(*snoozes));
    if (auto basedOn = NoteBasedOnSection::Encode(notes))
        ours.push_back(std::move(*basedOn));
    NotesTrailer::Write(ar, ours, m_keptSections);
}

void CNoteList::ReadTrailer(CArchive& ar)
{
    // Whatever follows the records is read only when it starts as a trailer:
    // an old file may carry any bytes there.
    std::vector<uint8_t> rest;
    if (ar.Remaining() >= NotesTrailer::kStartBytes) {
        uint8_t start[NotesTrailer::kStartBytes];
        ar.ReadBytes(start, sizeof start);
        if (CArchive::U32At(start) == NotesTrailer::kMagic) {
            rest.assign(start, start + sizeof start);
            rest.resize(sizeof start + static_cast<size_t>(ar.Remaining()));
            ar.ReadBytes(rest.data() + sizeof start, rest.size() - sizeof start);
        }
    }
    // Notes left without an id, or with a repeated one, get theirs from the
    // walk of the records that follows.
    const std::vector<NotesTrailer::SectionView> sections = NotesTrailer::Read(rest);
    const std::vector<CNote*> notes = Notes();
    NoteIdentitySection::Apply(NotesTrailer::Find(sections, NoteIdentitySection::kTag), notes);
    NoteFormatsSection::Apply(NotesTrailer::Find(sections, NoteFormatsSection::kTag), notes);
    NoteSnoozeSection::Apply(NotesTrailer::Find(sections, NoteSnoozeSection::kTag), notes);
    NoteBasedOnSection::Apply(NotesTrailer::Find(sections, NoteBasedOnSection::kTag), notes);
    static constexpr uint32_t kRead[] = {NoteIdentitySection::kTag, NoteFormatsSection::kTag,
                                         NoteSnoozeSection::kTag, NoteBasedOnSection::kTag};
    m_keptSections = NotesTrailer::Others(sections, kRead);
}

void CNoteList::WalkRecords()
{
    CArchive scratch;
    std::vector<uint8_t> buffer;
    for (NoteNode* node = m_head; node; node = node->m_nextNode) {
        CNote* note = static_cast<CNote*>(node);
        scratch.AdoptBuffer(std::move(buffer));
        note->Serialize(scratch);
        buffer = scratch.TakeBuffer();
        m_stamps.Walk(*note, buffer);
    }
    m_stamps.End();
}

void CNoteList::StampChangedNotes(int64_t now, NoteId installation)
{
    m_stamps.BeginStamping(now, installation, static_cast<size_t>(m_nCount));
    WalkRecords();
}

void CNoteList::RememberNotesAsStamped()
{
    m_stamps.BeginRemembering(static_cast<size_t>(m_nCount));
    WalkRecords();
}

std::vector<CNote*> CNoteList::Notes() const
{
    std::vector<CNote*> notes;
    notes.reserve(static_cast<size_t>(m_nCount));
    for (NoteNode* node = m_head; node; node = node->m_nextNode)
        notes.push_back(static_cast<CNote*>(node));
    return notes;
}

std::vector<uint8_t> CNoteList::StoreToBytes() const
{
    CArchive ar;
    const_cast<CNoteList*>(this)->Serialize(ar);  // storing does not change the list
    return ar.TakeBuffer();
}

bool CNoteList::Load(const std::string& path)
{
    m_bModified = 0;
    // What a save cut off by a crash or power loss left behind.
    m_store->RemoveLeftoverTemporary(path);
    if (!m_store->Exists(path)) {
        // Created with the current list; if that fails, reading fails below.
        const auto bytes = StoreToBytes();
        m_store->ReplaceAll(path, bytes);
    }
    const auto file = m_store->OpenForReading(path);
    if (!file)
        return false;

    // Read into a fresh list first: a damaged file must not leave half a list.
    CNoteList loaded;
    try {
        CArchive ar(*file);
        loaded.Serialize(ar);
    } catch (const ArchiveError&) {
        return false;
    }
    TakeNotesOf(loaded);
    m_strPath = path;
    return true;
}

bool CNoteList::LoadAsChange(const std::string& path, int64_t now)
{
    // What the list holds now, as fingerprints: the file's notes are told
    // apart from it at the next save.
    StampChangedNotes(now, NoteIdSource::Installation());
    NoteChangeStamps held = m_stamps;
    if (!Load(path))
        return false;
    m_stamps = std::move(held);
    return true;
}

bool CNoteList::Save()
{
    if (!m_bModified)
        return false;
    if (m_dailyBackup.BeforeSave(*m_store, m_strPath, m_clock()) == BackupOutcome::kFailed)
        m_bBackupFailed = true;
    // The buffer of the last save is written over: a save every few seconds
    // then costs no fresh allocation of the whole file.
    CArchive ar;
    ar.AdoptBuffer(std::move(m_saveBuffer));
    // The stamps are brought up to date as the records are written, so that
    // the trailer after them carries them.
    m_stamps.BeginStamping(m_clock(), NoteIdSource::Installation(), static_cast<size_t>(m_nCount));
    WriteRecords(ar, &m_stamps);
    m_stamps.End();
    WriteTrailer(ar);
    m_saveBuffer = ar.TakeBuffer();
    const bool wrote = m_store->ReplaceAll(m_strPath, m_saveBuffer);
    if (!wrote) {
        m_saveBuffer.clear();
        return false;  // still modified: the next save tries again
    }
    // Kept as what the file now holds; the older buffer is reused next time.
    m_lastWritten.swap(m_saveBuffer);
    m_saveBuffer.clear();
    m_bModified = 0;
    return true;
}

void CNoteList::TakeNotesOf(CNoteList& loaded)
{
    RemoveAll();
    m_head = loaded.m_head;
    m_tail = loaded.m_tail;
    m_nCount = loaded.m_nCount;
    loaded.m_head = loaded.m_tail = nullptr;
    loaded.m_nCount = 0;
    m_keptSections = std::move(loaded.m_keptSections);
    m_stamps = std::move(loaded.m_stamps);
}

bool CNoteList::LoadFromBytes(std::span<const uint8_t> bytes)
{
    CNoteList loaded;
    try {
        CArchive ar(bytes);
        loaded.Serialize(ar);
    } catch (const ArchiveError&) {
        return false;
    }
    TakeNotesOf(loaded);
    return true;
}
