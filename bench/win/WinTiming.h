#pragma once
// Timing for the Windows benchmark programs (Google Benchmark is not built
// for MinGW here): a steady clock in seconds and the median of repetitions.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
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

// Seconds of processor time this thread has used, kernel and user: the
// system counts it in ticks of about 10 ms, so only a mean over many keys or
// messages says anything.
inline double ThreadCpuSeconds()
{
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// "  <what>  median ... ms (fastest ... ms)" for a set of runs in seconds.
inline void ReportRuns(const char* what, const std::vector<double>& runs, int decimals = 1)
{
    std::printf("  %-52s median %8.*f ms (fastest %8.*f ms)\n", what, decimals, Median(runs) * 1000, decimals,
                runs.empty() ? 0.0 : *std::min_element(runs.begin(), runs.end()) * 1000);
}

// Seconds from starting commandLine in folder until ready(processId) gives a
// window (polled every pollMs, for up to two minutes), or -1. That window is
// then asked to close; a process still running 20 s later is ended.
template <typename Ready>
double TimeProcessUntil(std::string commandLine, const std::string& folder, Ready ready, DWORD pollMs)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double start = NowSeconds();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return -1;
    double seconds = -1;
    while (NowSeconds() - start < 120) {
        if (HWND window = ready(pi.dwProcessId)) {
            seconds = NowSeconds() - start;
            PostMessageA(window, WM_CLOSE, 0, 0);
            break;
        }
        Sleep(pollMs);
    }
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return seconds;
}
