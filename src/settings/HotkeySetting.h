#pragma once
// The program's global shortcuts as the settings file keeps them: one text
// per shortcut such as "Win+Shift+N", or "None" when the user switched it
// off. Read back leniently (any letter case, blanks around the parts), and
// anything that is not a usable shortcut reads as the default, so a damaged
// file never leaves the user without the shortcut nor steals plain typing.
#include <cstdint>
#include <string>
#include <string_view>

// Modifier bits, the same values RegisterHotKey takes (MOD_ALT ... MOD_WIN).
namespace HotkeyMods {
constexpr uint32_t kAlt = 0x1;
constexpr uint32_t kCtrl = 0x2;
constexpr uint32_t kShift = 0x4;
constexpr uint32_t kWin = 0x8;
constexpr uint32_t kAll = kAlt | kCtrl | kShift | kWin;
}  // namespace HotkeyMods

struct Hotkey {
    uint32_t mods = 0;  // HotkeyMods bits
    uint32_t key = 0;   // the key's virtual-key code; 0: switched off
    bool IsOff() const { return key == 0; }
    bool operator==(const Hotkey&) const = default;
};

// What each shortcut does; the order of the Options dialog's rows.
enum class HotkeyAction : int { NewNote = 0, BringToTop = 1 };
constexpr int kHotkeyActionCount = 2;

namespace HotkeyKeys {
constexpr const char* kSection = "Hotkeys";
constexpr const char* kNewNote = "NewNote";
constexpr const char* kBringToTop = "BringNotesToTop";
constexpr const char* kOffText = "None";
}  // namespace HotkeyKeys

// Win+Shift: combinations that type nothing on any layout (AltGr is
// Ctrl+Alt, so Ctrl+Alt+letter and Ctrl+Alt+Shift+letter type characters)
// and that programs leave to the system; Windows itself has no Win+Shift+N
// or Win+Shift+B.
constexpr Hotkey kDefaultNewNoteHotkey{HotkeyMods::kWin | HotkeyMods::kShift, 'N'};
constexpr Hotkey kDefaultBringToTopHotkey{HotkeyMods::kWin | HotkeyMods::kShift, 'B'};

const char* HotkeySettingKey(HotkeyAction action);
Hotkey DefaultHotkey(HotkeyAction action);

// A shortcut that may be held system-wide: a key that is not itself a
// modifier or a mouse button, with Ctrl, Alt or Win (Shift alone would take
// a capital letter away from every program). Off counts as usable.
bool IsUsableHotkey(Hotkey hotkey);

// The stored text: "Win+Ctrl+Alt+Shift+<key>" with the modifiers present,
// the key by name ("N", "7", "F12", "PageUp") or, when it has none, as
// "0x" and two hex digits; "None" when off.
std::string HotkeyText(Hotkey hotkey);

// The shortcut a stored text names. Missing (empty) text, text that names
// no key, repeats a part, or is not usable gives fallback.
Hotkey HotkeyFromText(std::string_view text, Hotkey fallback);
