#pragma once
// Finding notes by what the user types: the note's text and the typed text
// are both folded (case and accents taken off by the platform's language
// rules, every run of spaces and line breaks made one space) and the folded
// query is looked for in the folded text. Folding is one table look-up per
// character, so a note's folded text can be kept and the search per typed
// character is a plain substring search.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TextFold {
public:
    // What one UTF-16 unit folds to: a single unit, or 0 when it drops out
    // (a combining accent). Asked once for every unit when the table is made.
    using UnitMap = std::function<char16_t(char16_t)>;
    explicit TextFold(const UnitMap& map);

    // The folded text; `origins`, when given, receives for each folded unit
    // the index of the unit of `text` it came from.
    std::u16string Fold(std::u16string_view text, std::vector<uint32_t>* origins = nullptr) const;

private:
    std::vector<char16_t> m_table;  // one entry per UTF-16 unit
};

// Where the typed text is found in a note's text, as an index into the
// note's text; npos when it is not there. An empty query (or one of spaces
// only) is found at 0 in every text, with length 0. `length`, when given,
// receives how many units of the note's text the match spans.
size_t FindInText(const TextFold& fold, std::u16string_view text, std::u16string_view query,
                  size_t* length = nullptr);

// The folded texts of the notes, kept while the user types a query, so each
// typed character costs one substring search per note. A note whose text
// changed meanwhile is folded again.
class FoldedTextCache {
public:
    explicit FoldedTextCache(const TextFold& fold) : m_fold(fold) {}
    // Whether the folded query (FoldQuery) is in the text of the note `key`,
    // the `slot`-th note of the list (a hint that spares a look-up; any
    // slot gives the right answer).
    bool Contains(size_t slot, const void* key, const std::u16string& text, const std::u16string& foldedQuery);
    // The typed text as Contains expects it.
    std::u16string FoldQuery(std::u16string_view query) const;
    void Clear() { m_entries.clear(); }

private:
    struct Entry {
        const void* key = nullptr;
        std::u16string source;
        std::u16string folded;
    };
    const TextFold& m_fold;
    std::vector<Entry> m_entries;
};

// The row text for a found note: the text from shortly before the match,
// with an ellipsis in front when something was left out, so the match is in
// sight in a narrow column. `rowText` is the text as the row shows it.
std::u16string TextAroundMatch(const std::u16string& rowText, size_t match, size_t lead = 12);
