#include "mainwnd/CTextDlg.h"

#include "framework/WideText.h"
#include "notes/CNote.h"
#include "res/resource.h"

CTextDlg::CTextDlg() : CDialogBase(IDD_TEXT) {}

BOOL CTextDlg::OnInitDialog()
{
    SendDlgItemMessageW(m_hWnd, IDC_NOTE_EDIT, EM_SETLIMITTEXT, kNoteTextLimit, 0);
    SetWindowTextUtf16(GetItem(IDC_NOTE_EDIT), m_strText);
    return TRUE;
}

void CTextDlg::OnOK()
{
    m_strText = GetWindowTextUtf16(GetItem(IDC_NOTE_EDIT));
    CDialogBase::OnOK();
}
