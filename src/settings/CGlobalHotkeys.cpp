#include "settings/CGlobalHotkeys.h"

#include "framework/CWinAppBase.h"

static_assert(HotkeyMods::kAlt == MOD_ALT && HotkeyMods::kCtrl == MOD_CONTROL &&
              HotkeyMods::kShift == MOD_SHIFT && HotkeyMods::kWin == MOD_WIN);

namespace {

// Held down, a shortcut makes one note, not one per key repeat.
constexpr UINT kNoRepeat = 0x4000;  // MOD_NOREPEAT
// The id IsFree tries a shortcut out with; not one of the program's.
constexpr int kTryOutId = CGlobalHotkeys::kFirstId + 99;

constexpr HotkeyAction kActions[] = {HotkeyAction::NewNote, HotkeyAction::BringToTop};

}  // namespace

CGlobalHotkeys::CGlobalHotkeys() : m_hotkeys{kDefaultNewNoteHotkey, kDefaultBringToTopHotkey} {}

CGlobalHotkeys::~CGlobalHotkeys()
{
    Stop();
}

void CGlobalHotkeys::Start(HWND owner)
{
    m_owner = owner;
    if (const CWinAppBase* app = CWinAppBase::Get()) {
        for (HotkeyAction action : kActions) {
            const std::string text = app->GetProfileString(HotkeyKeys::kSection, HotkeySettingKey(action));
            m_hotkeys[Index(action)] = HotkeyFromText(text, DefaultHotkey(action));
        }
    }
    RegisterAll();
}

void CGlobalHotkeys::Stop()
{
    Suspend();
    m_owner = nullptr;
}

void CGlobalHotkeys::Suspend()
{
    for (HotkeyAction action : kActions) {
        if (m_registered[Index(action)])
            UnregisterHotKey(m_owner, kFirstId + static_cast<int>(action));
        m_registered[Index(action)] = false;
    }
}

void CGlobalHotkeys::Apply(const Set& hotkeys)
{
    Suspend();
    const CWinAppBase* app = CWinAppBase::Get();
    for (HotkeyAction action : kActions) {
        const Hotkey hotkey = hotkeys[Index(action)];
        if (!IsUsableHotkey(hotkey))
            continue;  // the dialog lets none through; kept as it was
        // Written only when changed: a settings file the user never touched
        // keeps following the program's defaults.
        if (app && hotkey != m_hotkeys[Index(action)])
            app->WriteProfileString(HotkeyKeys::kSection, HotkeySettingKey(action), HotkeyText(hotkey));
        m_hotkeys[Index(action)] = hotkey;
    }
    RegisterAll();
}

void CGlobalHotkeys::RegisterAll()
{
    if (!m_owner)
        return;
    for (HotkeyAction action : kActions) {
        const size_t i = Index(action);
        const Hotkey hotkey = m_hotkeys[i];
        m_taken[i] = false;
        if (hotkey.IsOff() || m_registered[i])
            continue;
        // Two actions set to one shortcut: the first keeps it and the
        // second reads as taken, as it would be by another program.
        m_registered[i] = RegisterHotKey(m_owner, kFirstId + static_cast<int>(action), hotkey.mods | kNoRepeat,
                                         hotkey.key) != FALSE;
        m_taken[i] = !m_registered[i];
    }
}

bool CGlobalHotkeys::ActionOfId(WPARAM id, HotkeyAction& action)
{
    for (HotkeyAction candidate : kActions) {
        if (id == static_cast<WPARAM>(kFirstId + static_cast<int>(candidate))) {
            action = candidate;
            return true;
        }
    }
    return false;
}

bool CGlobalHotkeys::IsFree(HWND window, Hotkey hotkey)
{
    if (hotkey.IsOff())
        return true;
    if (!RegisterHotKey(window, kTryOutId, hotkey.mods, hotkey.key))
        return false;
    UnregisterHotKey(window, kTryOutId);
    return true;
}
