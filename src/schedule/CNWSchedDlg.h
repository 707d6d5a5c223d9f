#pragma once
// The scheduling dialog: a property sheet with the "Schedule" and "WhatPage"
// pages, the "Disable schedule" box, OK, Cancel and Help. It edits one note;
// nothing of the note changes until OK has validated both pages, so Cancel
// (after a refused OK, after any click) leaves the note as it was. While it
// is open the note is marked as being edited and the scheduler leaves it
// alone.
#include <windows.h>

#include "framework/CDialogBase.h"
#include "framework/CPropertySheetHost.h"
#include "schedule/CNWEventPage.h"
#include "schedule/CNWSchedPage.h"

class CNote;
class INoteHost;

class CNWSchedDlg : public CDialogBase {
public:
    static constexpr const char* kTitle = "Scheduling properties";

    // OK tells host that the note changed.
    CNWSchedDlg(CNote& note, INoteHost& host);
    ~CNWSchedDlg() override;

    CNWSchedPage& SchedulePage() { return m_schedPage; }
    CNWEventPage& EventPage() { return m_eventPage; }
    CPropertySheetHost& Sheet() { return m_sheet; }

    bool PreTranslateMessage(MSG& msg) override;

    // The "Disable schedule" box.
    bool m_bDisable = false;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnDisableClicked();
    // Every way out ends the note's editing mark.
    void Release();

    CNote& m_note;
    INoteHost& m_host;
    CPropertySheetHost m_sheet;
    CNWSchedPage m_schedPage;
    CNWEventPage m_eventPage;
    bool m_bHoldsNote = false;  // the note's editing mark is ours to clear
};

// Runs the dialog for the note, modally over parent; its result (IDOK when
// the schedule was confirmed). A note whose dialog is already open gets no
// second one: that answers IDCANCEL with a beep.
INT_PTR OpenScheduleDialog(HWND parent, CNote& note, INoteHost& host);

// Gives note windows their "&Schedule" command. Called once at start-up.
void InstallScheduleDialog();
