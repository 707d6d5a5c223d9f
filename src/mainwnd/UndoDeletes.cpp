#include "mainwnd/UndoDeletes.h"

#include <algorithm>
#include <iterator>

#include "notes/Archive.h"
#include "notes/CNoteList.h"

namespace {

std::vector<uint8_t> StoredForm(const CNote& note)
{
    CArchive ar;
    const_cast<CNote&>(note).Serialize(ar);  // storing does not change the note
    return ar.TakeBuffer();
}

}  // namespace

void UndoDeletes::Push(std::vector<Deleted> step)
{
    if (step.empty())
        return;
    // Lowest place first: each note then goes back before the notes that
    // followed it, and the ones before it are already in place.
    std::sort(step.begin(), step.end(), [](const Deleted& a, const Deleted& b) { return a.index < b.index; });
    m_steps.push_back(std::move(step));
    if (m_steps.size() > kMaxSteps)
        m_steps.pop_front();
}

std::vector<CNote*> UndoDeletes::UndoInto(CNoteList& notes)
{
    std::vector<CNote*> restored;
    if (m_steps.empty())
        return restored;
    std::vector<Deleted>& step = m_steps.back();
    auto left = step.begin();
    for (Deleted& deleted : step) {
        CNote* note = deleted.note.get();
        if (notes.Add(deleted.note, deleted.index))
            restored.push_back(note);
        else
            *left++ = std::move(deleted);  // the list is full: kept for later
    }
    step.erase(left, step.end());
    if (step.empty())
        m_steps.pop_back();
    return restored;
}

void UndoDeletes::Forget(const CNote& note)
{
    const NoteId id = note.m_identity.id;
    const std::vector<uint8_t> wanted = id.IsNull() ? StoredForm(note) : std::vector<uint8_t>{};
    const auto same = [&](const CNote& kept) {
        return id.IsNull() ? StoredForm(kept) == wanted : kept.m_identity.id == id;
    };
    for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step) {
        for (auto kept = step->begin(); kept != step->end(); ++kept) {
            if (!same(*kept->note))
                continue;
            step->erase(kept);
            if (step->empty())
                m_steps.erase(std::next(step).base());
            return;
        }
    }
}
