#include <gtest/gtest.h>

#include "notes/TextFind.h"

namespace {

// A stand-in for the platform's language rules: ASCII case and a few
// accented letters; the combining acute drops out.
char16_t FoldUnit(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + 32);
    switch (c) {
    case u'\u00E9': case u'\u00C9': case u'\u00E8': return u'e';
    case u'\u00FC': case u'\u00DC': return u'u';
    case 0x0301: return 0;
    default: return c;
    }
}

TEST(TextFind, FindsWhatTheUserMeant)
{
    const TextFold fold(FoldUnit);
    constexpr size_t kNone = std::u16string::npos;
    struct Case {
        std::u16string text, query;
        size_t at, length = kNone;  // the span, where it matters
    } cases[] = {
        {u"Buy MILK", u"milk", 4},
        {u"Caf\u00E9 at noon", u"CAFE", 0, 4},
        {u"Cafe\u0301 at noon", u"caf\u00E9 at", 0, 8},  // a decomposed accent
        {u"M\u00FCller", u"muller", 0},
        {u"Cafe\u0301", u"cafe", 0, 5},                   // the accent after the end too
        {u"  buy milk", u"BUY", 2, 3},                     // blanks before the text
        {u"buy\r\nmilk", u"buy milk", 0, 9},             // a line break is a space
        {u"buy  \t milk", u"y  milk", 2},
        {u"call\r\nPeter", u"peter", 6},                 // the index is the note's own
        {u"anything", u"", 0},
        {u"anything", u"   ", 0},
        {u"milkshake", u"milk ", kNone},
        {u"milk", u"milkshake", kNone},
        {u"\u6771\u4EAC meeting", u"\u4EAC", 1},         // beyond the code page
        {u"pay \U0001F4B6 rent", u"\U0001F4B6 r", 4},
        {u"pay \U0001F4B6 rent", u"\U0001F4B7", kNone},
        {u"", u"a", kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.query.begin(), c.query.end()));
        size_t length = 0;
        EXPECT_EQ(FindInText(fold, c.text, c.query, &length), c.at);
        if (c.length != kNone) {
            EXPECT_EQ(length, c.length);
        }
        // The cache answers as FindInText: the rows a find keeps and the
        // mark in them come from it.
        FoldedTextCache cache(fold);
        for (size_t slot : {size_t{0}, FoldedTextCache::kUnkept}) {
            TextMatch span;
            EXPECT_EQ(cache.Find(slot, &c, c.text, cache.FoldQuery(c.query), &span), c.at != kNone);
            EXPECT_EQ(span.Found(), c.at != kNone);
            EXPECT_EQ(span.at, c.at);
            EXPECT_EQ(span.length, length);
        }
    }
}

TEST(TextFind, CacheFoldsAChangedTextAgain)
{
    const TextFold fold(FoldUnit);
    FoldedTextCache cache(fold);
    const int note = 0, other = 1;
    EXPECT_FALSE(cache.Find(0, &note, u"bread", cache.FoldQuery(u"milk")));
    EXPECT_TRUE(cache.Find(0, &note, u"bread, MILK", cache.FoldQuery(u"milk")));
    // Another note in the same place of the list (the first was deleted).
    EXPECT_TRUE(cache.Find(0, &other, u"bread, MILK", cache.FoldQuery(u"milk")));
    EXPECT_FALSE(cache.Find(0, &note, u"bread", cache.FoldQuery(u"milk")));
}

TEST(TextFind, RowShowsTheMatch)
{
    // One unit per character, as if every character were as wide.
    const TextWidth characters = [](std::u16string_view text) { return static_cast<int>(text.size()); };
    struct Case {
        const char* label;
        std::u16string text;
        TextMatch match;
        int room;
        std::u16string shown;
    } cases[] = {
        {"a short note, whole", u"short note", {6, 4}, 12, u"short note"},
        {"fits whole in a wide cell, the match inside a word", u"Default style note", {2, 5}, 40,
         u"Default style note"},
        {"a match far out: from the earliest word that lets it show", u"one two three four five six", {19, 4}, 16,
         u"\u2026three four five six"},
        {"the match's own word start", u"aaaaaaaa bbbbbbbbXYZ", {17, 3}, 13, u"\u2026bbbbbbbbXYZ"},
        {"no word start lets it show: from the match", u"0123456789abcdefghij", {15, 1}, 4, u"\u2026fghij"},
        {"never from the second half of a surrogate pair", u"abc \U0001F4B6defgh", {7, 1}, 7,
         u"\u2026\U0001F4B6defgh"},
        {"nothing found: whole", u"0123456789", {}, 3, u"0123456789"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(TextAroundMatch(c.text, c.match, c.room, characters), c.shown);
    }
}

}  // namespace
