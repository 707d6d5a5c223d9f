#pragma once
// The About box: the version, a description of the program and a blinking
// link to its web page, on blue. It is dragged by any point and ignores the
// keyboard; its caption's close button closes it.
#include <windows.h>

#include "framework/CDialogBase.h"
#include "skin/CLinkLabel.h"

class CAboutDlg : public CDialogBase {
public:
    static constexpr COLORREF kBackColour = RGB(58, 137, 190);
    static constexpr COLORREF kLinkColour = RGB(0, 255, 0);

    CAboutDlg();

    bool PreTranslateMessage(MSG& msg) override;
    const CLinkLabel& Link() const { return m_link; }

protected:
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintTitle();
    static HBRUSH BackBrush();

    CLinkLabel m_link;
};
