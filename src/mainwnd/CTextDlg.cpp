#include "mainwnd/CTextDlg.h"

#include <vector>

#include "notes/CNote.h"
#include "res/resource.h"

CTextDlg::CTextDlg() : CDialogBase(IDD_TEXT) {}

BOOL CTextDlg::OnInitDialog()
{
    SendDlgItemMessageA(m_hWnd, IDC_NOTE_EDIT, EM_SETLIMITTEXT, kNoteTextLimit, 0);
    SetDlgItemTextA(m_hWnd, IDC_NOTE_EDIT, m_strText.c_str());
    return TRUE;
}

void CTextDlg::OnOK()
{
    HWND edit = GetItem(IDC_NOTE_EDIT);
    const int length = GetWindowTextLengthA(edit);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(edit, text.data(), length + 1);
    m_strText.assign(text.data());
    CDialogBase::OnOK();
}
