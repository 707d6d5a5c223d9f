#pragma once
// Ctrl+F's find box over the note list, with its close button. While the box
// has text the list shows only the notes whose text holds it, each with the
// match marked, both by one rule; closing it gives the whole list back with
// the user's selection.
#include <windows.h>

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "mainwnd/NoteListView.h"
#include "notes/CNoteList.h"
#include "notes/TextFind.h"

class FindBar : public NoteListView::RowFilter {
public:
    // openChosenNote: what Enter in the box does once it has chosen the row.
    FindBar(CNoteList& notes, NoteListView& view, std::function<void()> openChosenNote);
    FindBar(const FindBar&) = delete;
    FindBar& operator=(const FindBar&) = delete;

    // The box over the list of `dialog`, or the focus back to it.
    void Open(HWND dialog);
    void Close();
    bool IsOpen() const { return m_edit != nullptr; }
    HWND Box() const { return m_edit; }
    // The box's text changed.
    void OnTextChanged();
    // Enter, Escape and Down in the box; true when the key was used.
    bool OnBoxKey(WPARAM key);

    bool ShowsNote(CNote* note, size_t index) override;
    TextMatch MarkIn(const CNote& note) override;

private:
    // The one matcher behind the rows and the mark; `slot`: the note's place
    // in the list, where its folded text is kept. `span`, when given,
    // receives where the match is.
    bool Match(const CNote& note, size_t slot, TextMatch* span = nullptr);
    void Place();
    // Enter: the row the user picked, else the first one found.
    void OpenFoundNote();
    // The rows that are selected, and those selected before the find hid
    // them, by note.
    std::set<NotePos> KeptSelection() const;
    void SelectRowsOf(const std::set<NotePos>& notes);

    CNoteList& m_notes;
    NoteListView& m_view;
    std::function<void()> m_openChosenNote;
    HWND m_edit = nullptr;
    HWND m_close = nullptr;
    RECT m_rcListWhole{};           // the list's place without the box
    std::u16string m_strQuery;      // folded; empty shows every note
    std::unique_ptr<FoldedTextCache> m_cache;
    std::set<NotePos> m_hiddenSelection;  // selected rows the find hides
};
