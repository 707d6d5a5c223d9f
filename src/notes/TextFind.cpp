#include "notes/TextFind.h"

#include <cstring>

namespace {

bool IsBlank(char16_t unit)
{
    return unit == u' ' || unit == u'\r' || unit == u'\n' || unit == u'\t' || unit == 0xA0;
}

}  // namespace

TextFold::TextFold(const UnitMap& map) : m_table(0x10000)
{
    for (uint32_t unit = 0; unit < 0x10000; ++unit) {
        const auto c = static_cast<char16_t>(unit);
        // Halves of surrogate pairs stand for themselves: text beyond the
        // basic plane is found as typed.
        if (IsBlank(c))
            m_table[unit] = u' ';
        else if (unit >= 0xD800 && unit <= 0xDFFF)
            m_table[unit] = c;
        else
            m_table[unit] = map(c);
    }
}

std::u16string TextFold::Fold(std::u16string_view text, std::vector<uint32_t>* origins) const
{
    std::u16string folded;
    folded.reserve(text.size());
    if (origins)
        origins->clear();
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = m_table[text[i]];
        if (unit == 0 || (unit == u' ' && (folded.empty() || folded.back() == u' ')))
            continue;
        folded.push_back(unit);
        if (origins)
            origins->push_back(static_cast<uint32_t>(i));
    }
    return folded;
}

std::u16string FoldedTextCache::FoldQuery(std::u16string_view query) const
{
    std::u16string needle = m_fold.Fold(query);
    return needle == u" " ? std::u16string() : needle;
}

bool FoldedTextCache::Contains(size_t slot, const void* key, const std::u16string& text,
                               const std::u16string& foldedQuery)
{
    if (foldedQuery.empty())
        return true;
    if (slot >= m_entries.size())
        m_entries.resize(slot + 1);
    Entry& entry = m_entries[slot];
    // memcmp: the standard comparison of UTF-16 strings goes unit by unit.
    if (entry.key != key || entry.source.size() != text.size() ||
        std::memcmp(entry.source.data(), text.data(), text.size() * sizeof(char16_t)) != 0) {
        entry.key = key;
        entry.source = text;
        entry.folded = m_fold.Fold(text);
    }
    return entry.folded.find(foldedQuery) != std::u16string::npos;
}

size_t FindInText(const TextFold& fold, std::u16string_view text, std::u16string_view query, size_t* length)
{
    if (length)
        *length = 0;
    std::u16string needle = fold.Fold(query);
    // Leading blanks are dropped by the fold; a trailing one still counts,
    // so "milk " does not find "milkshake".
    if (needle.empty() || needle == u" ")
        return 0;
    std::vector<uint32_t> origins;
    const std::u16string hay = fold.Fold(text, &origins);
    const size_t at = hay.find(needle);
    if (at == std::u16string::npos)
        return std::u16string::npos;
    if (length) {
        // Up to the next folded unit's origin: dropped accents after the
        // last letter belong to the match.
        const size_t end = at + needle.size();
        *length = (end < origins.size() ? origins[end] : text.size()) - origins[at];
    }
    return origins[at];
}

std::u16string TextAroundMatch(const std::u16string& rowText, size_t match, size_t lead)
{
    if (match == std::u16string::npos || match <= lead)
        return rowText;
    size_t from = match - lead;
    // Never start in the middle of a surrogate pair.
    if (from < rowText.size() && rowText[from] >= 0xDC00 && rowText[from] <= 0xDFFF)
        --from;
    return u"\u2026" + rowText.substr(from);
}
