#include "framework/CPropertySheetHost.h"

#include <commctrl.h>

#include "framework/CPropertyPageBase.h"
#include "framework/WideText.h"

namespace {

constexpr DWORD kChildStyle = WS_CHILD | WS_CLIPCHILDREN;
// What the sheet keeps of its template's own style: its font settings.
constexpr DWORD kKeptStyle = DS_SETFONT | DS_FIXEDSYS | DS_3DLOOK;
constexpr int kApplyButton = 0x3021;  // the sheet's "Apply" button

// The extended template starts with its version (1) and 0xFFFF.
struct DialogTemplateExHead {
    WORD dlgVer;
    WORD signature;
    DWORD helpID;
    DWORD exStyle;
    DWORD style;
};

// Turns the sheet's own template into a child's before it is made.
int CALLBACK SheetCallback(HWND, UINT msg, LPARAM lParam)
{
    if (msg != PSCB_PRECREATE || !lParam)
        return 0;
    auto* plain = reinterpret_cast<DLGTEMPLATE*>(lParam);
    auto* extended = reinterpret_cast<DialogTemplateExHead*>(lParam);
    if (extended->dlgVer == 1 && extended->signature == 0xFFFF) {
        extended->style = (extended->style & kKeptStyle) | kChildStyle;
        extended->exStyle = WS_EX_CONTROLPARENT;
    } else {
        plain->style = (plain->style & kKeptStyle) | kChildStyle;
        plain->dwExtendedStyle = WS_EX_CONTROLPARENT;
    }
    return 0;
}

void AddControlParent(HWND hwnd)
{
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, GetWindowLongPtrA(hwnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
}

}  // namespace

HWND CPropertySheetHost::Create(HWND parent)
{
    std::vector<PROPSHEETPAGEW> pages;
    pages.reserve(m_pages.size());
    for (CPropertyPageBase* page : m_pages)
        pages.push_back(page->Describe());

    const std::wstring title = WideFromUtf8(m_title);
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_MODELESS | PSH_USECALLBACK;
    header.hwndParent = parent;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = title.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();
    header.pfnCallback = &SheetCallback;
    m_hWnd = reinterpret_cast<HWND>(PropertySheetW(&header));
    if (!m_hWnd || m_hWnd == reinterpret_cast<HWND>(-1)) {
        m_hWnd = nullptr;
        return nullptr;
    }

    // Without the sheet's own buttons: cut it off above them, and take them
    // out of sight and out of the keyboard's way.
    RECT sheet{};
    GetWindowRect(m_hWnd, &sheet);
    if (HWND ok = GetDlgItem(m_hWnd, IDOK)) {
        RECT button{};
        GetWindowRect(ok, &button);
        SetWindowPos(m_hWnd, nullptr, 0, 0, sheet.right - sheet.left, button.top - sheet.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (int id : {IDOK, IDCANCEL, IDHELP, kApplyButton}) {
        if (HWND button = GetDlgItem(m_hWnd, id)) {
            ShowWindow(button, SW_HIDE);
            EnableWindow(button, FALSE);
        }
    }

    // First in the tab order, at the dialog's top-left corner.
    SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(m_hWnd, SW_SHOW);
    AddControlParent(m_hWnd);
    SendMessageW(m_hWnd, PSM_SETTITLEW, 0, reinterpret_cast<LPARAM>(title.c_str()));
    return m_hWnd;
}

int CPropertySheetHost::GetActiveIndex() const
{
    if (!m_hWnd)
        return -1;
    HWND tab = reinterpret_cast<HWND>(SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0));
    return tab ? static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0)) : -1;
}

bool CPropertySheetHost::SetActivePage(int index)
{
    if (!m_hWnd || index < 0 || index >= static_cast<int>(m_pages.size()))
        return false;
    SendMessageA(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    return GetActiveIndex() == index;
}

bool CPropertySheetHost::TranslatePageKeys(const MSG& msg)
{
    if (!m_hWnd || msg.message != WM_KEYDOWN || !(GetKeyState(VK_CONTROL) & 0x8000) || m_pages.empty())
        return false;
    int step = 0;
    if (msg.wParam == VK_TAB)
        step = (GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1;
    else if (msg.wParam == VK_NEXT)
        step = 1;
    else if (msg.wParam == VK_PRIOR)
        step = -1;
    if (step == 0)
        return false;
    const int count = static_cast<int>(m_pages.size());
    SetActivePage((GetActiveIndex() + step + count) % count);
    return true;
}
