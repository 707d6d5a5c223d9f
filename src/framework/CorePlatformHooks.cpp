#include "framework/CorePlatformHooks.h"

#include <windows.h>

#include "framework/ScopedHandles.h"
#include "notes/Archive.h"
#include "notes/CNote.h"

namespace {

std::string WideToAnsiCodePage(const std::u16string& text)
{
    if (text.empty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string out(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), needed, nullptr, nullptr);
    return out;
}

}  // namespace

void InstallCorePlatformHooks()
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 strings map onto wchar_t");
    SetWideToAnsiConverter(&WideToAnsiCodePage);
    ScopedGetDC screen(nullptr);
    CNote::SetScreenLogPixelsY(GetDeviceCaps(screen, LOGPIXELSY));
}
