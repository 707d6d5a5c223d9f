#pragma once
// The "Schedule" page of the scheduling dialog: when the note recurs (one
// time, daily, weekly, monthly), the starting time and date and the optional
// ending date. Its values reach the note only through Apply, after the
// dialog's OK has validated both pages.
#include "framework/CPropertyPageBase.h"
#include "schedule/ScheduleForm.h"

class CNWSchedPage : public CPropertyPageBase {
public:
    CNWSchedPage();

    // Before the page has a window.
    void SetNote(CNote* note) { m_pNote = note; }
    // The "Disable schedule" box as the page is to start with.
    void SetInitialDisable(bool disabled) { m_bInitialDisable = disabled; }

    // Reads and checks every field (the framework's messages, then the
    // "RiviViro" warnings); on success holds the result for Apply.
    bool Validate();
    // Writes what the last successful Validate read into the note.
    void Apply(CNote& note) const;

    // The number fields' values, for the data exchange.
    int m_nEveryDays = 0;
    int m_nEveryWeeks = 0;
    int m_nMonthDay = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FillLists();
    void LoadFromNote();
    void OnWhenChanged();
    void ShowGroup(int kind, bool show);
    void OnEvery();
    void OnWeekdays();
    void OnOnThe();
    void OnOnDay();
    void ApplyDisableRule(bool disabled);
    uint16_t CheckedMask(int firstId, int count) const;
    void CheckMask(int firstId, int count, uint16_t mask);
    int Selection(int id) const;
    void Warn(const char* text) const;

    CNote* m_pNote = nullptr;
    bool m_bInitialDisable = false;
    int m_nWhen = 0;  // the remembered When selection
    ScheduleForm m_form;
};
