#pragma once
// "Enter text": edits one note's text from the note list.
#include <string>

#include "framework/CDialogBase.h"

class CTextDlg : public CDialogBase {
public:
    CTextDlg();
    std::u16string m_strText;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
