#pragma once
// The "Options" dialog: whether the program starts with Windows. It edits
// g_bAutoRun only; the registry follows when the program ends.
#include "framework/CDialogBase.h"

class COptionsDlg : public CDialogBase {
public:
    COptionsDlg();

    // The check box's state, as last exchanged with the dialog.
    int m_bAutoRun = 0;

protected:
    BOOL OnInitDialog() override;
    // "&OK" and Enter both confirm: the box's state becomes the option.
    void OnOK() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CheckBoxToMember();
};
