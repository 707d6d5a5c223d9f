#include "settings/COptionsDlg.h"

#include "res/resource.h"
#include "settings/AutoRun.h"

COptionsDlg::COptionsDlg() : CDialogBase(IDD_OPTIONS) {}

BOOL COptionsDlg::OnInitDialog()
{
    CDialogBase::OnInitDialog();
    m_bAutoRun = g_bAutoRun;
    CheckDlgButton(m_hWnd, IDC_OPT_AUTORUN, m_bAutoRun ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void COptionsDlg::CheckBoxToMember()
{
    m_bAutoRun = IsDlgButtonChecked(m_hWnd, IDC_OPT_AUTORUN) == BST_CHECKED ? 1 : 0;
}

void COptionsDlg::OnOK()
{
    // Neither button is the default one, so Enter arrives as IDOK: it closes
    // the dialog as confirmed and must keep the choice, as "&OK" does.
    CheckBoxToMember();
    g_bAutoRun = m_bAutoRun;
    // Written now, not only at the end of the run: a power cut or a forced
    // log-off must not take back what the user confirmed.
    WriteAutoRun();
    CDialogBase::OnOK();
}

INT_PTR COptionsDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_OPT_OK:
            OnOK();
            return TRUE;
        case IDC_OPT_CANCEL:
            OnCancel();
            return TRUE;
        }
    }
    return CDialogBase::HandleMessage(msg, wParam, lParam);
}
