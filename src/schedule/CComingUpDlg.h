#pragma once
// "Coming up": the reminders of the next seven days in a list, earliest
// first (ComingUp.h); the user opens one to bring its note up. The list is
// virtual: it asks for the text of the rows it shows, so a full note list
// opens as fast as an empty one.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/CDialogBase.h"
#include "notes/CNoteList.h"

class CComingUpDlg : public CDialogBase {
public:
    // The rows are worked out from notes at now when the dialog opens.
    CComingUpDlg(const CNoteList& notes, NoteTime now);

    // After OK: the id of the note chosen (the notes may change while the
    // dialog is open, so it is looked up again by id).
    NoteId m_chosen;

    enum Column { kDayColumn, kTimeColumn, kNoteColumn, kRepeatColumn };
    // What a row shows: the day, the time, the note's first line and how it
    // repeats ("Snoozed" for a note's return from a snooze).
    size_t RowCount() const { return m_rows.size(); }
    std::wstring CellText(size_t row, Column column) const;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    struct Row {
        NoteTime at;
        NoteId id;
        std::u16string line;
        std::u16string repeat;
    };
    void OnGetDispInfo(NMLVDISPINFOW& info);

    const CNoteList& m_notes;
    NoteTime m_now;
    std::vector<Row> m_rows;
    std::wstring m_cell;  // the text the list was last handed
};

// Shows the dialog over owner; the note chosen, or a null id.
NoteId ChooseComingUpNote(HWND owner, const CNoteList& notes, NoteTime now);
