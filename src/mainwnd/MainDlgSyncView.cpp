#include "mainwnd/MainDlgSyncView.h"

#include <utility>

#include "mainwnd/CMainDlg.h"
#include "mainwnd/SyncNotices.h"
#include "notes/CNoteList.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"
#include "tray/CSystemTray.h"

namespace {

constexpr const char16_t* kBalloonTitle = u"A note was changed on two computers";
constexpr const char16_t* kBalloonText =
    u"Both versions are on the desktop, side by side: keep the text you want and delete the other note. Click "
    u"here to bring them to the front.";

}  // namespace

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
    // The new text replaces the box's whole text, which puts the caret at
    // its start: the user typing on goes on where the caret was.
    const bool typedIn = IsBeingTypedIn(note);
    DWORD selStart = 0, selEnd = 0;
    if (typedIn)
        SendMessageW(wnd->GetEdit(), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    HWND hwnd = wnd->GetHwnd();
    SendMessageA(hwnd, WM_NOTE_CHANGED, NOTE_REFRESHED, 0);
    if (typedIn)
        SendMessageW(wnd->GetEdit(), EM_SETSEL, selStart, selEnd);
    const NoteRect rc = wnd->ShownRect(note.m_rcWindow);
    SetWindowPos(hwnd, note.m_bOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, rc.left, rc.top, rc.Width(), rc.Height(),
                 SWP_NOACTIVATE);
}

void MainDlgSyncView::NotesRearranged()
{
    m_dlg.FillNoteList();
    m_dlg.OpenWindowsOfVisibleNotes();
}

NoteRect MainDlgSyncView::WorkAreaAt(const NoteRect& rect)
{
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

void MainDlgSyncView::BothVersionsKept(const std::vector<CNote*>& versions)
{
    for (CNote* note : versions) {
        if (!note->m_pWnd)
            continue;
        // Above the other notes, so the user sees it came; not activated,
        // so the keys stay where the user types.
        SetWindowPos(note->m_pWnd->GetHwnd(), note->m_bOnTop ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (const CNote* note : versions)
        m_versionsToTell.push_back(note->m_identity.id);
}

bool MainDlgSyncView::TellDue(SyncNotices& notices)
{
    if (m_versionsToTell.empty())
        return false;
    std::vector<NoteId> versions = std::move(m_versionsToTell);
    m_versionsToTell.clear();
    if (m_dlg.Tray().ShowBalloon(kBalloonTitle, kBalloonText,
                                 [this, versions] { BringVersionsUp(versions); }))
        return true;
    notices.BothVersionsKept();
    return false;
}

void MainDlgSyncView::BringVersionsUp(const std::vector<NoteId>& versions)
{
    // The last one brought up has the caret: the first kept, on top.
    for (auto id = versions.rbegin(); id != versions.rend(); ++id) {
        for (NotePos p = m_notes.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
            CNote& note = *m_notes.GetAt(p);
            if (note.m_identity.id == *id) {
                m_dlg.BringNoteUp(note);
                break;
            }
        }
    }
}
