#pragma once
// Timing for the Windows benchmark programs (Google Benchmark is not built
// for MinGW here): a steady clock in seconds and the median of repetitions.
#include <windows.h>

#include <algorithm>
#include <vector>

inline double NowSeconds()
{
    static const double perSecond = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perSecond;
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}
