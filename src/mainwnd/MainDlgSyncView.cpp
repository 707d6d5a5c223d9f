#include "mainwnd/MainDlgSyncView.h"

#include <windows.h>

#include "mainwnd/CMainDlg.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"

bool MainDlgSyncView::IsBeingTypedIn(const CNote& note)
{
    HWND focus = GetFocus();
    return note.m_pWnd && focus && note.m_pWnd->GetEdit() == focus;
}

void MainDlgSyncView::NoteTookNewForm(CNote& note)
{
    CNoteWnd* wnd = note.m_pWnd;
    if (!wnd)
        return;
    if (!note.m_bVisible) {
        m_dlg.CloseNoteWindow(&note);
        return;
    }
    HWND hwnd = wnd->GetHwnd();
    SendMessageA(hwnd, WM_NOTE_CHANGED, NOTE_REFRESHED, 0);
    const NoteRect rc = wnd->ShownRect(note.m_rcWindow);
    SetWindowPos(hwnd, note.m_bOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, rc.left, rc.top, rc.Width(), rc.Height(),
                 SWP_NOACTIVATE);
}

void MainDlgSyncView::NotesRearranged()
{
    m_dlg.FillNoteList();
    m_dlg.OpenWindowsOfVisibleNotes();
}
