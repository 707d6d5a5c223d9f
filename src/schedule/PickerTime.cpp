#include "schedule/PickerTime.h"

#include <commctrl.h>

#include "schedule/LocalTime.h"

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

bool SetPickerTime(HWND picker, NoteTime t)
{
    LocalDateTime local;
    if (!ToLocal(t, local))
        return false;
    SYSTEMTIME st = Reading(local.year, local.month, local.day, local.hour, local.minute, local.second);
    st.wDayOfWeek = static_cast<WORD>(local.weekday);
    return SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)) != 0;
}

std::optional<NoteTime> GetPickerTime(HWND picker)
{
    SYSTEMTIME st{};
    if (SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID)
        return std::nullopt;
    const auto t = FromLocal(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    if (!t || *t > INT32_MAX)
        return std::nullopt;
    return static_cast<NoteTime>(*t);
}

void LimitPickerToNoteTimes(HWND picker)
{
    // A day inside each end, whatever the zone: 1970-01-02 .. 2038-01-18.
    SYSTEMTIME range[2] = {Reading(1970, 1, 2), Reading(2038, 1, 18, 23, 59, 59)};
    SendMessageA(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
}
