#include "framework/CPropertyPageBase.h"

CPropertyPageBase::~CPropertyPageBase()
{
    // The sheet owns the window; it only must not find this object any more.
    if (m_hWnd && IsWindow(m_hWnd))
        SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
}

PROPSHEETPAGEW CPropertyPageBase::Describe()
{
    // Wide pages, like every dialog of the program: their fields keep every
    // character.
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT | PSP_USETITLE;
    page.hInstance = GetModuleHandleW(nullptr);
    page.pszTemplate = MAKEINTRESOURCEW(m_templateId);
    page.pszTitle = MAKEINTRESOURCEW(m_captionStringId);
    page.pfnDlgProc = &CPropertyPageBase::PageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

bool CPropertyPageBase::UpdateData(bool saveAndValidate)
{
    if (!m_hWnd)
        return false;
    CDataExchange dx(m_hWnd, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

BOOL CPropertyPageBase::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

INT_PTR CALLBACK CPropertyPageBase::PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    CPropertyPageBase* self = nullptr;
    if (msg == WM_INITDIALOG) {
        // lParam is the sheet's copy of the page's description.
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        self = page ? reinterpret_cast<CPropertyPageBase*>(page->lParam) : nullptr;
        if (!self)
            return TRUE;
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_hWnd = hwnd;
        try {
            return self->OnInitDialog();
        } catch (...) {
            return TRUE;
        }
    }
    self = reinterpret_cast<CPropertyPageBase*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    INT_PTR result = FALSE;
    try {
        if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == PSN_KILLACTIVE) {
            // TRUE in the message result keeps the page.
            self->SetMsgResult(self->OnKillActive() ? FALSE : TRUE);
            result = TRUE;
        } else {
            result = self->HandleMessage(msg, wParam, lParam);
        }
    } catch (...) {
        result = FALSE;
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}
