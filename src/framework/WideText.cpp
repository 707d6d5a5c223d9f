#include "framework/WideText.h"

std::wstring WideFromUtf8(std::string_view text)
{
    const std::u16string wide = Utf16FromUtf8(text);
    return std::wstring(wide.begin(), wide.end());
}

std::string Utf8FromWide(std::wstring_view text)
{
    return Utf8FromUtf16(std::u16string(text.begin(), text.end()));
}

std::u16string GetWindowTextUtf16(HWND hwnd)
{
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return {};
    // The length may overstate what a control hands back; keep what it gave.
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const int got = GetWindowTextW(hwnd, WideChars(text), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

bool SetWindowTextUtf16(HWND hwnd, const std::u16string& text)
{
    return SetWindowTextW(hwnd, WideChars(text)) != FALSE;
}
