#pragma once
// Dialogs over resource templates. A modal run pumps its own messages (see
// MessageLoop), so pre-translation reaches the dialog and its children; a
// modeless dialog lives inside whatever loop runs.
#include <windows.h>

#include <vector>

#include "framework/MessageLoop.h"
#include "framework/ScopedHandles.h"

class CDialogBase : public IPreTranslator {
public:
    explicit CDialogBase(int templateId) : m_templateId(templateId) {}
    virtual ~CDialogBase();
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // Runs the dialog until EndDialog; returns its result, or -1 when the
    // window could not be made, or IDCANCEL when something else destroyed
    // it. The parent is disabled meanwhile.
    INT_PTR DoModal(HWND parent);
    // Creates the dialog without running it.
    HWND CreateModeless(HWND parent);
    // Ends a modal run with the result, or destroys a modeless dialog.
    void EndDialog(INT_PTR result);

    HWND GetHwnd() const { return m_hWnd; }
    HWND GetItem(int id) const { return GetDlgItem(m_hWnd, id); }

    bool PreTranslateMessage(MSG&) override { return false; }

protected:
    // Answer TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Return TRUE when handled; a value for the message goes through
    // SetMsgResult. The default handles OK and Cancel.
    virtual INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void SetMsgResult(LRESULT result) { SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result); }

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    // Enables the owner a modal run disabled, once, and activates it.
    void ReleaseOwner();
    // Pictures of the template (banners in bitmap statics) are drawn for
    // 96 DPI, while the dialog units around them grow with the display: at
    // another scale each is replaced by a scaled copy that the dialog owns.
    void ScaleTemplatePictures();

    int m_templateId;
    bool m_modal = false;
    bool m_endModal = false;
    INT_PTR m_result = -1;
    HWND m_hDisabledOwner = nullptr;  // the owner this modal run disabled
    std::vector<UniqueBitmap> m_scaledPictures;
};
