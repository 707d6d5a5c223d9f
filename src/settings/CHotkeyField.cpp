#include "settings/CHotkeyField.h"

#include <commctrl.h>

LRESULT CHotkeyField::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const bool key = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYUP;
    if (!key)
        return CallOriginal(msg, wParam, lParam);
    const LRESULT before = CallOriginal(HKM_GETHOTKEY, 0, 0);
    const LRESULT result = CallOriginal(msg, wParam, lParam);
    // A change the control did report arrives twice; the dialog only looks
    // at the field again, so that costs nothing.
    if (CallOriginal(HKM_GETHOTKEY, 0, 0) != before)
        SendMessageA(GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hWnd), EN_CHANGE),
                     reinterpret_cast<LPARAM>(m_hWnd));
    return result;
}
