#pragma once
// UTF-8 and UTF-16 forms of one text. The core keeps note texts as UTF-16
// (as the platform's wide functions take them) and paths as UTF-8 (as the
// host's file functions take them); these convert between the two.
//
// Both directions are lossless for any sequence of 16-bit units: a lone
// surrogate, which an edit control can hold, travels as its own three-byte
// form. Bytes that are not UTF-8 at all read as U+FFFD.
#include <string>
#include <string_view>

std::string Utf8FromUtf16(std::u16string_view text);
std::u16string Utf16FromUtf8(std::string_view text);

#if defined(_WIN32)
// On Windows wchar_t holds UTF-16: a UTF-8 text (a path, a message) for a
// wide-character call, and what such a call gave back.
inline std::wstring WideFromUtf8(std::string_view text)
{
    const std::u16string wide = Utf16FromUtf8(text);
    return std::wstring(wide.begin(), wide.end());
}
inline std::string Utf8FromWide(std::wstring_view text)
{
    return Utf8FromUtf16(std::u16string(text.begin(), text.end()));
}
#endif
