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

// Where a query stands in a note's text, in units of the note's text.
struct TextMatch {
    size_t at = std::u16string::npos;
    size_t length = 0;
    bool Found() const { return at != std::u16string::npos; }
};

class TextFold {
public:
    // What one UTF-16 unit folds to: a single unit, or 0 when it drops out
    // (a combining accent). Asked once for every unit when the table is made.
    using UnitMap = std::function<char16_t(char16_t)>;
    explicit TextFold(const UnitMap& map);

    std::u16string Fold(std::u16string_view text) const;
    // The units of `text` that the folded units from `foldedAt` on, `foldedLength`
    // of them, came from. Walks the text only up to the end of the span.
    TextMatch SpanOf(std::u16string_view text, size_t foldedAt, size_t foldedLength) const;

private:
    // Whether a folded unit drops out after the units kept so far (the last
    // of them a blank, or none kept yet).
    static bool Drops(char16_t folded, bool afterBlank) { return folded == 0 || (folded == u' ' && afterBlank); }

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
    // A slot for a text that is folded for one question and not kept.
    static constexpr size_t kUnkept = static_cast<size_t>(-1);

    explicit FoldedTextCache(const TextFold& fold) : m_fold(fold) {}
    // Whether the folded query (FoldQuery) is in the text of the note `key`,
    // the `slot`-th note of the list (a hint that spares a look-up; any slot
    // gives the right answer). `span`, when given, receives where in the
    // text the match is and how long, as FindInText answers (an empty query
    // is found at 0 with length 0); asking costs a walk over the text up to
    // the match. The one rule for both the notes a find keeps and what it
    // marks in them.
    bool Find(size_t slot, const void* key, const std::u16string& text, const std::u16string& foldedQuery,
              TextMatch* span = nullptr);
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
