#pragma once
// The "WhatPage" page of the scheduling dialog: the lead time ("Notify me
// prior to the event"), the hidden "Always display note" flag and the alarm
// with its wave file. Its values reach the note only through Apply, after
// the dialog's OK has validated both pages.
#include <string>

#include "framework/CPropertyPageBase.h"

class CNote;

// The sound file confirmed last in this run: the proposal for every note
// without one. Not stored anywhere.
extern std::u16string g_strLastSoundFile;

class CNWEventPage : public CPropertyPageBase {
public:
    static constexpr const char* kInvalidWaveMessage = "Please enter a valid wave file name.";
    static constexpr const char* kBrowseTitle = "Select wave file";

    CNWEventPage();

    // Before the page has a window.
    void SetNote(CNote* note) { m_pNote = note; }
    void SetInitialDisable(bool disabled) { m_bInitialDisable = disabled; }

    // Reads and checks the fields (the framework's messages on refusal).
    bool Validate() { return UpdateData(true); }
    // Writes the fields read by the last successful Validate into the note
    // and makes the sound file the proposal for notes without one.
    void Apply(CNote& note) const;

    bool m_bAlarm = false;
    bool m_bAlwaysDisplay = false;
    int m_nDays = 0;
    int m_nHours = 0;
    int m_nMinutes = 0;
    std::u16string m_strSoundFile;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyAlarmRule();
    void ApplyDisableRule(bool disabled);
    void ReadSoundFile();
    void OnBrowse();
    void OnTest();

    CNote* m_pNote = nullptr;
    bool m_bInitialDisable = false;
};
