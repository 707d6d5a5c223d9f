#include "mainwnd/CTextDlg.h"

#include "framework/WideText.h"
#include "res/resource.h"

CTextDlg::CTextDlg() : CDialogBase(IDD_TEXT) {}

BOOL CTextDlg::OnInitDialog()
{
    SetWindowTextUtf16(GetItem(IDC_NOTE_EDIT), m_strText);
    return TRUE;
}

void CTextDlg::OnOK()
{
    m_strText = GetWindowTextUtf16(GetItem(IDC_NOTE_EDIT));
    CDialogBase::OnOK();
}
