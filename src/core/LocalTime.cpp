#include "core/LocalTime.h"

#include <ctime>

static_assert(sizeof(std::time_t) >= 8, "time values past 2038 must survive the sums the schedule makes");

namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Farther than any zone's distance from UTC plus any one change of it (a
// zone has skipped a whole day), so the offsets read here bracket a reading.
constexpr int64_t kOffsetProbe = 40 * 3600;

int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// A clock reading as a plain count of seconds, as if it were UTC: readings
// compare and subtract as numbers this way. Fields past their ranges carry.
int64_t WallSeconds(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute,
                    int64_t second)
{
    const int64_t m0 = month - 1;
    const int64_t y = year + FloorDiv(m0, 12);
    const int m = static_cast<int>(m0 - FloorDiv(m0, 12) * 12) + 1;
    return (DaysFromCivil(y, m, 1) + day - 1) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

int64_t WallSeconds(const LocalDateTime& t)
{
    return WallSeconds(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

// The reading of a plain count of seconds, the inverse of WallSeconds.
LocalDateTime ReadingOf(int64_t wall)
{
    const int64_t days = FloorDiv(wall, kSecondsPerDay);
    const int64_t secs = wall - days * kSecondsPerDay;
    // Civil date from days since 1970-01-01 (proleptic Gregorian).
    const int64_t z = days + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    LocalDateTime r;
    r.year = static_cast<int>(yoe + era * 400 + (m <= 2));
    r.month = m;
    r.day = d;
    r.hour = static_cast<int>(secs / 3600);
    r.minute = static_cast<int>(secs / 60 % 60);
    r.second = static_cast<int>(secs % 60);
    r.weekday = static_cast<int>(FloorDiv(days + 4, 7) * -7 + days + 4);  // 1970-01-01 was a Thursday
    return r;
}

bool WallAt(int64_t t, int64_t& wall, LocalDateTime* reading)
{
    LocalDateTime r;
    if (!ToLocal(t, r))
        return false;
    wall = WallSeconds(r);
    if (reading)
        *reading = r;
    return true;
}

}  // namespace

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    return kDays[month - 1];
}

int64_t DayNumber(const LocalDateTime& t)
{
    return DaysFromCivil(t.year, t.month, t.day);
}

std::optional<int64_t> UtcOffsetAt(int64_t t)
{
    int64_t wall = 0;
    if (!WallAt(t, wall, nullptr))
        return std::nullopt;
    return wall - t;
}

void RefreshLocalZone()
{
#ifdef _WIN32
    _tzset();
#else
    tzset();
#endif
}

bool ToLocal(int64_t t, LocalDateTime& out)
{
    if (t < 0)
        return false;
    const std::time_t value = static_cast<std::time_t>(t);
    std::tm tm{};
#ifdef _WIN32
    if (localtime_s(&tm, &value) != 0)
        return false;
#else
    if (!localtime_r(&value, &tm))
        return false;
#endif
    out.year = tm.tm_year + 1900;
    out.month = tm.tm_mon + 1;
    out.day = tm.tm_mday;
    out.hour = tm.tm_hour;
    out.minute = tm.tm_min;
    out.second = tm.tm_sec;
    out.weekday = tm.tm_wday;
    return true;
}

namespace {

// The moments near a change of the zone's offset that read as the wanted
// wall-clock time, or earlier, or later.
struct NearbyMoments {
    std::optional<int64_t> exact;  // reads as wanted: the earliest such
    LocalDateTime exactReading;
    std::optional<int64_t> below;  // reads earlier than wanted
    std::optional<int64_t> above;  // reads later
};

NearbyMoments MomentsForOffsets(int64_t wanted, const int64_t* offsets, int known)
{
    NearbyMoments moments;
    int64_t wall = 0;
    for (int i = 0; i < known; ++i) {
        const int64_t c = wanted - offsets[i];
        LocalDateTime r;
        if (!WallAt(c, wall, &r))
            continue;
        if (wall == wanted) {
            // A reading the clock repeats: the earlier moment.
            if (!moments.exact || c < *moments.exact) {
                moments.exact = c;
                moments.exactReading = r;
            }
        } else if (wall < wanted) {
            if (!moments.below || c < *moments.below)
                moments.below = c;
        } else if (!moments.above || c > *moments.above) {
            moments.above = c;
        }
    }
    return moments;
}

// A skipped reading: the answer is the moment of the jump, the first one
// that reads at or after the wanted reading, found between a moment that
// reads earlier and one that reads later.
std::optional<int64_t> MomentOfJump(int64_t wanted, int64_t lo, int64_t hi, LocalDateTime* reading)
{
    int64_t wall = 0;
    while (hi - lo > 1) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (!WallAt(mid, wall, nullptr))
            return std::nullopt;
        if (wall >= wanted)
            hi = mid;
        else
            lo = mid;
    }
    LocalDateTime found;
    if (!WallAt(hi, wall, &found))
        return std::nullopt;
    if (reading)
        *reading = found;
    return hi;
}

}  // namespace

std::optional<int64_t> FromLocal(int year, int month, int day, int hour, int minute, int second,
                                 LocalDateTime* reading)
{
    const int64_t wanted = WallSeconds(year, month, day, hour, minute, second);

    // The zone's offsets on either side of the reading, from the runtime's
    // localtime. mktime would answer too, but glibc's looks at the zone again
    // on every call (a stat of /etc/localtime when TZ is unset), which a pass
    // over thousands of notes cannot afford; RefreshLocalZone does that once.
    const int64_t probes[2] = {wanted - kOffsetProbe, wanted + kOffsetProbe};
    int64_t offsets[2];
    int known = 0;
    for (int64_t probe : probes) {
        int64_t w = 0;
        if (probe >= 0 && WallAt(probe, w, nullptr))
            offsets[known++] = w - probe;
    }
    if (known == 2 && offsets[0] == offsets[1]) {
        // No change of offset near the reading: the one moment that shows it.
        const int64_t t = wanted - offsets[0];
        if (t < 0)
            return std::nullopt;
        if (reading)
            *reading = ReadingOf(wanted);
        return t;
    }

    // A change of offset nearby: try the moment each offset gives.
    const NearbyMoments moments = MomentsForOffsets(wanted, offsets, known);
    if (moments.exact) {
        if (reading)
            *reading = moments.exactReading;
        return moments.exact;
    }
    if (!moments.below || !moments.above || *moments.below >= *moments.above)
        return std::nullopt;
    return MomentOfJump(wanted, *moments.below, *moments.above, reading);
}
