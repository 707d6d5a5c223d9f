#include "mainwnd/DeletedNotes.h"

#include "mainwnd/CDeletedNotesDlg.h"

void DeletedNotes::Delete(const std::vector<NotePos>& lastFirst)
{
    std::vector<UndoDeletes::Deleted> step;
    for (NotePos pos : lastFirst) {
        const int index = m_notes.IndexOf(pos);
        step.push_back({m_notes.Detach(pos), index});
    }
    Keep(std::move(step));
}

void DeletedNotes::Keep(std::vector<UndoDeletes::Deleted> step)
{
    if (step.empty())
        return;
    // A copy goes to the bin at once, so the note survives the end of the
    // run; the note itself waits for Ctrl+Z.
    if (CDeletedNotesBin* bin = m_sync.Bin()) {
        const NoteTime now = CurrentNoteTime();
        for (const UndoDeletes::Deleted& deleted : step)
            bin->Add(*deleted.note, now);
        bin->Save();
    }
    m_undo.Push(std::move(step));
}

std::vector<CNote*> DeletedNotes::Undo()
{
    const std::vector<CNote*> restored = m_undo.UndoInto(m_notes);
    if (restored.empty())
        return restored;
    if (CDeletedNotesBin* bin = m_sync.Bin()) {
        for (const CNote* note : restored)
            bin->Forget(*note);
        bin->Save();
    }
    return restored;
}

std::optional<std::vector<CNote*>> DeletedNotes::RestoreChosen(HWND owner)
{
    CDeletedNotesBin* bin = m_sync.Bin();
    if (!bin)
        return std::nullopt;
    bin->Prune(CurrentNoteTime());
    CDeletedNotesDlg dlg(*bin);
    if (dlg.DoModal(owner) != IDOK || dlg.m_chosen.empty())
        return std::nullopt;
    std::vector<CNote*> restored;
    for (size_t index : dlg.m_chosen) {
        std::unique_ptr<CNote> note = bin->Take(index);
        CNote* raw = note.get();
        if (!note || !m_notes.Add(note))
            break;  // a full list takes no more; the rest stay in the bin
        restored.push_back(raw);
    }
    bin->Save();
    return restored;
}
