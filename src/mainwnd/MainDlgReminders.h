#pragma once
// The main window's side of reminders: the tray balloon for the notes a
// scheduler pass brought up, whose click brings the note to the front, and
// "Coming up", whose chosen note comes up the same way.
#include <windows.h>

#include <functional>
#include <vector>

#include "notes/CNoteList.h"
#include "tray/CSystemTray.h"

class MainDlgReminders {
public:
    // Brings a note onto the desktop, in front, with the caret in its text.
    using NoteOpener = std::function<void(CNote& note)>;

    // notes and tray must outlive this object.
    MainDlgReminders(CNoteList& notes, CSystemTray& tray, NoteOpener open);

    // One balloon for the notes of one pass; its click opens the first.
    void Tell(const std::vector<CNote*>& notes);
    // The "Coming up" dialog over owner, at now; opens the note chosen.
    void ShowComingUp(HWND owner, NoteTime now);
    // Opens the note with the id, if the list still holds it.
    void OpenById(const NoteId& id);

private:
    CNoteList& m_notes;
    CSystemTray& m_tray;
    NoteOpener m_open;
};
