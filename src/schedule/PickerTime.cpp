#include "schedule/PickerTime.h"

#include <commctrl.h>

#include "core/LocalTime.h"
#include "framework/UserDateTime.h"

bool LocalReadingOf(NoteTime t, SYSTEMTIME& st)
{
    LocalDateTime local;
    if (!ToLocal(t, local))
        return false;
    st = SystemTimeOf(local);
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
    LocalDateTime day;
    day.year = 1970;
    day.month = 1;
    day.day = 2;
    return SystemTimeOf(day);
}

SYSTEMTIME LastPickerDay()
{
    LocalDateTime day;
    day.year = 2038;
    day.month = 1;
    day.day = 18;
    day.hour = 23;
    day.minute = 59;
    day.second = 59;
    return SystemTimeOf(day);
}

void LimitPickerToNoteTimes(HWND picker)
{
    // A day inside each end, whatever the zone: 1970-01-02 .. 2038-01-18.
    SYSTEMTIME range[2] = {FirstPickerDay(), LastPickerDay()};
    SendMessageA(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
}
