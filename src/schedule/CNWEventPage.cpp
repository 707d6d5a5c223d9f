#include "schedule/CNWEventPage.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdint>

#include "framework/WideText.h"
#include "notes/CNote.h"
#include "res/resource.h"
#include "schedule/WaveSound.h"

std::u16string g_strLastSoundFile;

namespace {

constexpr int kDaysMax = 99, kHoursMax = 23, kMinutesMax = 59;
constexpr wchar_t kWaveFilter[] = L"WAVE (*.wav)\0*.wav\0All (*.*)\0*.*\0";

// Stored lead times are signed 16-bit values.
int SignExtended(uint16_t value)
{
    return static_cast<int16_t>(value);
}

}  // namespace

CNWEventPage::CNWEventPage() : CPropertyPageBase(IDD_EVENT_PAGE, IDS_EVENT_PAGE) {}

void CNWEventPage::DoDataExchange(CDataExchange& dx)
{
    ExchangeCheck(dx, IDC_EP_ALARM, m_bAlarm);
    ExchangeCheck(dx, IDC_EP_ALWAYS_DISPLAY, m_bAlwaysDisplay);
    ExchangeInt(dx, IDC_EP_DAYS, m_nDays);
    ValidateIntRange(dx, m_nDays, 0, kDaysMax);
    ExchangeInt(dx, IDC_EP_HOURS, m_nHours);
    ValidateIntRange(dx, m_nHours, 0, kHoursMax);
    ExchangeInt(dx, IDC_EP_MINUTES, m_nMinutes);
    ValidateIntRange(dx, m_nMinutes, 0, kMinutesMax);
    ExchangeText(dx, IDC_EP_SOUND_FILE, m_strSoundFile);
}

BOOL CNWEventPage::OnInitDialog()
{
    if (m_pNote) {
        m_nDays = SignExtended(m_pNote->m_nNotifyDays);
        m_nHours = SignExtended(m_pNote->m_nNotifyHours);
        m_nMinutes = SignExtended(m_pNote->m_nNotifyMinutes);
        m_bAlwaysDisplay = m_pNote->m_bAlwaysDisplay != 0;
        m_bAlarm = m_pNote->m_bAlarm != 0;
        m_strSoundFile = m_pNote->m_strSoundFile;
    }
    if (m_strSoundFile.empty())
        m_strSoundFile = g_strLastSoundFile;
    CPropertyPageBase::OnInitDialog();
    SendDlgItemMessageA(m_hWnd, IDC_EP_DAYS_SPIN, UDM_SETRANGE32, 0, kDaysMax);
    // The field shows two digits, which is all 0..99 needs: a third one
    // typed would scroll out of sight and the range message would name a
    // number the user cannot see.
    SendDlgItemMessageA(m_hWnd, IDC_EP_DAYS, EM_SETLIMITTEXT, 2, 0);
    SendDlgItemMessageA(m_hWnd, IDC_EP_HOURS_SPIN, UDM_SETRANGE32, 0, kHoursMax);
    SendDlgItemMessageA(m_hWnd, IDC_EP_MINUTES_SPIN, UDM_SETRANGE32, 0, kMinutesMax);
    ApplyAlarmRule();
    ApplyDisableRule(m_bInitialDisable);
    return TRUE;
}

void CNWEventPage::Apply(CNote& note) const
{
    note.m_nNotifyDays = static_cast<uint16_t>(m_nDays);
    note.m_nNotifyHours = static_cast<uint16_t>(m_nHours);
    note.m_nNotifyMinutes = static_cast<uint16_t>(m_nMinutes);
    note.m_bAlwaysDisplay = m_bAlwaysDisplay ? 1 : 0;
    note.m_bAlarm = m_bAlarm ? 1 : 0;
    note.m_strSoundFile = m_strSoundFile;
    g_strLastSoundFile = m_strSoundFile;
}

void CNWEventPage::ApplyAlarmRule()
{
    const bool on = IsChecked(IDC_EP_ALARM);
    for (int id : {IDC_EP_SOUND_FILE, IDC_EP_BROWSE, IDC_EP_TEST})
        Enable(id, on);
}

void CNWEventPage::ApplyDisableRule(bool disabled)
{
    for (int id : {IDC_EP_ALARM, IDC_EP_ALWAYS_DISPLAY, IDC_EP_DAYS, IDC_EP_DAYS_SPIN, IDC_EP_HOURS,
                   IDC_EP_HOURS_SPIN, IDC_EP_MINUTES, IDC_EP_MINUTES_SPIN})
        Enable(id, !disabled);
    if (!disabled) {
        ApplyAlarmRule();
        return;
    }
    for (int id : {IDC_EP_BROWSE, IDC_EP_TEST, IDC_EP_SOUND_FILE})
        Enable(id, false);
}

void CNWEventPage::ReadSoundFile()
{
    // Only the path: a lead time still being typed must not raise its
    // message here, nor keep a newly typed path from being used.
    CDataExchange dx(m_hWnd, true);
    ExchangeText(dx, IDC_EP_SOUND_FILE, m_strSoundFile);
}

void CNWEventPage::OnBrowse()
{
    ReadSoundFile();
    // The dialog starts in the current file's folder, with its name.
    const std::wstring path(m_strSoundFile.begin(), m_strSoundFile.end());
    const size_t slash = path.find_last_of(L"\\/:");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    wchar_t file[MAX_PATH] = {};
    lstrcpynW(file, path.substr(folder.size()).c_str(), MAX_PATH);
    const std::wstring title = WideFromUtf8(kBrowseTitle);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWnd;
    ofn.lpstrFilter = kWaveFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.c_str();
    // The program's current folder stays where it is: paths it was given
    // relative to it must keep their meaning.
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (GetOpenFileNameW(&ofn))
        SetDlgItemTextW(m_hWnd, IDC_EP_SOUND_FILE, file);
}

void CNWEventPage::OnTest()
{
    ReadSoundFile();
    if (!WaveFileExists(m_strSoundFile)) {
        AppMessage(m_hWnd, kInvalidWaveMessage, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    PlayWaveInBackground(m_strSoundFile);
}

INT_PTR CNWEventPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_SCHED_DISABLE) {
        ApplyDisableRule(wParam != 0);
        return TRUE;
    }
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_EP_ALARM: ApplyAlarmRule(); return TRUE;
    case IDC_EP_BROWSE: OnBrowse(); return TRUE;
    case IDC_EP_TEST: OnTest(); return TRUE;
    default: return FALSE;
    }
}
