#pragma once
// Small helpers shared by the Windows tests.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "TestFiles.h"
#include "framework/MessageLoop.h"
#include "core/UnicodeText.h"

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

// The text of one cell of a list view (column 0 is the row's own text).
inline std::wstring ListCell(HWND list, int row, int column)
{
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// Closes every message box of this process from a thread of its own (a
// message box blocks the thread that shows it) and remembers caption and text.
class MessageBoxCloser {
public:
    struct Seen {
        std::string caption;
        std::string text;
    };

    // answer: the button pressed for a box (IDOK when not given); it runs on
    // the closer's thread.
    using Answer = std::function<int(const Seen&)>;
    explicit MessageBoxCloser(Answer answer = nullptr)
        : m_answer(std::move(answer)), m_thread([this] { Watch(); })
    {
    }
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

    // Read without sending the window a message: the thread that owns it may
    // be the one waiting for this thread to end.
    static std::string TextOf(HWND hwnd)
    {
        wchar_t wide[1024] = {};
        InternalGetWindowText(hwnd, wide, 1024);
        return Utf8FromWide(wide);
    }

    static BOOL CALLBACK OnTopLevel(HWND hwnd, LPARAM self)
    {
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        char className[32] = {};
        GetClassNameA(hwnd, className, sizeof className);
        // A message box: a dialog whose text is the static control 0xFFFF
        // (other dialogs with captions and OK buttons are left alone).
        if (process != GetCurrentProcessId() || std::string(className) != "#32770" ||
            !GetDlgItem(hwnd, 0xFFFF) || !IsWindowVisible(hwnd))
            return TRUE;
        auto* closer = reinterpret_cast<MessageBoxCloser*>(self);
        Seen seen{TextOf(hwnd), {}};
        EnumChildWindows(hwnd, &MessageBoxCloser::OnChild, reinterpret_cast<LPARAM>(&seen.text));
        {
            std::lock_guard<std::mutex> lock(closer->m_mutex);
            closer->m_seen.push_back(seen);
        }
        // Sent, so the box is gone before it is seen a second time.
        SendMessageA(hwnd, WM_COMMAND, closer->m_answer ? closer->m_answer(seen) : IDOK, 0);
        return TRUE;
    }

    static BOOL CALLBACK OnChild(HWND hwnd, LPARAM textOut)
    {
        char className[32] = {};
        GetClassNameA(hwnd, className, sizeof className);
        const std::string text = TextOf(hwnd);
        if (lstrcmpiA(className, "Static") == 0 && !text.empty())
            *reinterpret_cast<std::string*>(textOut) += text;
        return TRUE;
    }

    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<Seen> m_seen;
    Answer m_answer;
    std::thread m_thread;
};
