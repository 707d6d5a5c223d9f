#include "schedule/CNWSchedPage.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>
#include <span>

#include "framework/DataExchange.h"
#include "res/resource.h"
#include "schedule/IsDue.h"
#include "core/LocalTime.h"
#include "schedule/PickerTime.h"
#include "schedule/RecurrenceBlock.h"

namespace {

constexpr int kDaysMin = 1, kDaysMax = 99;
constexpr int kWeeksMin = 1, kWeeksMax = 52;
constexpr int kMonthDayMin = 1, kMonthDayMax = 31;
constexpr int kWeekdayBoxes = 7;  // Sunday .. Saturday from IDC_SP_SUNDAY
constexpr int kMonthBoxes = 12;   // January .. December from IDC_SP_JANUARY
constexpr int kMonday = 1;

constexpr const char* kKinds[] = {"One Time Only", "Daily", "Weekly", "Monthly"};
constexpr const char* kOrdinals[] = {"First", "Second", "Third", "Fourth", "Last"};
constexpr const char* kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

constexpr int kDailyGroup[] = {IDC_SP_EVERY, IDC_SP_DAYS, IDC_SP_DAYS_SPIN, IDC_SP_DAYS_LABEL, IDC_SP_WEEKDAYS};
constexpr int kWeeklyGroup[] = {IDC_SP_EVERY_LABEL, IDC_SP_WEEKS, IDC_SP_WEEKS_SPIN, IDC_SP_WEEKS_ON_LABEL,
                                1016, 1017, 1018, 1019, 1020, 1021, 1022};
constexpr int kMonthlyGroup[] = {IDC_SP_ON_THE, IDC_SP_ORDINAL, IDC_SP_MONTH_DAY, IDC_SP_WEEKDAY, IDC_SP_ON_DAY,
                                 IDC_SP_MONTH_DAY_SPIN, IDC_SP_OF_MONTHS_LABEL,
                                 1023, 1024, 1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034};

// The controls of a kind's group; One Time Only has none.
std::span<const int> GroupOf(int kind)
{
    switch (kind) {
    case 1: return kDailyGroup;
    case 2: return kWeeklyGroup;
    case 3: return kMonthlyGroup;
    default: return {};
    }
}

// A stored count inside its range, else 1.
int InRangeOrOne(int value, int low, int high)
{
    return value >= low && value <= high ? value : 1;
}

}  // namespace

CNWSchedPage::CNWSchedPage() : CPropertyPageBase(IDD_SCHED_PAGE, IDS_SCHED_PAGE)
{
    m_startDate.id = IDC_SP_START_DATE;
    m_startTime.id = IDC_SP_START_TIME;
    m_startTime.part = PickerPart::TimeOfDay;
    m_endDate.id = IDC_SP_END_DATE;
}

void CNWSchedPage::DoDataExchange(CDataExchange& dx)
{
    ExchangeInt(dx, IDC_SP_DAYS, m_nEveryDays);
    ValidateIntRange(dx, m_nEveryDays, kDaysMin, kDaysMax);
    ExchangeInt(dx, IDC_SP_WEEKS, m_nEveryWeeks);
    ValidateIntRange(dx, m_nEveryWeeks, kWeeksMin, kWeeksMax);
    ExchangeInt(dx, IDC_SP_MONTH_DAY, m_nMonthDay);
    ValidateIntRange(dx, m_nMonthDay, kMonthDayMin, kMonthDayMax);
}

void CNWSchedPage::FillLists()
{
    for (const char* kind : kKinds)
        SendDlgItemMessageA(m_hWnd, IDC_SP_WHEN, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
    for (const char* ordinal : kOrdinals)
        SendDlgItemMessageA(m_hWnd, IDC_SP_ORDINAL, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ordinal));
    for (const char* weekday : kWeekdays)
        SendDlgItemMessageA(m_hWnd, IDC_SP_WEEKDAY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(weekday));
}

