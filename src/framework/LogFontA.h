#pragma once
// A note keeps its font as the 60-byte block of notes/LogFont.h, laid out as
// the platform's LOGFONTA: these move one into the other unchanged.
#include <windows.h>

#include <cstddef>
#include <cstring>

#include "core/LogFont.h"
#include "framework/ScopedHandles.h"
#include "framework/WindowDpi.h"

static_assert(sizeof(LOGFONTA) == sizeof(LogFont), "the stored font block is the platform's LOGFONTA");
static_assert(offsetof(LOGFONTA, lfWeight) == offsetof(LogFont, lfWeight) &&
                  offsetof(LOGFONTA, lfPitchAndFamily) == offsetof(LogFont, lfPitchAndFamily) &&
                  offsetof(LOGFONTA, lfFaceName) == offsetof(LogFont, lfFaceName),
              "the stored font block keeps the platform's field order");

inline LOGFONTA ToLogFontA(const LogFont& font)
{
    LOGFONTA out;
    std::memcpy(&out, &font, sizeof out);
    return out;
}

inline LogFont FromLogFontA(const LOGFONTA& font)
{
    LogFont out;
    std::memcpy(static_cast<void*>(&out), &font, sizeof out);
    return out;
}

// A stored font (its height for 96 DPI) made at a display's scale; made, when
// given, receives the description the font was made from.
inline UniqueFont MakeScaledFont(const LogFont& font, const DisplayScale& scale, LOGFONTA* made = nullptr)
{
    const LOGFONTA lf = ScaledFont(ToLogFontA(font), scale);
    if (made)
        *made = lf;
    return UniqueFont(CreateFontIndirectA(&lf));
}
