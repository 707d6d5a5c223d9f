#include "app/CorePlatformHooks.h"

#include <windows.h>
#include <ntsecapi.h>

#include "framework/DisplayScale.h"
#include "notes/AnsiCodePage.h"
#include "notes/CNote.h"
#include "notes/NoteIdSource.h"

namespace {

// The system's ANSI code page. A text counts as fitting only when it goes
// there and back unchanged: no default character and no best-fit look-alike
// ("Ł" as "L") may stand in for what the user wrote.
class SystemCodePage final : public IAnsiCodePage {
public:
    bool Narrow(std::u16string_view text, std::string& out) const override
    {
        out.clear();
        if (text.empty())
            return true;
        const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
        const int length = static_cast<int>(text.size());
        BOOL usedDefault = FALSE;
        const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr,
                                               &usedDefault);
        if (needed <= 0 || usedDefault)
            return false;
        out.resize(static_cast<size_t>(needed));
        if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, out.data(), needed, nullptr,
                                &usedDefault) != needed ||
            usedDefault)
            return false;
        std::u16string back;
        Widen(out, back);
        return back == text;
    }

    void Widen(std::string_view bytes, std::u16string& out) const override
    {
        out.clear();
        if (bytes.empty())
            return;
        const int length = static_cast<int>(bytes.size());
        const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
        if (needed <= 0)
            return;
        out.resize(static_cast<size_t>(needed));
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(out.data()), needed);
    }
};

}  // namespace

void InstallCorePlatformHooks()
{
    static const SystemCodePage codePage;
    SetAnsiCodePage(&codePage);
    // Notes store their font for 96 DPI whatever the display (a note window
    // scales it): the screen this program once read was always 96 to it, as
    // Windows scaled it as a picture.
    CNote::SetScreenLogPixelsY(DisplayScale::kBaseDpi);
    // The system's own random source for note ids: in advapi32, which the
    // program loads anyway, so a start pays nothing for it.
    NoteIdSource::SetRandomBytes(
        [](void* out, size_t size) { return RtlGenRandom(out, static_cast<ULONG>(size)) != FALSE; });
}
