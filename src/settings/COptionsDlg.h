#pragma once
// The "Options" dialog: whether the program starts with Windows, and the
// global shortcuts. It edits g_bAutoRun (the registry follows) and, when it
// is given them, the program's shortcuts, which are kept and registered
// again as it closes.
#include "framework/CDialogBase.h"
#include "settings/CGlobalHotkeys.h"
#include "settings/CHotkeyField.h"

class COptionsDlg : public CDialogBase {
public:
    // The texts beside a shortcut field; empty when the shortcut is fine.
    static constexpr const char* kTakenText = "Taken by another program";
    static constexpr const char* kNeedsModifierText = "Add Ctrl, Alt or Win";
    static constexpr const char* kDuplicateText = "Same as the other shortcut";

    // hotkeys: the program's shortcuts; null leaves them out of the dialog's
    // work (the fields then show the defaults and change nothing).
    explicit COptionsDlg(CGlobalHotkeys* hotkeys = nullptr);

    // The check box's state, as last exchanged with the dialog.
    bool m_bAutoRun = false;

protected:
    BOOL OnInitDialog() override;
    // "&OK" and Enter both confirm: the box's state becomes the option.
    void OnOK() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CheckBoxToMember();
    // Shortcut rows: 0 new note, 1 bring notes to top.
    void PutHotkey(int row, Hotkey hotkey);
    Hotkey FieldHotkey(int row) const;
    // The row's problem for its state text, or null.
    const char* ProblemOf(int row) const;
    void ShowHotkeyStates();

    CHotkeyField m_fields[kHotkeyActionCount];
    CGlobalHotkeys* m_pHotkeys;
    CGlobalHotkeys::Set m_chosen;
    bool m_bHotkeysChosen = false;
};
