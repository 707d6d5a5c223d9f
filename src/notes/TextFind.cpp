#include "notes/TextFind.h"

#include <cstring>

namespace {

bool IsBlank(char16_t unit)
{
    return unit == u' ' || unit == u'\r' || unit == u'\n' || unit == u'\t' || unit == 0xA0;
}

// The typed text as the folded texts are searched for: leading blanks are
// dropped by the fold; a trailing one still counts, so "milk " does not find
// "milkshake". Blanks alone ask for nothing.
std::u16string FoldQueryWith(const TextFold& fold, std::u16string_view query)
{
    std::u16string needle = fold.Fold(query);
    return needle == u" " ? std::u16string() : needle;
}

// Whether `folded` (the fold of `text`) holds the folded query; `span`, when
// given, receives where in `text`.
bool MatchFolded(const TextFold& fold, std::u16string_view text, std::u16string_view folded,
                 std::u16string_view foldedQuery, TextMatch* span)
{
    if (foldedQuery.empty()) {
        if (span)
            *span = TextMatch{0, 0};
        return true;
    }
    const size_t at = folded.find(foldedQuery);
    const bool found = at != std::u16string_view::npos;
    if (span)
        *span = found ? fold.SpanOf(text, at, foldedQuery.size()) : TextMatch{};
    return found;
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

std::u16string TextFold::Fold(std::u16string_view text) const
{
    std::u16string folded;
    folded.reserve(text.size());
    for (const char16_t source : text) {
        const char16_t unit = m_table[source];
        if (!Drops(unit, folded.empty() || folded.back() == u' '))
            folded.push_back(unit);
    }
    return folded;
}

TextMatch TextFold::SpanOf(std::u16string_view text, size_t foldedAt, size_t foldedLength) const
{
    TextMatch span{text.size(), 0};
    const size_t foldedEnd = foldedAt + foldedLength;
    size_t kept = 0;
    bool afterBlank = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = m_table[text[i]];
        if (Drops(unit, afterBlank))
            continue;
        // Up to the next kept unit: dropped accents after the last letter
        // belong to the span.
        if (kept == foldedEnd && foldedLength > 0) {
            span.length = i - span.at;
            return span;
        }
        if (kept == foldedAt)
            span.at = i;
        afterBlank = unit == u' ';
        ++kept;
    }
    span.length = text.size() - span.at;
    return span;
}

std::u16string FoldedTextCache::FoldQuery(std::u16string_view query) const
{
    return FoldQueryWith(m_fold, query);
}

bool FoldedTextCache::Find(size_t slot, const void* key, const std::u16string& text,
                           const std::u16string& foldedQuery, TextMatch* span)
{
    if (foldedQuery.empty())  // found in every text: nothing to fold
        return MatchFolded(m_fold, text, std::u16string_view(), foldedQuery, span);
    if (slot == kUnkept)
        return MatchFolded(m_fold, text, m_fold.Fold(text), foldedQuery, span);
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
    return MatchFolded(m_fold, text, entry.folded, foldedQuery, span);
}

size_t FindInText(const TextFold& fold, std::u16string_view text, std::u16string_view query, size_t* length)
{
    TextMatch match;
    MatchFolded(fold, text, fold.Fold(text), FoldQueryWith(fold, query), &match);
    if (length)
        *length = match.length;
    return match.at;
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
