#include "settings/HotkeySetting.h"

#include <cstdio>
#include <vector>

namespace {

struct NamedKey {
    const char* name;
    uint32_t key;
};

// Keys that have a plain name; letters, digits and F1-F24 are worked out.
constexpr NamedKey kNamedKeys[] = {
    {"Backspace", 0x08}, {"Tab", 0x09},      {"Enter", 0x0D},    {"Pause", 0x13},  {"Esc", 0x1B},
    {"Space", 0x20},     {"PageUp", 0x21},   {"PageDown", 0x22}, {"End", 0x23},    {"Home", 0x24},
    {"Left", 0x25},      {"Up", 0x26},       {"Right", 0x27},    {"Down", 0x28},   {"PrintScreen", 0x2C},
    {"Insert", 0x2D},    {"Delete", 0x2E},   {"Num0", 0x60},     {"Num1", 0x61},   {"Num2", 0x62},
    {"Num3", 0x63},      {"Num4", 0x64},     {"Num5", 0x65},     {"Num6", 0x66},   {"Num7", 0x67},
    {"Num8", 0x68},      {"Num9", 0x69},     {"Num*", 0x6A},     {"Num+", 0x6B},   {"Num-", 0x6D},
    {"Num.", 0x6E},      {"Num/", 0x6F},
};

struct NamedMod {
    const char* name;
    uint32_t bit;
};
// In the order the text is written.
constexpr NamedMod kMods[] = {
    {"Win", HotkeyMods::kWin},
    {"Ctrl", HotkeyMods::kCtrl},
    {"Alt", HotkeyMods::kAlt},
    {"Shift", HotkeyMods::kShift},
};

constexpr uint32_t kF1 = 0x70, kF24 = 0x87;

bool SameLetters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool IsModifierOrMouseKey(uint32_t key)
{
    switch (key) {
    case 0x01: case 0x02: case 0x04: case 0x05: case 0x06:  // mouse buttons
    case 0x10: case 0x11: case 0x12:                        // Shift, Ctrl, Alt
    case 0x5B: case 0x5C:                                   // the Windows keys
    case 0xA0: case 0xA1: case 0xA2: case 0xA3: case 0xA4: case 0xA5:
        return true;
    default:
        return false;
    }
}

// The key a name stands for, or 0.
uint32_t KeyOfName(std::string_view name)
{
    if (name.empty())
        return 0;
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'a' && c <= 'z')
            return static_cast<uint32_t>(c - 'a' + 'A');
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return static_cast<uint32_t>(c);
        return 0;
    }
    for (const auto& named : kNamedKeys)
        if (SameLetters(name, named.name))
            return named.key;
    if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
        unsigned n = 0;
        for (char c : name.substr(1)) {
            if (c < '0' || c > '9')
                return 0;
            n = n * 10 + static_cast<unsigned>(c - '0');
        }
        return n >= 1 && n <= kF24 - kF1 + 1 && name[1] != '0' ? kF1 + n - 1 : 0;
    }
    if (name.size() == 4 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
        uint32_t key = 0;
        for (char c : name.substr(2)) {
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                return 0;
            key = key * 16 + static_cast<uint32_t>(digit);
        }
        return key < 0xFF ? key : 0;
    }
    return 0;
}

std::string NameOfKey(uint32_t key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= kF1 && key <= kF24)
        return "F" + std::to_string(key - kF1 + 1);
    for (const auto& named : kNamedKeys)
        if (named.key == key)
            return named.name;
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", key & 0xFFu);
    return hex;
}

}  // namespace

const char* HotkeySettingKey(HotkeyAction action)
{
    return action == HotkeyAction::NewNote ? HotkeyKeys::kNewNote : HotkeyKeys::kBringToTop;
}

Hotkey DefaultHotkey(HotkeyAction action)
{
    return action == HotkeyAction::NewNote ? kDefaultNewNoteHotkey : kDefaultBringToTopHotkey;
}

bool IsUsableHotkey(Hotkey hotkey)
{
    if (hotkey.IsOff())
        return true;
    if (hotkey.key > 0xFE || IsModifierOrMouseKey(hotkey.key) || (hotkey.mods & ~HotkeyMods::kAll) != 0)
        return false;
    return (hotkey.mods & (HotkeyMods::kCtrl | HotkeyMods::kAlt | HotkeyMods::kWin)) != 0;
}

std::string HotkeyText(Hotkey hotkey)
{
    if (hotkey.IsOff())
        return HotkeyKeys::kOffText;
    std::string text;
    for (const auto& mod : kMods)
        if (hotkey.mods & mod.bit)
            text += std::string(mod.name) + "+";
    return text + NameOfKey(hotkey.key);
}

Hotkey HotkeyFromText(std::string_view text, Hotkey fallback)
{
    text = Trimmed(text);
    if (SameLetters(text, HotkeyKeys::kOffText))
        return Hotkey{};
    // Parts between '+'; a '+' key itself is written "Num+", so a part is
    // never empty in a good text.
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t plus = text.find('+', start);
        // "Num+" keeps its plus sign: a '+' at the very end belongs to the key.
        if (plus == std::string_view::npos || plus + 1 == text.size()) {
            parts.push_back(Trimmed(text.substr(start)));
            break;
        }
        parts.push_back(Trimmed(text.substr(start, plus - start)));
        start = plus + 1;
    }
    Hotkey hotkey;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        uint32_t bit = 0;
        for (const auto& mod : kMods)
            if (SameLetters(parts[i], mod.name))
                bit = mod.bit;
        if (SameLetters(parts[i], "Control"))
            bit = HotkeyMods::kCtrl;
        if (bit == 0 || (hotkey.mods & bit))
            return fallback;
        hotkey.mods |= bit;
    }
    hotkey.key = KeyOfName(parts.back());
    if (hotkey.key == 0 || !IsUsableHotkey(hotkey))
        return fallback;
    return hotkey;
}
