#include "framework/DataExchange.h"

#include <vector>

#include "framework/CWinAppBase.h"
#include "framework/WideText.h"

namespace {

bool IsEditControl(HWND hwnd)
{
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return lstrcmpiA(cls, "Edit") == 0;
}

std::string ControlText(HWND control)
{
    const int length = GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    return text.data();
}

}  // namespace

HWND CDataExchange::PrepareControl(int id)
{
    m_hLastControl = GetDlgItem(m_hDlg, id);
    return m_hLastControl;
}

void CDataExchange::Fail(const std::string& message)
{
    m_bFailed = true;
    if (!message.empty())
        AppMessage(m_hDlg, message, MB_OK | MB_ICONEXCLAMATION);
    if (m_hLastControl) {
        SetFocus(m_hLastControl);
        if (IsEditControl(m_hLastControl))
            SendMessageA(m_hLastControl, EM_SETSEL, 0, -1);
    }
}

void ExchangeInt(CDataExchange& dx, int id, int& value)
{
    if (dx.Failed())
        return;
    HWND control = dx.PrepareControl(id);
    if (!dx.SaveAndValidate()) {
        SetWindowTextA(control, std::to_string(value).c_str());
        return;
    }
    int parsed = 0;
    if (!ParseIntField(ControlText(control), parsed)) {
        dx.Fail(kEnterIntegerMessage);
        return;
    }
    value = parsed;
}

void ValidateIntRange(CDataExchange& dx, int value, int minValue, int maxValue)
{
    if (dx.Failed() || !dx.SaveAndValidate())
        return;
    if (value < minValue || value > maxValue)
        dx.Fail(IntegerRangeMessage(minValue, maxValue));
}

void FailDateRange(CDataExchange& dx, const SYSTEMTIME& first, const SYSTEMTIME& last)
{
    const auto shortDate = [](const SYSTEMTIME& day) {
        char text[64] = {};
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, text, sizeof text);
        return std::string(text);
    };
    std::string message = kEnterDateRangeMessage;
    message.replace(message.find("%1"), 2, shortDate(first));
    message.replace(message.find("%2"), 2, shortDate(last));
    dx.Fail(message);
}

void ExchangeText(CDataExchange& dx, int id, std::u16string& value)
{
    if (dx.Failed())
        return;
    HWND control = dx.PrepareControl(id);
    if (dx.SaveAndValidate())
        value = GetWindowTextUtf16(control);
    else
        SetWindowTextUtf16(control, value);
}

void ExchangeCheck(CDataExchange& dx, int id, int& value)
{
    if (dx.Failed())
        return;
    HWND control = dx.PrepareControl(id);
    if (dx.SaveAndValidate())
        value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void ExchangeCheck(CDataExchange& dx, int id, bool& value)
{
    int state = value ? BST_CHECKED : BST_UNCHECKED;
    ExchangeCheck(dx, id, state);
    value = state == BST_CHECKED;
}

int AppMessage(HWND owner, const std::string& text, UINT flags)
{
    HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    if (CWinAppBase* app = CWinAppBase::Get())
        return app->AppMessageBox(text, flags, top);
    return MessageBoxW(top, WideFromUtf8(text).c_str(), nullptr, flags);
}
