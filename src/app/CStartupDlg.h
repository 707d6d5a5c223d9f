#pragma once
// A plain window that keeps the program running (and its notes saved at the
// end) until the skinned main window takes over the modal run.
#include "framework/CDialogBase.h"

class CNoteList;

class CStartupDlg : public CDialogBase {
public:
    explicit CStartupDlg(CNoteList& notes);

protected:
    BOOL OnInitDialog() override;

private:
    CNoteList& m_notes;
};
