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
    const std::string& GetName() const { return m_strName; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);

    CSkinDialog& m_dialog;
    int m_nNumber;
    std::string m_strName;
};
