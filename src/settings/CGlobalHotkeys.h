#pragma once
// The program's global shortcuts: read from the settings file, registered
// with the system for the main window (which then receives WM_HOTKEY), and
// stored and registered again when the Options dialog changes them. A
// shortcut that another program already holds is simply left out and
// remembered as taken, so that the Options dialog can say so.
#include <windows.h>

#include <array>

#include "settings/HotkeySetting.h"

class CGlobalHotkeys {
public:
    using Set = std::array<Hotkey, kHotkeyActionCount>;
    // The WM_HOTKEY ids: kFirstId + the action.
    static constexpr int kFirstId = 3400;

    CGlobalHotkeys();
    ~CGlobalHotkeys();
    CGlobalHotkeys(const CGlobalHotkeys&) = delete;
    CGlobalHotkeys& operator=(const CGlobalHotkeys&) = delete;

    // Reads the shortcuts from the application's settings file (defaults
    // when there is none) and registers them for owner.
    void Start(HWND owner);
    // Gives every shortcut back to the system.
    void Stop();
    // While the Options dialog is open: none is held, so the keys the user
    // presses reach its fields instead of making notes.
    void Suspend();
    // Keeps the shortcuts (in the settings file when they changed) and
    // registers them again; Start must have run.
    void Apply(const Set& hotkeys);

    const Set& Current() const { return m_hotkeys; }
    // Switched on but not registered: another program holds it.
    bool IsTaken(HotkeyAction action) const { return m_taken[Index(action)]; }
    // The action of a WM_HOTKEY id; false when the id is not one of ours.
    static bool ActionOfId(WPARAM id, HotkeyAction& action);
    // Whether the shortcut can be held now: tried out on window and given
    // back at once. Off counts as free.
    static bool IsFree(HWND window, Hotkey hotkey);

private:
    static size_t Index(HotkeyAction action) { return static_cast<size_t>(action); }
    void RegisterAll();

    HWND m_owner = nullptr;
    Set m_hotkeys;
    std::array<bool, kHotkeyActionCount> m_registered{};
    std::array<bool, kHotkeyActionCount> m_taken{};
};
