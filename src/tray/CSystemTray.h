#pragma once
// The program's icon in the notification area. Mouse actions on the icon
// become commands for the application's main window: a right click opens the
// tray menu (a bitmap popup menu), a left press runs its default item.
#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>

#include "framework/CWindowBase.h"

class CSystemTray : public CWindowBase {
public:
    // The notification data of the shell's first version: the tooltip is
    // limited to 64 bytes and every shell understands the icon.
    static constexpr DWORD kNotifyDataSize = NOTIFYICONDATAA_V1_SIZE;
#ifdef _WIN64
    static_assert(kNotifyDataSize == 104);
#else
    static_assert(kNotifyDataSize == 88);
#endif
    static constexpr const char* kClassName = "VelumoTrayIcon";

    CSystemTray() = default;
    ~CSystemTray() override;

    // Adds the icon. owner gets the callback message (this object's own
    // hidden window when owner is null); tooltip is cut to 63 characters.
    // False when the shell refused the icon.
    bool Create(HWND owner, UINT callbackMessage, const char* tooltip, HICON icon, UINT id);
    // Takes the icon out of the notification area (once).
    void RemoveIcon();
    bool IsIconShown() const { return m_bEnabled; }

    // A balloon over the icon: title (up to 63 characters) and text (up to
    // 255; longer ones are cut with an ellipsis). A click on the balloon
    // calls onClick, until the next balloon replaces it. False when the icon
    // is not in the notification area or the shell refused the balloon.
    bool ShowBalloon(const std::u16string& title, const std::u16string& text, std::function<void()> onClick = {});
    // The shell call a balloon goes through (Shell_NotifyIconW with
    // NIM_MODIFY); tests put a recorder in its place.
    using BalloonCall = BOOL (*)(const NOTIFYICONDATAW& data);
    static void SetBalloonCall(BalloonCall call);

    // The icon's callback message: wParam the icon id, lParam the mouse
    // message (or the balloon's click). 0 for another icon's id, else 1.
    virtual LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);

    // The message the shell broadcasts when the taskbar has (re)started.
    static UINT TaskbarCreatedMessage();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // The menu's first item is its default: a left click on the icon runs it.
    static constexpr int kDefaultItemPos = 0;

    bool ShowTrayMenu(HWND target);
    UINT DefaultCommand() const;
    // Adds the icon; again: the taskbar came back, and may still have it.
    bool AddIcon(bool again);

    NOTIFYICONDATAA m_tnd{};
    bool m_bEnabled = false;    // the shell has the icon
    bool m_bWanted = false;     // the icon should be there (Create ran, RemoveIcon did not)
    bool m_bMenuOpen = false;
    std::function<void()> m_onBalloonClick;
};
