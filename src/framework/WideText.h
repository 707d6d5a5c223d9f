#pragma once
// The core keeps texts as UTF-16 and paths as UTF-8; the wide-character
// Win32 functions take both as wchar_t, which is UTF-16 here.
#include <windows.h>

#include <string>
#include <string_view>

#include "core/UnicodeText.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 texts map onto wchar_t");

inline const wchar_t* WideChars(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline wchar_t* WideChars(std::u16string& text)
{
    return reinterpret_cast<wchar_t*>(text.data());
}

// True when the path names a file that exists (a folder does not count).
bool IsExistingFile(const wchar_t* path);
inline bool IsExistingFile(const std::string& utf8Path) { return IsExistingFile(WideFromUtf8(utf8Path).c_str()); }
// A UTF-8 path made absolute against the current folder; the path as it was
// when that fails.
std::string FullPathUtf8(const std::string& path);

// A window's whole text; empty when it has none.
std::u16string GetWindowTextUtf16(HWND hwnd);
bool SetWindowTextUtf16(HWND hwnd, const std::u16string& text);
