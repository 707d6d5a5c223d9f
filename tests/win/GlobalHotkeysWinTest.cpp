// The global shortcuts against another program that already holds one: the
// program starts without it, the Options dialog says which one is taken, and
// everything else (the other shortcut, the dialog's other choices, the
// settings file) goes on working.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "ScriptedDialog.h"
#include "TestFiles.h"
#include "app/CNotesApp.h"
#include "res/resource.h"
#include "settings/AutoRun.h"
#include "settings/CGlobalHotkeys.h"
#include "settings/COptionsDlg.h"

namespace {

using namespace HotkeyMods;

constexpr int kOtherProgramId = 0x77;

// A shortcut held by "another program": registered for no window of ours
// before the program's shortcuts start, given back at the end.
class HeldElsewhere {
public:
    explicit HeldElsewhere(Hotkey hotkey) : m_held(!hotkey.IsOff())
    {
        if (m_held)
            m_held = RegisterHotKey(nullptr, kOtherProgramId, hotkey.mods, hotkey.key) != FALSE;
    }
    ~HeldElsewhere()
    {
        if (m_held)
            UnregisterHotKey(nullptr, kOtherProgramId);
    }
    bool Held() const { return m_held; }

private:
    bool m_held;
};

// The hidden window the shortcuts belong to, as the main window is.
struct OwnerWindow {
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ~OwnerWindow() { DestroyWindow(hwnd); }
};

std::string StateText(HWND dlg, int row)
{
    char text[128] = {};
    GetDlgItemTextA(dlg, IDC_OPT_NEWNOTE_STATE + row * IDC_OPT_HOTKEY_ROW_STEP, text, sizeof text);
    return text;
}

// What the user types into a row: the field's key and modifiers, and the box.
void TypeHotkey(HWND dlg, int row, Hotkey hotkey)
{
    BYTE flags = 0;
    if (hotkey.mods & kShift)
        flags |= HOTKEYF_SHIFT;
    if (hotkey.mods & kCtrl)
        flags |= HOTKEYF_CONTROL;
    if (hotkey.mods & kAlt)
        flags |= HOTKEYF_ALT;
    const int field = IDC_OPT_NEWNOTE_KEY + row * IDC_OPT_HOTKEY_ROW_STEP;
    SendDlgItemMessageA(dlg, field, HKM_SETHOTKEY, MAKEWORD(hotkey.key, flags), 0);
    // The field tells its owner about a change typed into it this way.
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(field, EN_CHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dlg, field)));
    CheckDlgButton(dlg, IDC_OPT_NEWNOTE_WIN + row * IDC_OPT_HOTKEY_ROW_STEP,
                   (hotkey.mods & kWin) ? BST_CHECKED : BST_UNCHECKED);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_OPT_NEWNOTE_WIN + row * IDC_OPT_HOTKEY_ROW_STEP, BN_CLICKED), 0);
}

Hotkey FieldHotkey(HWND dlg, int row)
{
    const auto value = static_cast<WORD>(
        SendDlgItemMessageA(dlg, IDC_OPT_NEWNOTE_KEY + row * IDC_OPT_HOTKEY_ROW_STEP, HKM_GETHOTKEY, 0, 0));
    Hotkey hotkey{0, LOBYTE(value)};
    if (HIBYTE(value) & HOTKEYF_SHIFT)
        hotkey.mods |= kShift;
    if (HIBYTE(value) & HOTKEYF_CONTROL)
        hotkey.mods |= kCtrl;
    if (HIBYTE(value) & HOTKEYF_ALT)
        hotkey.mods |= kAlt;
    if (IsDlgButtonChecked(dlg, IDC_OPT_NEWNOTE_WIN + row * IDC_OPT_HOTKEY_ROW_STEP) == BST_CHECKED)
        hotkey.mods |= kWin;
    return hotkey;
}

// Whether the program holds the shortcut now: nobody else can take it.
bool ProgramHolds(HWND probe, Hotkey hotkey)
{
    return !CGlobalHotkeys::IsFree(probe, hotkey);
}

}  // namespace

