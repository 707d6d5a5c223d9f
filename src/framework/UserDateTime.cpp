#include "framework/UserDateTime.h"

#include <windows.h>

#include "core/LocalTime.h"

namespace {

constexpr int kTextChars = 80;

std::wstring DateOf(const SYSTEMTIME& st)
{
    wchar_t text[kTextChars] = {};
    if (!GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, kTextChars, nullptr))
        return L"";
    return text;
}

std::wstring TimeOf(const SYSTEMTIME& st)
{
    // TIME_NOSECONDS only cuts the seconds out of the long time format; the
    // user sets the short one apart (a 24-hour clock, no leading zero).
    wchar_t format[kTextChars] = {};
    const bool hasShort = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTTIME, format, kTextChars) > 0;
    wchar_t text[kTextChars] = {};
    if (!GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, hasShort ? 0 : TIME_NOSECONDS, &st, hasShort ? format : nullptr,
                         text, kTextChars))
        return L"";
    return text;
}

}  // namespace

std::wstring UserDateTimeText(int64_t t)
{
    LocalDateTime local;
    if (!ToLocal(t, local))
        return L"";
    const SYSTEMTIME st = SystemTimeOf(local);
    return DateOf(st) + L" " + TimeOf(st);
}

std::wstring UserDateText(int year, int month, int day)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    return DateOf(st);
}

SYSTEMTIME SystemTimeOf(const LocalDateTime& local)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(local.year);
    st.wMonth = static_cast<WORD>(local.month);
    st.wDay = static_cast<WORD>(local.day);
    st.wHour = static_cast<WORD>(local.hour);
    st.wMinute = static_cast<WORD>(local.minute);
    st.wSecond = static_cast<WORD>(local.second);
    st.wDayOfWeek = static_cast<WORD>(local.weekday);
    return st;
}
