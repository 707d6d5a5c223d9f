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
    EXPECT_EQ(TextAroundMatch(u"short note", 6, 12), u"short note");
    EXPECT_EQ(TextAroundMatch(u"0123456789abcdefghij", 15, 4), u"\u2026bcdefghij");
    // Never from the second half of a surrogate pair.
    EXPECT_EQ(TextAroundMatch(u"abc\U0001F4B6defgh", 6, 2), u"\u2026\U0001F4B6defgh");
}

}  // namespace
