#include "mainwnd/MainDlgReminders.h"

#include "schedule/CComingUpDlg.h"
#include "schedule/ReminderText.h"

MainDlgReminders::MainDlgReminders(CNoteList& notes, CSystemTray& tray, NoteOpener open)
    : m_notes(notes), m_tray(tray), m_open(std::move(open))
{
}

void MainDlgReminders::Tell(const std::vector<CNote*>& notes)
{
    if (notes.empty())
        return;
    const std::vector<const CNote*> shown(notes.begin(), notes.end());
    const ReminderBalloonText balloon = MakeReminderBalloon(shown);
    // By id: the note may be deleted or merged away before the click.
    const NoteId first = notes.front()->m_identity.id;
    m_tray.ShowBalloon(balloon.title, balloon.text, [this, first] { OpenById(first); });
}

void MainDlgReminders::ShowComingUp(HWND owner, NoteTime now)
{
    const NoteId chosen = ChooseComingUpNote(owner, m_notes, now);
    if (!chosen.IsNull())
        OpenById(chosen);
}

void MainDlgReminders::OpenById(const NoteId& id)
{
    for (NotePos pos = m_notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos)) {
        CNote& note = *m_notes.GetAt(pos);
        if (note.m_identity.id == id) {
            m_open(note);
            return;
        }
    }
}
