#pragma once
// A window procedure put in front of a control's own, the plain way
// (SetWindowLongPtr) rather than through SetWindowSubclass: under Wine the
// shared subclass chain looks itself up in a window property, a trip to the
// window server, several times for every message, and the note list is sent
// dozens of messages a keystroke.
#include <windows.h>

class ListMessageHook {
public:
    // Sees each message first; CallControl hands it on.
    class Target {
    public:
        virtual LRESULT OnHookedMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;

    protected:
        ~Target() = default;
    };

    ListMessageHook() = default;
    ~ListMessageHook() { Release(); }
    ListMessageHook(const ListMessageHook&) = delete;
    ListMessageHook& operator=(const ListMessageHook&) = delete;

    void Hook(HWND hwnd, Target& target);
    // The window's messages go straight to the control again; a procedure
    // put in front of ours after it still calls ours, which then only hands
    // every message on.
    void Release();
    // What the control itself answers.
    LRESULT CallControl(UINT msg, WPARAM wParam, LPARAM lParam) const;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    static void Unhook(HWND hwnd);

    HWND m_hwnd = nullptr;
    Target* m_target = nullptr;
    WNDPROC m_before = nullptr;  // the procedure before ours
};
