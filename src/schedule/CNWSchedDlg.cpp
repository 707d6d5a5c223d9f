#include "schedule/CNWSchedDlg.h"

#include "framework/CWinAppBase.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"
#include "schedule/IsDue.h"

CNWSchedDlg::CNWSchedDlg(CNote& note, INoteHost& host)
    : CDialogBase(IDD_SCHEDULE), m_note(note), m_host(host), m_sheet(kTitle)
{
}

CNWSchedDlg::~CNWSchedDlg()
{
    Release();
}

BOOL CNWSchedDlg::OnInitDialog()
{
    m_bDisable = !m_note.m_bSchedNew && m_note.m_bSchedDisabled;
    m_note.m_bInSchedDialog = 1;
    m_bHoldsNote = true;
    CheckDlgButton(m_hWnd, IDC_SCHED_DISABLE, m_bDisable ? BST_CHECKED : BST_UNCHECKED);

    m_schedPage.SetNote(&m_note);
    m_eventPage.SetNote(&m_note);
    m_schedPage.SetInitialDisable(m_bDisable);
    m_eventPage.SetInitialDisable(m_bDisable);
    m_sheet.AddPage(m_schedPage);
    m_sheet.AddPage(m_eventPage);
    // Without its pages the dialog could not check what OK would store.
    if (!m_sheet.Create(m_hWnd))
        OnCancel();
    return TRUE;
}

void CNWSchedDlg::OnDisableClicked()
{
    // Held until OK: the note keeps its own flag until then.
    m_bDisable = IsDlgButtonChecked(m_hWnd, IDC_SCHED_DISABLE) == BST_CHECKED;
    for (CPropertyPageBase* page : {static_cast<CPropertyPageBase*>(&m_schedPage),
                                    static_cast<CPropertyPageBase*>(&m_eventPage)}) {
        if (page->HasWindow())
            SendMessageA(page->GetHwnd(), WM_SCHED_DISABLE, static_cast<WPARAM>(m_bDisable), 0);
    }
    // A page made later starts the same way.
    m_schedPage.SetInitialDisable(m_bDisable);
    m_eventPage.SetInitialDisable(m_bDisable);
}

void CNWSchedDlg::OnOK()
{
    // Everything is checked before anything is written.
    if (m_schedPage.HasWindow() && !m_schedPage.Validate())
        return;
    if (m_eventPage.HasWindow() && !m_eventPage.Validate())
        return;
    m_bDisable = IsDlgButtonChecked(m_hWnd, IDC_SCHED_DISABLE) == BST_CHECKED;

    if (m_schedPage.HasWindow())
        m_schedPage.Apply(m_note);
    if (m_eventPage.HasWindow())
        m_eventPage.Apply(m_note);
    m_note.m_bSchedDisabled = m_bDisable ? 1 : 0;
    m_note.m_tLastShown = ConfirmedScheduleMark().value_or(0);
    m_note.m_bSchedNew = 0;
    Release();

    const NotePos pos = m_note.m_pos;
    EndDialog(IDOK);
    m_host.NoteChanged(pos);
}

void CNWSchedDlg::OnCancel()
{
    Release();
    EndDialog(IDCANCEL);
}

void CNWSchedDlg::Release()
{
    // Once only: after the window is gone the note may be too (a note that
    // is deleted destroys its window, and this dialog with it).
    if (m_bHoldsNote)
        m_note.m_bInSchedDialog = 0;
    m_bHoldsNote = false;
}

bool CNWSchedDlg::PreTranslateMessage(MSG& msg)
{
    return m_sheet.TranslatePageKeys(msg);
}

INT_PTR CNWSchedDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_SCHED_DISABLE:
            OnDisableClicked();
            return TRUE;
        case IDC_SCHED_HELP:
            if (CWinAppBase::Get())
                CWinAppBase::Get()->ShowHelp();
            return TRUE;
        default:
            break;
        }
    }
    if (msg == WM_DESTROY)
        Release();  // also when an owner window takes the dialog with it
    return CDialogBase::HandleMessage(msg, wParam, lParam);
}

INT_PTR OpenScheduleDialog(HWND parent, CNote& note, INoteHost& host)
{
    if (note.m_bInSchedDialog) {
        MessageBeep(0);
        return IDCANCEL;
    }
    CNWSchedDlg dlg(note, host);
    return dlg.DoModal(parent);
}

void InstallScheduleDialog()
{
    CNoteWnd::SetScheduleDialogOpener(
        [](HWND parent, CNote& note, INoteHost& host) { OpenScheduleDialog(parent, note, host); });
}
