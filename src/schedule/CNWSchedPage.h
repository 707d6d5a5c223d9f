#pragma once
// The "Schedule" page of the scheduling dialog: when the note recurs (one
// time, daily, weekly, monthly), the starting time and date and the optional
// ending date. Its values reach the note only through Apply, after the
// dialog's OK has validated both pages.
#include <array>
#include <optional>

#include "framework/CPropertyPageBase.h"
#include "schedule/PickerValue.h"
#include "schedule/ScheduleForm.h"

class CDataExchange;

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

    // One of the three date-time pickers. A stored value that the picker
    // cannot show (before 1970, or past the picker's last day) leaves the
    // picker on another value; OK then keeps the stored one unless the user
    // changed what the picker shows. (Pickers report changes on focus moves
    // too, so what they show is compared instead.)
    struct PickerSlot {
        int id = 0;
        PickerPart part = PickerPart::Date;
        bool keepsStored = false;
        std::optional<NoteTime> stored;  // empty: no value (the ending date)
        std::optional<SYSTEMTIME> shownAtStart;  // empty: no value
    };
    void ShowStored(PickerSlot& slot, std::optional<NoteTime> stored);
    std::optional<SYSTEMTIME> Shown(const PickerSlot& slot) const;
    // The value OK takes from the picker (empty: none); false when the user
    // entered one that no time value can hold, after the framework's message.
    bool ReadPickerForOk(CDataExchange& dx, PickerSlot& slot, std::optional<NoteTime>& value);

    CNote* m_pNote = nullptr;
    bool m_bInitialDisable = false;
    int m_nWhen = 0;  // the remembered When selection
    ScheduleForm m_form;
    PickerSlot m_startDate;
    PickerSlot m_startTime;
    PickerSlot m_endDate;
};
