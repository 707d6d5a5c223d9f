#pragma once
// A property page on a dialog template, for a sheet (CPropertySheetHost).
// The sheet makes the page's window when its tab is first shown; until then
// HasWindow() is false. Values go between controls and members through
// DoDataExchange (see DataExchange.h), and a page refuses to be left while
// its fields do not validate.
#include <windows.h>

#include <commctrl.h>

#include "framework/DataExchange.h"

class CPropertyPageBase {
public:
    // captionStringId: the string resource that names the page's tab.
    CPropertyPageBase(int templateId, int captionStringId)
        : m_templateId(templateId), m_captionStringId(captionStringId)
    {
    }
    virtual ~CPropertyPageBase();
    CPropertyPageBase(const CPropertyPageBase&) = delete;
    CPropertyPageBase& operator=(const CPropertyPageBase&) = delete;

    HWND GetHwnd() const { return m_hWnd; }
    bool HasWindow() const { return m_hWnd != nullptr; }
    HWND GetItem(int id) const { return GetDlgItem(m_hWnd, id); }

    // The sheet's description of the page.
    PROPSHEETPAGEW Describe();

    // Controls to members (true) or members to controls (false). False when
    // a field was refused; its message has been shown.
    bool UpdateData(bool saveAndValidate);

protected:
    virtual void DoDataExchange(CDataExchange&) {}
    // Default: the members into the controls. Answer TRUE to let the system
    // set the focus.
    virtual BOOL OnInitDialog();
    // Another tab is being chosen: false keeps this page. Default: the
    // fields must validate.
    virtual bool OnKillActive() { return UpdateData(true); }
    // Return TRUE when handled (a value goes through SetMsgResult).
    virtual INT_PTR HandleMessage(UINT, WPARAM, LPARAM) { return FALSE; }
    void SetMsgResult(LRESULT result) { SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result); }
    bool IsChecked(int id) const { return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }
    void SetChecked(int id, bool checked) { CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED); }
    void Enable(int id, bool enabled) { EnableWindow(GetItem(id), enabled ? TRUE : FALSE); }

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    int m_templateId;
    int m_captionStringId;
};
