#include "framework/CDialogBase.h"

#include "framework/WindowDpi.h"
#include "framework/ScaledPicture.h"

CDialogBase::~CDialogBase()
{
    if (m_hWnd && IsWindow(m_hWnd)) {
        SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        MessageLoop::UnregisterFilter(m_hWnd);
        DestroyWindow(m_hWnd);
    }
}

// Wide dialogs: their edit controls then keep every character typed,
// pasted or set.
HWND CDialogBase::CreateModeless(HWND parent)
{
    m_modal = false;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), parent,
                              &CDialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialogBase::DoModal(HWND parent)
{
    m_modal = true;
    m_endModal = false;
    m_result = -1;
    HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), parent,
                                   &CDialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd)
        return -1;
    m_hDisabledOwner = nullptr;
    if (parent && IsWindowEnabled(parent)) {
        EnableWindow(parent, FALSE);
        m_hDisabledOwner = parent;
    }
    if (!m_endModal && IsWindow(hwnd) && !IsWindowVisible(hwnd))
        ShowWindow(hwnd, SW_SHOWNORMAL);

    MessageLoop::RunUntil(&m_endModal, hwnd);

    ReleaseOwner();
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    m_modal = false;
    return m_result;
}

void CDialogBase::ReleaseOwner()
{
    // Enabled before this dialog leaves the screen: the system then gives
    // the activation back to the window the user came from, not to some
    // other program's window.
    HWND owner = m_hDisabledOwner;
    m_hDisabledOwner = nullptr;
    if (!owner || !IsWindow(owner))
        return;
    EnableWindow(owner, TRUE);
    if (m_hWnd && GetActiveWindow() == m_hWnd)
        SetActiveWindow(owner);
    else if (!GetActiveWindow())
        SetActiveWindow(owner);
}

void CDialogBase::EndDialog(INT_PTR result)
{
    if (m_modal) {
        m_result = result;
        m_endModal = true;
        ReleaseOwner();
        if (m_hWnd)
            ShowWindow(m_hWnd, SW_HIDE);
        PostMessageA(nullptr, WM_NULL, 0, 0);  // wakes the loop if it is idle
    } else if (m_hWnd) {
        DestroyWindow(m_hWnd);
    }
}

INT_PTR CDialogBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_COMMAND && HIWORD(wParam) <= 1) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        }
    }
    return FALSE;
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    CDialogBase* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialogBase*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        if (self) {
            self->m_hWnd = hwnd;
            MessageLoop::RegisterFilter(hwnd, self);
            try {
                self->ScaleTemplatePictures();
                return self->OnInitDialog();
            } catch (...) {
                return TRUE;
            }
        }
        return TRUE;
    }
    self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        result = FALSE;
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        MessageLoop::UnregisterFilter(hwnd);
        self->m_hWnd = nullptr;
        // Taken away by its owner during a modal run: the run ends too.
        if (self->m_modal && !self->m_endModal) {
            self->m_result = IDCANCEL;
            self->m_endModal = true;
        }
    }
    return result;
}

void CDialogBase::ScaleTemplatePictures()
{
    const DisplayScale scale = WindowScale(m_hWnd);
    if (scale.IsBase())
        return;
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = {};
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") != 0 || (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
            continue;
        auto* shown = reinterpret_cast<HBITMAP>(SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP info{};
        if (!shown || !GetObjectA(shown, sizeof info, &info))
            continue;
        UniqueBitmap scaled(ScalePicture(shown, ScaledPictureSize(SIZE{info.bmWidth, info.bmHeight}, scale)));
        if (!scaled)
            continue;
        // The picture it showed is handed back: from now on it is ours.
        m_scaledPictures.emplace_back(reinterpret_cast<HBITMAP>(
            SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled.Get()))));
        m_scaledPictures.push_back(std::move(scaled));
    }
}
