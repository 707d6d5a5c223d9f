#pragma once
// A face button of a skin: made from a layout row, known to its dialog by
// number and name (all of them carry control id 0), and reporting its click
// and the mouse over it to the dialog.
#include <string>

#include "skin/CFaceButton.h"

class CSkinDialog;

class CSkinButton : public CFaceButton {
public:
    CSkinButton(CSkinDialog& dialog, int number, std::string name)
        : m_dialog(dialog), m_nNumber(number), m_strName(std::move(name)) {}

    int GetNumber() const { return m_nNumber; }
    // Reports a click to the dialog, as a press and release on it would (the
    // dialog's Enter key, Space on the button).
    void Click();
    const std::string& GetName() const { return m_strName; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnKey(UINT msg, WPARAM wParam, LPARAM lParam);

    CSkinDialog& m_dialog;
    int m_nNumber;
    std::string m_strName;
    // A click is a press and a release on this button: a release alone (the
    // end of a choice in a menu that lay over it) is nobody's click.
    bool m_bPressed = false;
    bool m_bSpacePressed = false;
};
