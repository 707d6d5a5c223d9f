#include "schedule/PickerTime.h"

#include <commctrl.h>

#include "core/LocalTime.h"

namespace {

SYSTEMTIME Reading(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    return st;
}

}  // namespace

bool LocalReadingOf(NoteTime t, SYSTEMTIME& st)
{
    LocalDateTime local;
    if (!ToLocal(t, local))
        return false;
    st = Reading(local.year, local.month, local.day, local.hour, local.minute, local.second);
    st.wDayOfWeek = static_cast<WORD>(local.weekday);
    return true;
}

bool SetPickerTime(HWND picker, NoteTime t)
{
    SYSTEMTIME st{};
    if (!LocalReadingOf(t, st))
        return false;
    if (!SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)))
        return false;
    // Some pickers answer success for a value outside their range and keep
    // the old one: only what it shows now counts.
    SYSTEMTIME shown{};
    return SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)) == GDT_VALID &&
           shown.wYear == st.wYear && shown.wMonth == st.wMonth && shown.wDay == st.wDay &&
           shown.wHour == st.wHour && shown.wMinute == st.wMinute;
}

PickerReading ReadPicker(HWND picker, PickerPart part)
{
    SYSTEMTIME st{};
    PickerReading result;
    if (SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID)
        return result;
    result.hasValue = true;
    LocalDateTime reading;
    reading.year = st.wYear;
    reading.month = st.wMonth;
    reading.day = st.wDay;
    reading.hour = st.wHour;
    reading.minute = st.wMinute;
    reading.second = st.wSecond;
    result.time = NoteTimeForPicker(reading, part);
    return result;
}

SYSTEMTIME FirstPickerDay()
{
    return Reading(1970, 1, 2);
}

SYSTEMTIME LastPickerDay()
{
    return Reading(2038, 1, 18, 23, 59, 59);
}

void LimitPickerToNoteTimes(HWND picker)
{
    // A day inside each end, whatever the zone: 1970-01-02 .. 2038-01-18.
    SYSTEMTIME range[2] = {FirstPickerDay(), LastPickerDay()};
    SendMessageA(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
}
