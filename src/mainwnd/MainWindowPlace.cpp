#include "mainwnd/MainWindowPlace.h"

#include <string>

#include "framework/CWinAppBase.h"
#include "framework/MonitorWorkArea.h"
#include "framework/NumberField.h"

namespace {

constexpr const char* kSection = "Window";
constexpr const char* kLeftKey = "Left";
constexpr const char* kTopKey = "Top";
// Farther out than any desktop reaches: such a value is damaged, and adding
// the window's size to it could overflow.
constexpr int kFarthestPlace = 1000000;

bool ReadCoordinate(const CWinAppBase& app, const char* key, int& value)
{
    // Read as text: a damaged value must not read as 0, a place of its own.
    return ParseIntField(app.GetProfileString(kSection, key), value) && value >= -kFarthestPlace &&
           value <= kFarthestPlace;
}

}  // namespace

void PlaceMainWindowAsKept(HWND window, const DisplayScale& scale)
{
    const CWinAppBase* app = CWinAppBase::Get();
    if (!app)
        return;
    int left = 0, top = 0;
    if (!ReadCoordinate(*app, kLeftKey, left) || !ReadCoordinate(*app, kTopKey, top))
        return;
    RECT now{};
    GetWindowRect(window, &now);
    const int x = scale.ToPixels(left), y = scale.ToPixels(top);
    const RECT kept{x, y, x + (now.right - now.left), y + (now.bottom - now.top)};
    RECT shown{};
    const std::optional<RECT> work = WorkAreaUnder(kept);
    if (!work || !IntersectRect(&shown, &kept, &*work))
        return;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void KeepMainWindowPlace(HWND window, const DisplayScale& scale)
{
    RECT now{};
    const CWinAppBase* app = CWinAppBase::Get();
    if (!app || IsIconic(window) || !GetWindowRect(window, &now))
        return;
    app->WriteProfileInt(kSection, kLeftKey, scale.ToBase(now.left));
    app->WriteProfileInt(kSection, kTopKey, scale.ToBase(now.top));
}
