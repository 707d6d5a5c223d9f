#pragma once
// The main window without its start-up splash: what the window itself costs.
#include "mainwnd/CMainDlg.h"

class MainDlgWithoutSplash : public CMainDlg {
public:
    using CMainDlg::CMainDlg;

protected:
    void OpenStartupSplash() override {}
};
