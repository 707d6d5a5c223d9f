// The global shortcuts against another program that already holds one: the
// program starts without it and says nothing, Options names the taken one,
// and the rest (the other shortcut, the other option, the settings file)
// goes on working.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedDialog.h"
#include "TestFiles.h"
#include "app/CNotesApp.h"
#include "res/resource.h"
#include "settings/AutoRun.h"
#include "settings/COptionsDlg.h"

namespace {

using namespace HotkeyMods;

// Held by "another program" (no window of ours) while it lives.
struct HeldElsewhere {
    explicit HeldElsewhere(Hotkey h) : held(!h.IsOff() && RegisterHotKey(nullptr, 0x77, h.mods, h.key)) {}
    ~HeldElsewhere()
    {
        if (held)
            UnregisterHotKey(nullptr, 0x77);
    }
    bool held;
};

struct Window {
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    ~Window() { DestroyWindow(hwnd); }
};

// What each case starts from: its own settings file, and the program's
// shortcuts started for a window of their own.
struct Program {
    TempFolder folder;
    CNotesApp app;
    Window owner, probe;
    CGlobalHotkeys hotkeys;
    explicit Program(const char* storedNewNote = nullptr)
    {
        app.SetProfileFile(folder.Path("Velumo.ini"));
        if (storedNewNote)
            app.WriteProfileString(HotkeyKeys::kSection, HotkeyKeys::kNewNote, storedNewNote);
    }
    std::string Stored(HotkeyAction action) const
    {
        return app.GetProfileString(HotkeyKeys::kSection, HotkeySettingKey(action));
    }
};

int RowId(int firstRowId, int row) { return firstRowId + row * IDC_OPT_HOTKEY_ROW_STEP; }

std::string StateText(HWND dlg, int row)
{
    char text[128] = {};
    GetDlgItemTextA(dlg, RowId(IDC_OPT_NEWNOTE_STATE, row), text, sizeof text);
    return text;
}

// Types a shortcut into a row as the field reports it (no Alt or Ctrl+Alt
// needed here): the key with Shift or Ctrl, and the Win box.
void TypeHotkey(HWND dlg, int row, Hotkey h)
{
    const BYTE flags = ((h.mods & kShift) ? HOTKEYF_SHIFT : 0) | ((h.mods & kCtrl) ? HOTKEYF_CONTROL : 0);
    const int field = RowId(IDC_OPT_NEWNOTE_KEY, row);
    SendDlgItemMessageA(dlg, field, HKM_SETHOTKEY, MAKEWORD(h.key, flags), 0);
    CheckDlgButton(dlg, RowId(IDC_OPT_NEWNOTE_WIN, row), (h.mods & kWin) ? BST_CHECKED : BST_UNCHECKED);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(field, EN_CHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dlg, field)));
}

}  // namespace

