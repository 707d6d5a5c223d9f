#pragma once
// The addresses in a note's text that a Ctrl+click opens. Only web pages and
// mail are ever opened from a note: an address of any other kind (file:, a
// program's path, a share, any other scheme) could run something the user
// never meant to, so it is not a link at all.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class NoteLinks {
public:
    struct Span {
        size_t start = 0;
        size_t length = 0;
    };
    // The address around position in text, when there is one there that may
    // be opened.
    static std::optional<Span> LinkAt(std::u16string_view text, size_t position);
    // True for http://, https://, www. and mailto: addresses with something
    // after the prefix.
    static bool MayOpen(std::u16string_view address);
    // What to hand the shell: a www. address as an http:// one.
    static std::u16string ToOpen(std::u16string_view address);
};
