// The Options dialog in its own modal run: every way of closing it against
// the auto-start flag.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ScriptedDialog.h"
#include "res/resource.h"
#include "settings/AutoRun.h"
#include "settings/AutoRunValue.h"
#include "settings/COptionsDlg.h"

namespace {

// The option as the registry holds it now ("" when the value is missing),
// and whether the Run entry is there.
std::string StoredOption()
{
    char text[32] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, AutoRunKeys::kOptionKey, AutoRunKeys::kOptionValue, RRF_RT_REG_SZ,
                     nullptr, text, &size) != ERROR_SUCCESS)
        return "";
    return text;
}
bool HasRunEntry()
{
    return RegGetValueA(HKEY_CURRENT_USER, AutoRunKeys::kRunKey, AutoRunKeys::kRunValue, RRF_RT_REG_SZ, nullptr,
                        nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace

TEST(OptionsDlgWin, OnlyConfirmingKeepsTheToggledBox)
{
    auto focusOr = [](HWND dlg) { return GetFocus() ? GetFocus() : dlg; };
    struct Case {
        const char* label;
        std::function<void(HWND)> close;
        bool keeps;
    } cases[] = {
        {"&OK", [](HWND dlg) { SendMessageA(GetDlgItem(dlg, IDC_OPT_OK), BM_CLICK, 0, 0); }, true},
        {"Enter", [&](HWND dlg) { PostKey(focusOr(dlg), VK_RETURN); }, true},
        {"&Cancel", [](HWND dlg) { SendMessageA(GetDlgItem(dlg, IDC_OPT_CANCEL), BM_CLICK, 0, 0); }, false},
        {"Escape", [&](HWND dlg) { PostKey(focusOr(dlg), VK_ESCAPE); }, false},
        {"close box", [](HWND dlg) { PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
    };
    for (const auto& c : cases) {
        for (int before : {0, 1}) {
            SCOPED_TRACE(std::string(c.label) + (before ? ", was on" : ", was off"));
            g_bAutoRun = before;
            WriteAutoRun();
            ScriptedDialog<COptionsDlg> dlg;
            bool tickedAtStart = false;
            dlg.steps = {[&](HWND hwnd) {
                             HWND box = GetDlgItem(hwnd, IDC_OPT_AUTORUN);
                             tickedAtStart = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
                             SendMessageA(box, BM_CLICK, 0, 0);
                         },
                         c.close};
            const INT_PTR result = dlg.DoModal(nullptr);
            ASSERT_NE(result, dlg.kGaveUp) << "the dialog did not close";
            EXPECT_EQ(tickedAtStart, before == 1);
            EXPECT_EQ(result, c.keeps ? IDOK : IDCANCEL);
            EXPECT_EQ(g_bAutoRun, c.keeps ? 1 - before : before);
            // Confirmed: in the registry at once, not only at the end of
            // the run; otherwise the registry is as it was.
            EXPECT_EQ(StoredOption(), g_bAutoRun ? "TRUE" : "FALSE");
            EXPECT_EQ(HasRunEntry(), g_bAutoRun == 1);
        }
    }
    g_bAutoRun = 0;
    WriteAutoRun();
}
