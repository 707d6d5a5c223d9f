#include "tray/CSystemTray.h"

#include <algorithm>
#include <cstring>

#include "framework/CWinAppBase.h"
#include "framework/ScopedHandles.h"
#include "res/resource.h"
#include "tray/CBmpMenu.h"

CSystemTray::~CSystemTray()
{
    RemoveIcon();
}

UINT CSystemTray::TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

bool CSystemTray::Create(HWND owner, UINT callbackMessage, const char* tooltip, HICON icon, UINT id)
{
    // Platforms before major version 4 have no notification area.
    if (LOBYTE(LOWORD(GetVersion())) < 4) {
        m_bEnabled = false;
        return false;
    }
    if (!m_hWnd) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        // Hidden, unowned and top-level: it hears the shell's broadcast
        // when the taskbar restarts, whoever receives the callbacks.
        if (!RegisterClassOnce(wc) || !CreateEx(0, kClassName, "", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr))
            return false;
        TaskbarCreatedMessage();
    }
    m_tnd = NOTIFYICONDATAA{};
    m_tnd.cbSize = kNotifyDataSize;
    m_tnd.hWnd = (owner && IsWindow(owner)) ? owner : m_hWnd;
    m_tnd.uID = id;
    m_tnd.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_tnd.uCallbackMessage = callbackMessage;
    m_tnd.hIcon = icon;
    // The first version's tooltip: 64 bytes with the terminating zero.
    constexpr size_t kTipBytes = 64;
    static_assert(sizeof m_tnd.szTip >= kTipBytes);
    if (tooltip)
        std::strncpy(m_tnd.szTip, tooltip, kTipBytes - 1);

    m_bWanted = true;
    return AddIcon(false);
}

bool CSystemTray::AddIcon(bool again)
{
    // A taskbar that comes back may still have the icon: NIM_ADD then fails,
    // and a failed add is never deleted, so the shell would keep a dead icon
    // after the program ends. Whatever is there goes first.
    if (again)
        Shell_NotifyIconA(NIM_DELETE, &m_tnd);
    m_tnd.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_bEnabled = Shell_NotifyIconA(NIM_ADD, &m_tnd) != FALSE;
    return m_bEnabled;
}

void CSystemTray::RemoveIcon()
{
    m_bWanted = false;
    if (!m_bEnabled)
        return;
    m_tnd.uFlags = 0;
    Shell_NotifyIconA(NIM_DELETE, &m_tnd);
    m_bEnabled = false;
}

namespace {

BOOL ShellBalloon(const NOTIFYICONDATAW& data)
{
    return Shell_NotifyIconW(NIM_MODIFY, const_cast<NOTIFYICONDATAW*>(&data));
}

CSystemTray::BalloonCall g_balloonCall = ShellBalloon;

// Copies text into a fixed field, cut with an ellipsis when it does not fit.
template <size_t N>
void CopyCut(WCHAR (&field)[N], const std::u16string& text)
{
    const size_t room = N - 1;
    size_t n = std::min(text.size(), room);
    std::memcpy(field, text.data(), n * sizeof(WCHAR));
    if (text.size() > room)
        field[room - 1] = u'\u2026';
    field[n] = 0;
}

}  // namespace

void CSystemTray::SetBalloonCall(BalloonCall call)
{
    g_balloonCall = call ? call : ShellBalloon;
}

bool CSystemTray::ShowBalloon(const std::u16string& title, const std::u16string& text, std::function<void()> onClick)
{
    if (!m_bEnabled)
        return false;
    // The icon was added with the first version's structure; a balloon needs
    // the second's fields, for the same icon.
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = m_tnd.hWnd;
    data.uID = m_tnd.uID;
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_INFO;
    data.uTimeout = 10000;  // the shell's own limits apply
    CopyCut(data.szInfoTitle, title);
    CopyCut(data.szInfo, text);
    m_onBalloonClick = std::move(onClick);
    return g_balloonCall(data) != FALSE;
}

UINT CSystemTray::DefaultCommand() const
{
    UniqueMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_tnd.uID)));
    if (!menu)
        return static_cast<UINT>(-1);
    return GetMenuItemID(menu, kDefaultItemPos);
}

bool CSystemTray::ShowTrayMenu(HWND target)
{
    m_bMenuOpen = true;
    const bool shown = CBmpMenu::ShowResourceMenu(target, static_cast<int>(m_tnd.uID), IDB_TRAY_BANNER, 1,
                                                  IDB_VIEW_LIST_ITEM, kDefaultItemPos);
    m_bMenuOpen = false;
    if (!shown)
        return false;
    // Lets the shell see the menu's end (a menu of a hidden window would
    // otherwise stay up after a click elsewhere on some systems).
    PostMessageA(target, WM_NULL, 0, 0);
    return true;
}

LRESULT CSystemTray::OnTrayNotification(WPARAM wParam, LPARAM lParam)
{
    if (wParam != m_tnd.uID)
        return 0;
    if (LOWORD(lParam) == NIN_BALLOONUSERCLICK) {
        // Copied: the click may show the next balloon, which replaces it.
        if (const std::function<void()> onClick = m_onBalloonClick)
            onClick();
        return 1;
    }
    CWinAppBase* app = CWinAppBase::Get();
    HWND target = app ? app->m_hMainWnd : nullptr;
    if (!target || !IsWindow(target))
        return 1;

    switch (LOWORD(lParam)) {
    case WM_RBUTTONUP:
        // A second click on the icon while the menu is up only closes it.
        if (!m_bMenuOpen && !ShowTrayMenu(target))
            return 0;
        break;
    case WM_LBUTTONDOWN: {
        // Likewise a left click: it ends the open menu and adds nothing.
        if (m_bMenuOpen)
            break;
        SetForegroundWindow(target);
        const UINT command = DefaultCommand();
        if (command == static_cast<UINT>(-1))
            return 0;
        // Sent: the command has run when the notification returns.
        SendMessageA(target, WM_COMMAND, command, 0);
        break;
    }
    default:
        break;
    }
    return 1;
}

LRESULT CSystemTray::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == m_tnd.uCallbackMessage && msg != 0)
        return OnTrayNotification(wParam, lParam);
    if (msg == TaskbarCreatedMessage() && m_bWanted) {
        // A restarted taskbar knows no icons: without this one the program
        // would be out of reach while its main window is hidden.
        AddIcon(true);
        return 0;
    }
    return DefaultProc(msg, wParam, lParam);
}
