// The global shortcuts' stored texts: what a hand-edited or damaged settings
// file reads as, and that every usable shortcut survives being written.
#include <gtest/gtest.h>

#include "settings/HotkeySetting.h"

namespace {

using namespace HotkeyMods;
constexpr Hotkey kFallback{kCtrl | kAlt, 'Q'};

}  // namespace

TEST(HotkeySetting, StoredTextReadsAsTheShortcutOrTheFallback)
{
    struct Case {
        const char* text;
        Hotkey expected;
    } cases[] = {
        // Written by the program, and the same by hand.
        {"Win+Shift+N", {kWin | kShift, 'N'}},
        {"  shift + win + n ", {kWin | kShift, 'N'}},
        {"Control+Alt+F12", {kCtrl | kAlt, 0x7B}},
        {"Ctrl+Num+", {kCtrl, 0x6B}},
        {"Win+0x6C", {kWin, 0x6C}},
        {"Alt+pagedown", {kAlt, 0x22}},
        {"Win+Ctrl+Alt+Shift+7", {kAll, '7'}},
        {"none", {}},
        // Missing or damaged: the fallback, never a half-read shortcut.
        {"", kFallback},
        {"N", kFallback},                 // plain typing
        {"Shift+N", kFallback},           // capital letters
        {"Win+Win+N", kFallback},         // a part twice
        {"Win+Shift", kFallback},         // no key
        {"+N", kFallback},
        {"Win++N", kFallback},
        {"Win+Shift+N+M", kFallback},     // two keys
        {"Hyper+N", kFallback},
        {"Win+F0", kFallback},
        {"Win+F25", kFallback},
        {"Ctrl+0x11", kFallback},         // a modifier as the key
        {"Ctrl+0x01", kFallback},         // a mouse button
        {"Ctrl+0xFF", kFallback},
        {"Ctrl+Ä", kFallback},            // UTF-8 bytes of a key name
        {"Win+Shift+N\r", kFallback},
        {"Win+Shift+Nothing", kFallback},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        const Hotkey read = HotkeyFromText(c.text, kFallback);
        EXPECT_EQ(read.mods, c.expected.mods);
        EXPECT_EQ(read.key, c.expected.key);
    }
}

TEST(HotkeySetting, EveryUsableShortcutSurvivesWritingAndReading)
{
    int usable = 0;
    for (uint32_t mods = 0; mods <= kAll; ++mods) {
        for (uint32_t key = 1; key < 0x100; ++key) {
            const Hotkey hotkey{mods, key};
            const std::string text = HotkeyText(hotkey);
            SCOPED_TRACE(text);
            if (IsUsableHotkey(hotkey)) {
                ++usable;
                EXPECT_EQ(HotkeyFromText(text, kFallback), hotkey);
            } else {
                EXPECT_EQ(HotkeyFromText(text, kFallback), kFallback);
            }
        }
    }
    // Ctrl, Alt or Win with any key but the 16 modifiers and mouse buttons
    // and 0xFF.
    EXPECT_EQ(usable, 14 * (254 - 16));
    EXPECT_EQ(HotkeyFromText(HotkeyText(Hotkey{}), kFallback), Hotkey{});
    for (HotkeyAction action : {HotkeyAction::NewNote, HotkeyAction::BringToTop}) {
        EXPECT_TRUE(IsUsableHotkey(DefaultHotkey(action)));
        EXPECT_EQ(HotkeyFromText(HotkeyText(DefaultHotkey(action)), kFallback), DefaultHotkey(action));
    }
    EXPECT_EQ(HotkeyText(kDefaultNewNoteHotkey), "Win+Shift+N");
    EXPECT_EQ(HotkeyText(kDefaultBringToTopHotkey), "Win+Shift+B");
    EXPECT_NE(kDefaultNewNoteHotkey, kDefaultBringToTopHotkey);
}