TEST(GlobalHotkeysWin, ShortcutHeldByAnotherProgramIsReportedInOptions)
{
    const Hotkey toTop = kDefaultBringToTopHotkey, f9{kCtrl | kAlt, VK_F9};
    struct Case {
        const char* label;
        const char* storedNewNote;  // nullptr: not in the settings file
        Hotkey heldElsewhere;
        bool newNoteTaken, toTopTaken;
        Hotkey newNote;
    } cases[] = {
        {"defaults, none held elsewhere", nullptr, {}, false, false, kDefaultNewNoteHotkey},
        {"bring to top held elsewhere", nullptr, toTop, false, true, kDefaultNewNoteHotkey},
        {"damaged value, its default held elsewhere", "Win+", kDefaultNewNoteHotkey, true, false,
         kDefaultNewNoteHotkey},
        {"switched off, held elsewhere", "None", kDefaultNewNoteHotkey, false, false, {}},
        {"chosen, held elsewhere", "Ctrl+Alt+F9", f9, true, false, f9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Program p(c.storedNewNote);
        HeldElsewhere other(c.heldElsewhere);
        ASSERT_EQ(other.held, !c.heldElsewhere.IsOff());
        CGlobalHotkeys& hotkeys = p.hotkeys;
        hotkeys.Start(p.owner.hwnd);
        EXPECT_EQ(hotkeys.IsTaken(HotkeyAction::NewNote), c.newNoteTaken);
        EXPECT_EQ(hotkeys.IsTaken(HotkeyAction::BringToTop), c.toTopTaken);

        g_bAutoRun = 0;
        ScriptedDialog<COptionsDlg> dlg(&hotkeys);
        std::string states[2];
        dlg.steps = {[&](HWND hwnd) {
                         states[0] = StateText(hwnd, 0);
                         states[1] = StateText(hwnd, 1);
                         SendDlgItemMessageA(hwnd, IDC_OPT_AUTORUN, BM_CLICK, 0, 0);
                     },
                     [](HWND hwnd) { SendDlgItemMessageA(hwnd, IDC_OPT_OK, BM_CLICK, 0, 0); }};
        ASSERT_EQ(dlg.DoModal(nullptr), IDOK);
        EXPECT_EQ(states[0], c.newNoteTaken ? COptionsDlg::kTakenText : "");
        EXPECT_EQ(states[1], c.toTopTaken ? COptionsDlg::kTakenText : "");
        // The fields showed the shortcuts (OK keeps what they show), the
        // other option is kept, the free shortcuts are held again, and the
        // settings file keeps what the user wrote.
        EXPECT_EQ(hotkeys.Current()[0], c.newNote);
        EXPECT_EQ(hotkeys.Current()[1], toTop);
        EXPECT_EQ(g_bAutoRun, 1);
        EXPECT_EQ(hotkeys.IsTaken(HotkeyAction::NewNote), c.newNoteTaken);
        EXPECT_EQ(!CGlobalHotkeys::IsFree(p.probe.hwnd, c.newNote), !c.newNote.IsOff());
        EXPECT_FALSE(CGlobalHotkeys::IsFree(p.probe.hwnd, toTop));
        EXPECT_EQ(p.Stored(HotkeyAction::NewNote), c.storedNewNote ? c.storedNewNote : "");
    }
    g_bAutoRun = 0;
    WriteAutoRun();
}

TEST(GlobalHotkeysWin, OptionsTellsWhatIsWrongWithATypedShortcut)
{
    const Hotkey held{kCtrl | kShift, VK_F10}, free{kWin | kCtrl, VK_F11};
    struct Case {
        const char* label;
        int row;
        Hotkey typed;  // what the field holds in the end
        const char* state;
        const char* stored;  // the settings file's text for the row after OK; "" when OK refused
        std::vector<WPARAM> keys = {};  // pressed in the field, when typed is not just put there
    } cases[] = {
        {"held elsewhere: told, and kept", 0, held, COptionsDlg::kTakenText, "Ctrl+Shift+F10"},
        {"free", 0, free, "", "Win+Ctrl+F11"},
        {"emptied: off", 1, {}, "", "None"},
        {"plain letter", 0, {0, 'K'}, COptionsDlg::kNeedsModifierText, ""},
        {"Shift and a letter", 1, {kShift, 'K'}, COptionsDlg::kNeedsModifierText, ""},
        {"same as the other", 1, kDefaultNewNoteHotkey, COptionsDlg::kDuplicateText, ""},
        // The field says nothing of Backspace emptying it; the warning must go all the same.
        {"plain letter, then Backspace: off", 0, {}, "", "None", {'K', VK_BACK}},
        {"Backspace, then a plain letter", 1, {0, 'K'}, COptionsDlg::kNeedsModifierText, "", {VK_BACK, 'K'}},
    };
    HeldElsewhere other(held);
    ASSERT_TRUE(other.held);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Program p;
        CGlobalHotkeys& hotkeys = p.hotkeys;
        hotkeys.Start(p.owner.hwnd);
        ScriptedDialog<COptionsDlg> dlg(&hotkeys);
        std::string state;
        bool focusOnField = false;
        dlg.steps = {[&](HWND hwnd) {
                         if (c.keys.empty())
                             TypeHotkey(hwnd, c.row, c.typed);
                         else  // Win off first: the defaults have it, which makes any key usable
                             SendDlgItemMessageA(hwnd, RowId(IDC_OPT_NEWNOTE_WIN, c.row), BM_CLICK, 0, 0);
                         for (WPARAM key : c.keys)
                             PostKey(GetDlgItem(hwnd, RowId(IDC_OPT_NEWNOTE_KEY, c.row)), key);
                     },
                     [&](HWND hwnd) {
                         state = StateText(hwnd, c.row);
                         SendDlgItemMessageA(hwnd, IDC_OPT_OK, BM_CLICK, 0, 0);
                     },
                     [&](HWND hwnd) {  // still open: OK refused
                         focusOnField = GetFocus() == GetDlgItem(hwnd, RowId(IDC_OPT_NEWNOTE_KEY, c.row));
                         SendDlgItemMessageA(hwnd, IDC_OPT_CANCEL, BM_CLICK, 0, 0);
                     }};
        const bool closes = *c.stored != '\0';
        EXPECT_EQ(dlg.DoModal(nullptr), closes ? IDOK : IDCANCEL);
        EXPECT_EQ(state, c.state);
        EXPECT_EQ(focusOnField, !closes);
        const auto action = static_cast<HotkeyAction>(c.row);
        EXPECT_EQ(p.Stored(action), c.stored);
        // Confirmed or not, the program holds its shortcuts again.
        const Hotkey now = hotkeys.Current()[static_cast<size_t>(c.row)];
        EXPECT_EQ(now, closes ? c.typed : DefaultHotkey(action));
        EXPECT_EQ(hotkeys.IsTaken(action), now == held);
        EXPECT_EQ(CGlobalHotkeys::IsFree(p.probe.hwnd, now), now.IsOff());
    }
    g_bAutoRun = 0;
    WriteAutoRun();
}
