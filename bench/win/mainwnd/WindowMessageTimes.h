#pragma once
// Where the time of a keystroke goes, window by window: the windows watched
// are subclassed, and the time each spends in the messages of a kind (its
// painting, its erasing, its frame, our handlers of its notifications) is
// added up, nested messages included in the outer ones. What a kind costs
// is then known without building the program differently for the timing.
#include <windows.h>

#include <string>
#include <vector>

class WindowMessageTimes {
public:
    WindowMessageTimes() = default;
    ~WindowMessageTimes();
    WindowMessageTimes(const WindowMessageTimes&) = delete;
    WindowMessageTimes& operator=(const WindowMessageTimes&) = delete;

    // Times the messages `msg` that `hwnd` is given (for WM_NOTIFY and
    // WM_COMMAND, only those whose code is `code`) under `what`.
    void Watch(HWND hwnd, UINT msg, UINT code, const std::string& what);
    void Clear();
    // For every kind watched: "of which <what>", its time a key, and how
    // many of its messages a key brings.
    void Report(size_t keys) const;

private:
    struct Kind {
        HWND hwnd;
        UINT msg;
        UINT code;
        std::string what;
        double seconds = 0;
        int count = 0;
    };
    // Subclassed the plain way: under Wine the shared subclass chain costs
    // a trip to the window server for every message (more than the
    // messages timed), and would stay on the program's own calls.
    static LRESULT CALLBACK Timed(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    Kind* KindOf(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    WNDPROC ProcBefore(HWND hwnd) const;

    struct Subclassed {
        HWND hwnd;
        WNDPROC before;
    };
    std::vector<Kind> m_kinds;
    std::vector<Subclassed> m_subclassed;
    static WindowMessageTimes* s_watching;  // the one whose windows are subclassed
};
