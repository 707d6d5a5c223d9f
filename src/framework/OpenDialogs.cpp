#include "framework/OpenDialogs.h"

#include <vector>

namespace {

struct Search {
    HWND except;
    std::vector<HWND> found;
};

BOOL CALLBACK AddIfOpenDialog(HWND hwnd, LPARAM lParam)
{
    auto& search = *reinterpret_cast<Search*>(lParam);
    char className[16] = {};
    // A dialog that has ended is hidden at once, though its window may stay a
    // moment longer: it no longer counts.
    if (hwnd != search.except && IsWindowVisible(hwnd) && GetClassNameA(hwnd, className, sizeof className) &&
        lstrcmpA(className, "#32770") == 0)
        search.found.push_back(hwnd);
    return TRUE;
}

void PressButton(HWND dialog, int id, HWND button)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// Cancel where there is one, shown or not (a property sheet's, a common
// dialog's, a message box's); No for a question that has no Cancel, which
// leaves things as they were; otherwise the close box, which a dialog of ours
// turns into Cancel and a message box with only OK into OK.
void CancelDialog(HWND dialog)
{
    if (HWND cancel = GetDlgItem(dialog, IDCANCEL))
        PressButton(dialog, IDCANCEL, cancel);
    else if (HWND no = GetDlgItem(dialog, IDNO))
        PressButton(dialog, IDNO, no);
    else
        SendMessageW(dialog, WM_CLOSE, 0, 0);
}

}  // namespace

size_t CancelOpenDialogs(HWND except)
{
    Search search{except, {}};
    EnumThreadWindows(GetCurrentThreadId(), &AddIfOpenDialog, reinterpret_cast<LPARAM>(&search));
    // Chosen before any ends: the end of one gives its owner back its input,
    // and that owner's turn comes once this one's modal run has returned.
    std::vector<HWND> innermost;
    for (HWND dialog : search.found) {
        if (IsWindowEnabled(dialog))
            innermost.push_back(dialog);
    }
    // A dialog that something else keeps disabled would otherwise never end.
    if (innermost.empty())
        innermost = search.found;
    for (HWND dialog : innermost) {
        if (IsWindow(dialog) && IsWindowVisible(dialog))
            CancelDialog(dialog);
    }
    return search.found.size();
}
