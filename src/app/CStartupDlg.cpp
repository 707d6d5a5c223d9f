#include "app/CStartupDlg.h"

#include <string>

#include "notes/CNoteList.h"
#include "res/resource.h"

CStartupDlg::CStartupDlg(CNoteList& notes) : CDialogBase(IDD_STARTUP), m_notes(notes) {}

BOOL CStartupDlg::OnInitDialog()
{
    const std::string text = std::to_string(m_notes.m_nCount) + " notes in " + m_notes.m_strPath;
    SetDlgItemTextA(m_hWnd, IDC_STARTUP_TEXT, text.c_str());
    return TRUE;
}
