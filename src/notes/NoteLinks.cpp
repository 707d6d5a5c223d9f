#include "notes/NoteLinks.h"

#include <array>

namespace {

constexpr std::array<std::u16string_view, 4> kPrefixes = {u"http://", u"https://", u"www.", u"mailto:"};

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        const char16_t c = text[i] >= u'A' && text[i] <= u'Z' ? char16_t(text[i] + 32) : text[i];
        if (c != prefix[i])
            return false;
    }
    return true;
}

// Where an address ends: at white space, a line break, or quotes and
// brackets that usually close around it in prose.
bool EndsAddress(char16_t c)
{
    return c <= u' ' || c == u'"' || c == u'<' || c == u'>' || c == u'\u00A0' || c == u'\u2022' ||
           c == u'\u2610' || c == u'\u2611';
}

}  // namespace

bool NoteLinks::MayOpen(std::u16string_view address)
{
    for (std::u16string_view prefix : kPrefixes) {
        if (StartsWithNoCase(address, prefix) && address.size() > prefix.size())
            return true;
    }
    return false;
}

std::u16string NoteLinks::ToOpen(std::u16string_view address)
{
    return StartsWithNoCase(address, u"www.") ? u"http://" + std::u16string(address) : std::u16string(address);
}

std::optional<NoteLinks::Span> NoteLinks::LinkAt(std::u16string_view text, size_t position)
{
    if (position >= text.size() || EndsAddress(text[position]))
        return std::nullopt;
    size_t start = position, end = position;
    while (start > 0 && !EndsAddress(text[start - 1]))
        --start;
    while (end < text.size() && !EndsAddress(text[end]))
        ++end;
    // Brackets and punctuation around an address in prose are not part of it.
    while (start < end && std::u16string_view(u"([{'").find(text[start]) != std::u16string_view::npos)
        ++start;
    // Punctuation that ends a sentence is not part of the address.
    while (end > start && std::u16string_view(u".,;:!?)]}'").find(text[end - 1]) != std::u16string_view::npos)
        --end;
    if (position < start || position >= end)
        return std::nullopt;
    const std::u16string_view word = text.substr(start, end - start);
    if (!MayOpen(word))
        return std::nullopt;
    return Span{start, end - start};
}