BOOL CNWSchedPage::OnInitDialog()
{
    CPropertyPageBase::OnInitDialog();
    FillLists();
    SendDlgItemMessageA(m_hWnd, IDC_SP_START_TIME, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("hh:mm tt"));
    for (int picker : {IDC_SP_START_TIME, IDC_SP_START_DATE, IDC_SP_END_DATE})
        LimitPickerToNoteTimes(GetItem(picker));
    SendDlgItemMessageA(m_hWnd, IDC_SP_DAYS_SPIN, UDM_SETRANGE32, kDaysMin, kDaysMax);
    SendDlgItemMessageA(m_hWnd, IDC_SP_WEEKS_SPIN, UDM_SETRANGE32, kWeeksMin, kWeeksMax);
    SendDlgItemMessageA(m_hWnd, IDC_SP_MONTH_DAY_SPIN, UDM_SETRANGE32, kMonthDayMin, kMonthDayMax);

    SetChecked(IDC_SP_EVERY, true);
    OnEvery();
    for (int field : {IDC_SP_DAYS, IDC_SP_WEEKS, IDC_SP_MONTH_DAY})
        SetDlgItemInt(m_hWnd, field, 1, FALSE);
    SetChecked(IDC_SP_ON_THE, true);
    SendDlgItemMessageA(m_hWnd, IDC_SP_ORDINAL, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageA(m_hWnd, IDC_SP_WEEKDAY, CB_SETCURSEL, kMonday, 0);
    OnOnThe();
    SendDlgItemMessageA(m_hWnd, IDC_SP_WHEN, CB_SETCURSEL, 0, 0);

    HWND end = GetItem(IDC_SP_END_DATE);
    SetPickerTime(end, CurrentNoteTime());
    SYSTEMTIME none{};  // some pickers want a reading even for "no value"
    SendMessageA(end, DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&none));

    if (m_pNote)
        LoadFromNote();
    ApplyDisableRule(m_bInitialDisable);
    // Only what the user does from here on counts as a change of a picker.
    for (PickerSlot* slot : {&m_startDate, &m_startTime, &m_endDate})
        slot->shownAtStart = Shown(*slot);
    return TRUE;
}

void CNWSchedPage::LoadFromNote()
{
    const CNote& note = *m_pNote;
    const NoteTime now = CurrentNoteTime();
    LocalDateTime start;
    const bool startIsMark = ToLocal(note.m_tStartDate, start) && start.year == 1980;
    ShowStored(m_startDate, startIsMark ? LocalToday(now).value_or(now) : note.m_tStartDate);
    if (note.m_bHasEndDate)
        ShowStored(m_endDate, note.m_tEndDate);
    ShowStored(m_startTime, note.m_bSchedNew ? now : note.m_tStartTime);

    // A kind the list does not have shows as One Time Only.
    const int kind = note.m_nSchedKind < std::size(kKinds) ? static_cast<int>(note.m_nSchedKind) : 0;
    SendDlgItemMessageA(m_hWnd, IDC_SP_WHEN, CB_SETCURSEL, static_cast<WPARAM>(kind), 0);
    OnWhenChanged();

    const RecurrenceView recur(note.m_recur);
    switch (kind) {
    case 1:
        SetChecked(IDC_SP_EVERY, recur.Weekdays() == 0);
        SetChecked(IDC_SP_WEEKDAYS, recur.Weekdays() != 0);
        if (recur.Weekdays()) {
            SetDlgItemInt(m_hWnd, IDC_SP_DAYS, 1, FALSE);
            OnWeekdays();
        } else {
            SetDlgItemInt(m_hWnd, IDC_SP_DAYS, InRangeOrOne(recur.EveryDays(), kDaysMin, kDaysMax), FALSE);
            OnEvery();
        }
        break;
    case 2:
        SetDlgItemInt(m_hWnd, IDC_SP_WEEKS, InRangeOrOne(recur.EveryWeeks(), kWeeksMin, kWeeksMax), FALSE);
        CheckMask(IDC_SP_SUNDAY, kWeekdayBoxes, recur.DayMask());
        break;
    case 3:
        if (recur.ByWeekday()) {
            SetChecked(IDC_SP_ON_THE, true);
            SetChecked(IDC_SP_ON_DAY, false);
            SendDlgItemMessageA(m_hWnd, IDC_SP_ORDINAL, CB_SETCURSEL, static_cast<WPARAM>(recur.Ordinal()), 0);
            SendDlgItemMessageA(m_hWnd, IDC_SP_WEEKDAY, CB_SETCURSEL, static_cast<WPARAM>(recur.Weekday()), 0);
            OnOnThe();
        } else {
            SetChecked(IDC_SP_ON_DAY, true);
            SetChecked(IDC_SP_ON_THE, false);
            SetDlgItemInt(m_hWnd, IDC_SP_MONTH_DAY, InRangeOrOne(recur.MonthDay(), kMonthDayMin, kMonthDayMax),
                          FALSE);
            OnOnDay();
        }
        CheckMask(IDC_SP_JANUARY, kMonthBoxes, recur.MonthMask());
        break;
    default:
        break;
    }
}

