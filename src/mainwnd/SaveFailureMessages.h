#pragma once
// What the user hears of saves that fail: one message for a streak of
// failing housekeeping saves, told between passes and never over another
// such message; a daily backup that could not be kept; and, at an exit the
// user chose, the question whether to try once more.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "mainwnd/MainWndModel.h"
#include "notes/CNoteList.h"

class SaveFailureMessages {
public:
    // A save; the system's reason when it failed, nothing when it did not.
    using FailingSave = std::function<std::optional<DWORD>()>;

    explicit SaveFailureMessages(CNoteList& notes) : m_notes(notes) {}

    // A housekeeping save's outcome: a failure that starts a streak is told
    // by the next TellDue.
    void Feed(SaveOutcome outcome);
    // After a housekeeping pass: the streak's message when one is due, then
    // a daily backup that could not be kept (once; the save went on).
    // error: the system's reason for the last failed save.
    void TellDue(HWND owner, DWORD error);
    // At an exit: the save is offered again (Retry) until it works or the
    // user gives the changes up (Cancel).
    void SaveBeforeExit(HWND owner, const FailingSave& save);

private:
    // The file, the system's reason and what the user can do.
    std::string Text(DWORD error, const char* advice) const;
    static int Show(HWND owner, const std::string& text, UINT flags);

    CNoteList& m_notes;
    SaveFailureNotice m_notice;
    bool m_bDue = false;      // a new streak of failures waits to be told
    bool m_bShowing = false;  // one of these messages is open
};
