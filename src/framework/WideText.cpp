#include "framework/WideText.h"

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
