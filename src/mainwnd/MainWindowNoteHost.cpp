#include "mainwnd/MainWindowNoteHost.h"

#include "res/resource.h"

void MainWindowNoteHost::NoteChanged(NotePos pos)
{
    m_notes.m_bModified = 1;
    // Posted: the row is read once the note window has finished its change.
    if (m_mainWindow)
        PostMessageA(m_mainWindow, WM_NOTE_CHANGED, NOTE_REFRESHED, reinterpret_cast<LPARAM>(pos));
}

void MainWindowNoteHost::NoteMoved()
{
    m_notes.m_bModified = 1;
}

void MainWindowNoteHost::NoteDeleted(NotePos pos)
{
    // Sent, not posted: the main window removes the row and the note before
    // the note's window goes.
    if (m_mainWindow)
        SendMessageA(m_mainWindow, WM_NOTE_CHANGED, NOTE_DELETED, reinterpret_cast<LPARAM>(pos));
}

void MainWindowNoteHost::UndoLastDelete()
{
    if (m_mainWindow)
        PostMessageA(m_mainWindow, WM_COMMAND, ID_UNDO_DELETE, 0);
}

void MainWindowNoteHost::UseAsNewNoteStyle(NotePos pos)
{
    if (m_mainWindow)
        SendMessageA(m_mainWindow, WM_NOTE_STYLE_DEFAULT, 0, reinterpret_cast<LPARAM>(pos));
}
