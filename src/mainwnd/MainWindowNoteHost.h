#pragma once
// The note windows' host in the running program: the note list and the main
// window, told through the main window's own messages, so that a change made
// in a note window and one made in the list take the same way.
#include <windows.h>

#include "notes/CNoteList.h"
#include "notewnd/INoteHost.h"

class MainWindowNoteHost : public INoteHost {
public:
    // Without a main window the notes list is still marked, and nothing is
    // sent or posted.
    explicit MainWindowNoteHost(CNoteList& notes, HWND mainWindow = nullptr)
        : m_notes(notes), m_mainWindow(mainWindow)
    {
    }
    // The main window gets its handle only once it is made.
    void SetMainWindow(HWND mainWindow) { m_mainWindow = mainWindow; }

    void NoteChanged(NotePos pos) override;
    void NoteMoved() override;
    void NoteDeleted(NotePos pos) override;
    void UndoLastDelete() override;
    void UseAsNewNoteStyle(NotePos pos) override;

private:
    CNoteList& m_notes;
    HWND m_mainWindow;
};
