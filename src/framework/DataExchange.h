#pragma once
// Dialog data exchange: values move between a dialog's controls and the
// members of the object behind it, and are checked on the way in. One
// CDataExchange serves one pass over the fields. The first refusal shows the
// framework's message, puts the focus on the field and ends the pass: every
// exchange after it does nothing, and Failed() tells the caller.
#include <windows.h>

#include <string>

#include "framework/NumberField.h"

class CDataExchange {
public:
    // saveAndValidate: true reads the controls into the members, false
    // writes the members into the controls.
    CDataExchange(HWND dialog, bool saveAndValidate) : m_hDlg(dialog), m_bSaveAndValidate(saveAndValidate) {}

    bool SaveAndValidate() const { return m_bSaveAndValidate; }
    bool Failed() const { return m_bFailed; }
    HWND Dialog() const { return m_hDlg; }

    // The control about to be exchanged; validation refers to the last one.
    HWND PrepareControl(int id);
    // Refuses the pass: shows the message (none when empty), puts the focus
    // on the last prepared control (selecting an edit field's text).
    void Fail(const std::string& message);

private:
    HWND m_hDlg;
    bool m_bSaveAndValidate;
    bool m_bFailed = false;
    HWND m_hLastControl = nullptr;
};

// A number field: decimal text, optional sign, blanks around it. A text that
// is no integer (or does not fit one) is refused with kEnterIntegerMessage.
void ExchangeInt(CDataExchange& dx, int id, int& value);
// Refuses a value outside minValue..maxValue (after ExchangeInt of its field).
void ValidateIntRange(CDataExchange& dx, int value, int minValue, int maxValue);
// The framework's message for a date outside what a field can keep; "%1"
// and "%2" stand for the first and last day allowed.
inline constexpr const char* kEnterDateRangeMessage = "Please enter a date between %1 and %2.";
// Refuses the last prepared control with kEnterDateRangeMessage, the days in
// the user's short date format.
void FailDateRange(CDataExchange& dx, const SYSTEMTIME& first, const SYSTEMTIME& last);
// A text field (any characters: the program's texts are UTF-16).
void ExchangeText(CDataExchange& dx, int id, std::u16string& value);
// A check box: 0, 1 (or 2 for an indeterminate three-state box).
void ExchangeCheck(CDataExchange& dx, int id, int& value);
// A two-state check box.
void ExchangeCheck(CDataExchange& dx, int id, bool& value);

// A message box (UTF-8 text) with the application's title, owned by the top-level window
// of owner (so it is modal to the dialog that asked).
int AppMessage(HWND owner, const std::string& text, UINT flags);
