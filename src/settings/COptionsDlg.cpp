#include "settings/COptionsDlg.h"

#include <commctrl.h>

#include "res/resource.h"
#include "settings/AutoRun.h"

namespace {

static_assert(IDC_OPT_TOTOP_KEY - IDC_OPT_NEWNOTE_KEY == IDC_OPT_HOTKEY_ROW_STEP &&
              IDC_OPT_TOTOP_WIN - IDC_OPT_NEWNOTE_WIN == IDC_OPT_HOTKEY_ROW_STEP &&
              IDC_OPT_TOTOP_STATE - IDC_OPT_NEWNOTE_STATE == IDC_OPT_HOTKEY_ROW_STEP);

int RowId(int firstRowId, int row)
{
    return firstRowId + row * IDC_OPT_HOTKEY_ROW_STEP;
}

// The field's own modifier flags differ from RegisterHotKey's: Shift and Alt
// swap places.
BYTE FieldFlags(uint32_t mods)
{
    BYTE flags = 0;
    if (mods & HotkeyMods::kShift)
        flags |= HOTKEYF_SHIFT;
    if (mods & HotkeyMods::kCtrl)
        flags |= HOTKEYF_CONTROL;
    if (mods & HotkeyMods::kAlt)
        flags |= HOTKEYF_ALT;
    return flags;
}

uint32_t ModsOfFieldFlags(BYTE flags)
{
    uint32_t mods = 0;
    if (flags & HOTKEYF_SHIFT)
        mods |= HotkeyMods::kShift;
    if (flags & HOTKEYF_CONTROL)
        mods |= HotkeyMods::kCtrl;
    if (flags & HOTKEYF_ALT)
        mods |= HotkeyMods::kAlt;
    return mods;
}

// The field names these keys by their extended (grey) form only when told.
bool IsExtendedKey(uint32_t key)
{
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE || key == VK_DIVIDE ||
           key == VK_NUMLOCK;
}

}  // namespace

COptionsDlg::COptionsDlg(CGlobalHotkeys* hotkeys)
    : CDialogBase(IDD_OPTIONS), m_pHotkeys(hotkeys), m_chosen{kDefaultNewNoteHotkey, kDefaultBringToTopHotkey}
{
}

BOOL COptionsDlg::OnInitDialog()
{
    CDialogBase::OnInitDialog();
    m_bAutoRun = g_bAutoRun != 0;
    CheckDlgButton(m_hWnd, IDC_OPT_AUTORUN, m_bAutoRun ? BST_CHECKED : BST_UNCHECKED);
    if (m_pHotkeys) {
        m_pHotkeys->Suspend();
        m_chosen = m_pHotkeys->Current();
    }
    for (int row = 0; row < kHotkeyActionCount; ++row) {
        m_fields[row].Attach(GetItem(RowId(IDC_OPT_NEWNOTE_KEY, row)));
        PutHotkey(row, m_chosen[static_cast<size_t>(row)]);
    }
    ShowHotkeyStates();
    return TRUE;
}

void COptionsDlg::PutHotkey(int row, Hotkey hotkey)
{
    BYTE flags = FieldFlags(hotkey.mods);
    if (IsExtendedKey(hotkey.key))
        flags |= HOTKEYF_EXT;
    SendDlgItemMessageA(m_hWnd, RowId(IDC_OPT_NEWNOTE_KEY, row), HKM_SETHOTKEY,
                        MAKEWORD(static_cast<BYTE>(hotkey.key), flags), 0);
    CheckDlgButton(m_hWnd, RowId(IDC_OPT_NEWNOTE_WIN, row),
                   (hotkey.mods & HotkeyMods::kWin) ? BST_CHECKED : BST_UNCHECKED);
}

