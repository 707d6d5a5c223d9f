#pragma once
// Small helpers shared by the Windows tests.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "TestFiles.h"
#include "framework/MessageLoop.h"

// Dispatches waiting messages until the condition holds or the time is up.
// filtered: each message is first offered to the window filters, as the
// program's own loops do (a note's keys and right button need that).
template <typename Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs, bool filtered = false)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (filtered && MessageLoop::PreTranslate(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Dispatches what is waiting now.
void PumpPending();

// A window's rectangle where its parent put it: a child's in the parent's
// client area, a top-level window's on the screen.
inline RECT PlacedRect(HWND hwnd)
{
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    if (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// Closes every message box of this process from a thread of its own (a
// message box blocks the thread that shows it) and remembers caption and text.
class MessageBoxCloser {
public:
    struct Seen {
        std::string caption;
        std::string text;
    };

    MessageBoxCloser() : m_thread([this] { Watch(); }) {}
    ~MessageBoxCloser()
    {
        m_stop = true;
        m_thread.join();
    }
    MessageBoxCloser(const MessageBoxCloser&) = delete;
    MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;

    std::vector<Seen> Boxes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen;
    }

private:
    void Watch()
    {
        while (!m_stop) {
            EnumWindows(&MessageBoxCloser::OnTopLevel, reinterpret_cast<LPARAM>(this));
            Sleep(20);
        }
    }

    static BOOL CALLBACK OnTopLevel(HWND hwnd, LPARAM self)
    {
        // Nothing here may send a message to a window before it is known to
        // be a message box: the test's thread may be waiting for this one.
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        char className[32] = {};
        GetClassNameA(hwnd, className, sizeof className);
        // A message box: a dialog whose text is the static control 0xFFFF.
        if (process != GetCurrentProcessId() || std::string(className) != "#32770" ||
            !GetDlgItem(hwnd, 0xFFFF) || !IsWindowVisible(hwnd))
            return TRUE;
        auto* closer = reinterpret_cast<MessageBoxCloser*>(self);
        wchar_t caption[256] = {};
        InternalGetWindowText(hwnd, caption, 256);
        Seen seen{Narrow(caption), {}};
        EnumChildWindows(hwnd, &MessageBoxCloser::OnChild, reinterpret_cast<LPARAM>(&seen.text));
        {
            std::lock_guard<std::mutex> lock(closer->m_mutex);
            closer->m_seen.push_back(seen);
        }
        // Sent, so the box is gone before it is seen a second time.
        SendMessageA(hwnd, WM_COMMAND, IDOK, 0);
        return TRUE;
    }

    static std::string Narrow(const wchar_t* text)
    {
        char out[256] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, nullptr);
        return out;
    }

    static BOOL CALLBACK OnChild(HWND hwnd, LPARAM textOut)
    {
        char className[32] = {};
        GetClassNameA(hwnd, className, sizeof className);
        char text[256] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (lstrcmpiA(className, "Static") == 0 && text[0])
            *reinterpret_cast<std::string*>(textOut) += text;
        return TRUE;
    }

    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<Seen> m_seen;
    std::thread m_thread;
};