TEST(GlobalHotkeysWin, ShortcutHeldByAnotherProgramIsReportedInOptions)
{
    const Hotkey newNote = kDefaultNewNoteHotkey, toTop = kDefaultBringToTopHotkey;
    struct Case {
        const char* label;
        const char* storedNewNote;  // nullptr: not in the settings file
        const char* storedToTop;
        Hotkey heldElsewhere;
        bool newNoteTaken, toTopTaken;
        Hotkey newNoteField;  // as Options shows it
    } cases[] = {
        {"defaults, none held elsewhere", nullptr, nullptr, {}, false, false, newNote},
        {"bring to top held elsewhere", nullptr, nullptr, toTop, false, true, newNote},
        {"new note held elsewhere, damaged value beside", nullptr, "Win+", newNote, true, false, newNote},
        {"new note switched off and held elsewhere", "None", nullptr, newNote, false, false, {}},
        {"changed, held elsewhere", "Ctrl+Alt+F9", nullptr, {kCtrl | kAlt, VK_F9}, true, false,
         {kCtrl | kAlt, VK_F9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempFolder folder;
        CNotesApp app;
        app.SetProfileFile(folder.Path("Velumo.ini"));
        if (c.storedNewNote)
            app.WriteProfileString(HotkeyKeys::kSection, HotkeyKeys::kNewNote, c.storedNewNote);
        if (c.storedToTop)
            app.WriteProfileString(HotkeyKeys::kSection, HotkeyKeys::kBringToTop, c.storedToTop);
        const std::string iniBefore = app.GetProfileString(HotkeyKeys::kSection, HotkeyKeys::kBringToTop);

        HeldElsewhere other(c.heldElsewhere);
        ASSERT_EQ(other.Held(), !c.heldElsewhere.IsOff());
        OwnerWindow owner, probe;
        CGlobalHotkeys hotkeys;
        hotkeys.Start(owner.hwnd);  // no message, whatever is taken
        EXPECT_EQ(hotkeys.IsTaken(HotkeyAction::NewNote), c.newNoteTaken);
        EXPECT_EQ(hotkeys.IsTaken(HotkeyAction::BringToTop), c.toTopTaken);

        g_bAutoRun = 0;
        ScriptedDialog<COptionsDlg> dlg(&hotkeys);
        std::string states[2];
        Hotkey fields[2];
        dlg.steps = {[&](HWND hwnd) {
                         for (int row = 0; row < 2; ++row) {
                             states[row] = StateText(hwnd, row);
                             fields[row] = FieldHotkey(hwnd, row);
                         }
                         SendDlgItemMessageA(hwnd, IDC_OPT_AUTORUN, BM_CLICK, 0, 0);
                     },
                     [](HWND hwnd) { SendDlgItemMessageA(hwnd, IDC_OPT_OK, BM_CLICK, 0, 0); }};
        ASSERT_EQ(dlg.DoModal(nullptr), IDOK);
        EXPECT_EQ(states[0], c.newNoteTaken ? COptionsDlg::kTakenText : "");
        EXPECT_EQ(states[1], c.toTopTaken ? COptionsDlg::kTakenText : "");
        EXPECT_EQ(fields[0], c.newNoteField);
        EXPECT_EQ(fields[1], toTop);

        // Nothing else broke: the other choice of the dialog is kept, the
        // free shortcuts are held again, the taken one stays what the user
        // chose, and the settings file is left as the user left it.
        EXPECT_EQ(g_bAutoRun, 1);
        EXPECT_EQ(hotkeys.IsTaken(HotkeyAction::NewNote), c.newNoteTaken);
        EXPECT_EQ(hotkeys.IsTaken(HotkeyAction::BringToTop), c.toTopTaken);
        EXPECT_EQ(hotkeys.Current()[0], c.newNoteField);
        if (!c.newNoteTaken && !c.newNoteField.IsOff()) {
            EXPECT_TRUE(ProgramHolds(probe.hwnd, newNote));
        }
        if (!c.toTopTaken) {
            EXPECT_TRUE(ProgramHolds(probe.hwnd, toTop));
        }
        EXPECT_EQ(app.GetProfileString(HotkeyKeys::kSection, HotkeyKeys::kBringToTop), iniBefore);
        hotkeys.Stop();
    }
    g_bAutoRun = 0;
    WriteAutoRun();
}

TEST(GlobalHotkeysWin, OptionsTellsWhatIsWrongWithATypedShortcut)
{
    const Hotkey held{kCtrl | kAlt | kShift, VK_F10};
    const Hotkey free{kWin | kCtrl, VK_F11};
    struct Case {
        const char* label;
        int row;
        Hotkey typed;
        const char* state;
        bool closes;
        const char* stored;  // what the settings file then holds for the row
    } cases[] = {
        {"held elsewhere: said, and kept", 0, held, COptionsDlg::kTakenText, true, "Ctrl+Alt+Shift+F10"},
        {"free", 0, free, "", true, "Win+Ctrl+F11"},
        {"emptied: off", 1, {}, "", true, "None"},
        {"plain letter", 0, {0, 'K'}, COptionsDlg::kNeedsModifierText, false, ""},
        {"Shift and a letter", 1, {kShift, 'K'}, COptionsDlg::kNeedsModifierText, false, ""},
        {"same as the other", 1, kDefaultNewNoteHotkey, COptionsDlg::kDuplicateText, false, ""},
    };
    HeldElsewhere other(held);
    ASSERT_TRUE(other.Held());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempFolder folder;
        CNotesApp app;
        app.SetProfileFile(folder.Path("Velumo.ini"));
        OwnerWindow owner, probe;
        CGlobalHotkeys hotkeys;
        hotkeys.Start(owner.hwnd);

        ScriptedDialog<COptionsDlg> dlg(&hotkeys);
        std::string state;
        bool openAfterOk = false;
        bool focusOnField = false;
        dlg.steps = {[&](HWND hwnd) { TypeHotkey(hwnd, c.row, c.typed); },
                     [&](HWND hwnd) {
                         state = StateText(hwnd, c.row);
                         SendDlgItemMessageA(hwnd, IDC_OPT_OK, BM_CLICK, 0, 0);
                     },
                     [&](HWND hwnd) {
                         openAfterOk = IsWindow(hwnd) != FALSE;
                         focusOnField = GetFocus() == GetDlgItem(hwnd, IDC_OPT_NEWNOTE_KEY + c.row * 4);
                         SendDlgItemMessageA(hwnd, IDC_OPT_CANCEL, BM_CLICK, 0, 0);
                     }};
        const INT_PTR result = dlg.DoModal(nullptr);
        EXPECT_EQ(state, c.state);
        EXPECT_EQ(result, c.closes ? IDOK : IDCANCEL);
        if (!c.closes) {
            EXPECT_TRUE(openAfterOk);
            EXPECT_TRUE(focusOnField);
        }
        EXPECT_EQ(app.GetProfileString(HotkeyKeys::kSection, HotkeySettingKey(static_cast<HotkeyAction>(c.row))),
                  c.stored);
        // Confirmed or not, the program holds its shortcuts again after the
        // dialog; a taken one is known as taken.
        const Hotkey now = hotkeys.Current()[static_cast<size_t>(c.row)];
        EXPECT_EQ(now, c.closes ? c.typed : DefaultHotkey(static_cast<HotkeyAction>(c.row)));
        EXPECT_EQ(hotkeys.IsTaken(static_cast<HotkeyAction>(c.row)), now == held);
        if (!now.IsOff() && now != held) {
            EXPECT_TRUE(ProgramHolds(probe.hwnd, now));
        }
        hotkeys.Stop();
    }
    g_bAutoRun = 0;
    WriteAutoRun();
}