Hotkey COptionsDlg::FieldHotkey(int row) const
{
    const auto value = static_cast<WORD>(SendDlgItemMessageA(m_hWnd, RowId(IDC_OPT_NEWNOTE_KEY, row), HKM_GETHOTKEY, 0, 0));
    Hotkey hotkey;
    hotkey.key = LOBYTE(value);
    if (hotkey.IsOff())
        return hotkey;  // an empty field: the shortcut is off, Win or not
    hotkey.mods = ModsOfFieldFlags(HIBYTE(value));
    if (IsDlgButtonChecked(m_hWnd, RowId(IDC_OPT_NEWNOTE_WIN, row)) == BST_CHECKED)
        hotkey.mods |= HotkeyMods::kWin;
    return hotkey;
}

const char* COptionsDlg::ProblemOf(int row) const
{
    const Hotkey hotkey = FieldHotkey(row);
    if (!IsUsableHotkey(hotkey))
        return kNeedsModifierText;
    if (!hotkey.IsOff() && row > 0 && hotkey == FieldHotkey(0))
        return kDuplicateText;
    // Ours are given back while the dialog is open, so whoever holds the
    // shortcut now is another program (or Windows itself).
    if (!CGlobalHotkeys::IsFree(m_hWnd, hotkey))
        return kTakenText;
    return nullptr;
}

void COptionsDlg::ShowHotkeyStates()
{
    for (int row = 0; row < kHotkeyActionCount; ++row) {
        const char* problem = ProblemOf(row);
        SetDlgItemTextA(m_hWnd, RowId(IDC_OPT_NEWNOTE_STATE, row), problem ? problem : "");
    }
}

void COptionsDlg::CheckBoxToMember()
{
    m_bAutoRun = IsDlgButtonChecked(m_hWnd, IDC_OPT_AUTORUN) == BST_CHECKED;
}

void COptionsDlg::OnOK()
{
    // A shortcut that would steal plain typing, or one set twice, keeps the
    // dialog open on its field; a taken one is kept, and the program goes
    // without it as it does at start.
    for (int row = 0; row < kHotkeyActionCount; ++row) {
        const char* problem = ProblemOf(row);
        if (problem && problem != kTakenText) {
            MessageBeep(MB_ICONEXCLAMATION);
            SetFocus(GetDlgItem(m_hWnd, RowId(IDC_OPT_NEWNOTE_KEY, row)));
            return;
        }
        m_chosen[static_cast<size_t>(row)] = FieldHotkey(row);
    }
    m_bHotkeysChosen = true;
    // Neither button is the default one, so Enter arrives as IDOK: it closes
    // the dialog as confirmed and must keep the choice, as "&OK" does.
    CheckBoxToMember();
    g_bAutoRun = m_bAutoRun ? 1 : 0;
    // Written now, not only at the end of the run: a power cut or a forced
    // log-off must not take back what the user confirmed.
    WriteAutoRun();
    CDialogBase::OnOK();
}

INT_PTR COptionsDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) == BN_CLICKED && id == IDC_OPT_OK) {
            OnOK();
            return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED && id == IDC_OPT_CANCEL) {
            OnCancel();
            return TRUE;
        }
        // The field reports each change as EN_CHANGE; the Win box as a click.
        const bool field = (id == IDC_OPT_NEWNOTE_KEY || id == IDC_OPT_TOTOP_KEY) && HIWORD(wParam) == EN_CHANGE;
        const bool win = (id == IDC_OPT_NEWNOTE_WIN || id == IDC_OPT_TOTOP_WIN) && HIWORD(wParam) == BN_CLICKED;
        if (field || win) {
            ShowHotkeyStates();
            return TRUE;
        }
    }
    if (msg == WM_DESTROY && m_pHotkeys) {
        // However the dialog ends, the program holds its shortcuts again:
        // the confirmed ones, or those it had.
        m_pHotkeys->Apply(m_bHotkeysChosen ? m_chosen : m_pHotkeys->Current());
    }
    return CDialogBase::HandleMessage(msg, wParam, lParam);
}