void CNWSchedPage::ShowStored(PickerSlot& slot, std::optional<NoteTime> stored)
{
    slot.stored = stored;
    slot.keepsStored = stored && !SetPickerTime(GetItem(slot.id), *stored);
}

std::optional<SYSTEMTIME> CNWSchedPage::Shown(const PickerSlot& slot) const
{
    SYSTEMTIME st{};
    if (SendMessageA(GetItem(slot.id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID)
        return std::nullopt;
    return st;
}

namespace {

bool SameReading(const std::optional<SYSTEMTIME>& a, const std::optional<SYSTEMTIME>& b)
{
    if (!a || !b)
        return !a && !b;
    return a->wYear == b->wYear && a->wMonth == b->wMonth && a->wDay == b->wDay && a->wHour == b->wHour &&
           a->wMinute == b->wMinute && a->wSecond == b->wSecond;
}

}  // namespace

bool CNWSchedPage::ReadPickerForOk(CDataExchange& dx, PickerSlot& slot, std::optional<NoteTime>& value)
{
    if (slot.keepsStored && SameReading(Shown(slot), slot.shownAtStart)) {
        value = slot.stored;
        return true;
    }
    dx.PrepareControl(slot.id);
    const PickerReading reading = ReadPicker(GetItem(slot.id), slot.part);
    if (reading.hasValue && !reading.time) {
        FailDateRange(dx, FirstPickerDay(), LastPickerDay());
        return false;
    }
    value = reading.time;
    return true;
}

void CNWSchedPage::ShowGroup(int kind, bool show)
{
    for (int id : GroupOf(kind))
        ShowWindow(GetItem(id), show ? SW_SHOW : SW_HIDE);
}

void CNWSchedPage::OnWhenChanged()
{
    const int selected = Selection(IDC_SP_WHEN);
    if (selected != m_nWhen) {
        if (m_nWhen > 0)
            ShowGroup(m_nWhen, false);
        ShowGroup(selected, true);
        Enable(IDC_SP_END_DATE, selected != 0);
    }
    m_nWhen = selected;
}

void CNWSchedPage::OnEvery()
{
    Enable(IDC_SP_DAYS, true);
    Enable(IDC_SP_DAYS_SPIN, true);
    SetChecked(IDC_SP_WEEKDAYS, false);
}

void CNWSchedPage::OnWeekdays()
{
    Enable(IDC_SP_DAYS, false);
    Enable(IDC_SP_DAYS_SPIN, false);
    SetChecked(IDC_SP_EVERY, false);
}

void CNWSchedPage::OnOnThe()
{
    Enable(IDC_SP_ORDINAL, true);
    Enable(IDC_SP_WEEKDAY, true);
    Enable(IDC_SP_MONTH_DAY, false);
    Enable(IDC_SP_MONTH_DAY_SPIN, false);
    SetChecked(IDC_SP_ON_DAY, false);
}

void CNWSchedPage::OnOnDay()
{
    Enable(IDC_SP_MONTH_DAY, true);
    Enable(IDC_SP_MONTH_DAY_SPIN, true);
    Enable(IDC_SP_ORDINAL, false);
    Enable(IDC_SP_WEEKDAY, false);
    SetChecked(IDC_SP_ON_THE, false);
}

void CNWSchedPage::ApplyDisableRule(bool disabled)
{
    const bool enabled = !disabled;
    for (int id : {IDC_SP_WHEN, IDC_SP_START_DATE, IDC_SP_START_TIME})
        Enable(id, enabled);
    Enable(IDC_SP_END_DATE, enabled && m_nWhen != 0);
    for (int id : GroupOf(m_nWhen))
        Enable(id, enabled);
    if (!enabled)
        return;
    if (m_nWhen == 1) {
        if (IsChecked(IDC_SP_WEEKDAYS))
            OnWeekdays();
        else
            OnEvery();
    } else if (m_nWhen == 3) {
        if (IsChecked(IDC_SP_ON_THE))
            OnOnThe();
        else
            OnOnDay();
    }
}

bool CNWSchedPage::Validate()
{
    ScheduleForm form;
    const int when = Selection(IDC_SP_WHEN);
    form.kind = static_cast<uint32_t>(when);
    if (!UpdateData(true))
        return false;

    const NoteTime now = CurrentNoteTime();
    CDataExchange dx(m_hWnd, true);
    std::optional<NoteTime> startDate;
    std::optional<NoteTime> startTime;
    std::optional<NoteTime> end;
    if (!ReadPickerForOk(dx, m_startDate, startDate) || !ReadPickerForOk(dx, m_startTime, startTime) ||
        !ReadPickerForOk(dx, m_endDate, end))
        return false;
    // The starting pickers have no check box: they always hold a value.
    form.startDate = startDate.value_or(now);
    form.startTime = startTime.value_or(now);
    form.hasEndDate = end.has_value();
    form.endDate = end.value_or(0);

    form.every = IsChecked(IDC_SP_EVERY);
    form.everyDays = m_nEveryDays;
    form.everyWeeks = m_nEveryWeeks;
    form.dayMask = CheckedMask(IDC_SP_SUNDAY, kWeekdayBoxes);
    form.onThe = IsChecked(IDC_SP_ON_THE);
    form.ordinal = Selection(IDC_SP_ORDINAL);
    form.weekday = Selection(IDC_SP_WEEKDAY);
    form.monthDay = m_nMonthDay;
    form.monthMask = CheckedMask(IDC_SP_JANUARY, kMonthBoxes);

    if (const char* warning = ScheduleFormWarning(form, LocalToday(now).value_or(now))) {
        Warn(warning);
        return false;
    }
    m_form = form;
    return true;
}

void CNWSchedPage::Apply(CNote& note) const
{
    ApplyScheduleForm(m_form, note);
}

uint16_t CNWSchedPage::CheckedMask(int firstId, int count) const
{
    uint16_t mask = 0;
    for (int i = 0; i < count; ++i)
        if (IsChecked(firstId + i))
            mask = static_cast<uint16_t>(mask | (1u << i));
    return mask;
}

void CNWSchedPage::CheckMask(int firstId, int count, uint16_t mask)
{
    for (int i = 0; i < count; ++i)
        if (mask & (1u << i))
            SetChecked(firstId + i, true);
}

int CNWSchedPage::Selection(int id) const
{
    return static_cast<int>(SendDlgItemMessageA(m_hWnd, id, CB_GETCURSEL, 0, 0));
}

void CNWSchedPage::Warn(const char* text) const
{
    MessageBoxA(GetParent(m_hWnd), text, ScheduleWarning::kCaption, MB_OK | MB_ICONEXCLAMATION);
}

INT_PTR CNWSchedPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_SCHED_DISABLE) {
        ApplyDisableRule(wParam != 0);
        return TRUE;
    }
    if (msg != WM_COMMAND)
        return FALSE;
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDC_SP_WHEN && code == CBN_SELCHANGE) {
        OnWhenChanged();
        return TRUE;
    }
    if (code != BN_CLICKED)
        return FALSE;
    switch (id) {
    case IDC_SP_EVERY: OnEvery(); return TRUE;
    case IDC_SP_WEEKDAYS: OnWeekdays(); return TRUE;
    case IDC_SP_ON_THE: OnOnThe(); return TRUE;
    case IDC_SP_ON_DAY: OnOnDay(); return TRUE;
    default: return FALSE;
    }
}
