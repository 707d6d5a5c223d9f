// Note texts outside the ANSI code page: the string form each text is
// stored in, and the conversions the Windows layer relies on.
#include <gtest/gtest.h>

#include "MemoryNoteStore.h"
#include "notes/AnsiCodePage.h"
#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "core/UnicodeText.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Concat(Bytes head, std::initializer_list<Bytes> tail)
{
    for (const auto& part : tail)
        head.insert(head.end(), part.begin(), part.end());
    return head;
}

Bytes Units(const std::u16string& text)
{
    Bytes b;
    for (char16_t c : text) {
        b.push_back(static_cast<uint8_t>(c));
        b.push_back(static_cast<uint8_t>(c >> 8));
    }
    return b;
}

const Bytes kWideMarker = {0xFF, 0xFE, 0xFF};

}  // namespace

TEST(NoteText, EachTextIsStoredInTheFormThatKeepsIt)
{
    const std::u16string greek = u"\u0393\u03B5\u03B9\u03AC \u03C3\u03BF\u03C5";  // Γειά σου
    const std::u16string polish = u"Za\u017C\u00F3\u0142\u0107 \u0141\u0106";     // Zażółć ŁĆ
    const std::u16string emoji = u"ok \U0001F600";
    const std::u16string longGreek(300, u'\u03A9');
    const std::u16string loneSurrogate = u"a\xD800z";
    struct Case {
        const char* label;
        std::u16string text;
        Bytes stored;
    } cases[] = {
        // What the code page holds is written as it always was.
        {"plain ASCII", u"Hi\r\nyou", {7, 'H', 'i', '\r', '\n', 'y', 'o', 'u'}},
        {"Western letters", u"caf\u00E9 \u20AC5", {7, 'c', 'a', 'f', 0xE9, ' ', 0x80, '5'}},
        {"every byte 0x80..0x9F that the code page defines", u"\u20AC\u0081\u2122\u0178", {4, 0x80, 0x81, 0x99, 0x9F}},
        // Anything else keeps every 16-bit unit.
        {"Greek", greek, Concat(kWideMarker, {{8}, Units(greek)})},
        {"Polish, no look-alike letters", polish, Concat(kWideMarker, {{9}, Units(polish)})},
        {"emoji as a surrogate pair", emoji, Concat(kWideMarker, {{5}, Units(emoji)})},
        {"lone surrogate", loneSurrogate, Concat(kWideMarker, {{3}, Units(loneSurrogate)})},
        {"300 units: word length", longGreek, Concat(kWideMarker, {{0xFF, 0x2C, 0x01}, Units(longGreek)})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CArchive out;
        out.WriteString(c.text);
        EXPECT_EQ(out.Buffer(), c.stored);
        CArchive in(c.stored);
        EXPECT_EQ(in.ReadString(), c.text);
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(NoteText, UnicodeNotesSurviveLoadAndSaveUnchanged)
{
    // A file as another writer might leave it: one ANSI text with a byte
    // above 0x7F, one UTF-16 text.
    CNoteList source;
    for (const char16_t* text : {u"\u00C5ngstr\u00F6m", u"\u0393\u03B5\u03B9\u03AC \U0001F600", u""}) {
        auto note = std::make_unique<CNote>();
        note->m_strText = text;
        note->m_strSoundFile = u"C:\\\u0397\u03C7\u03BF\u03B9\\bell.wav";
        source.Add(note);
    }
    const Bytes file = source.StoreToBytes();

    MemoryNoteStore store;
    store.files["notes.dat"] = file;
    CNoteList list;
    list.SetFileStore(&store);
    ASSERT_TRUE(list.Load("notes.dat"));
    ASSERT_EQ(list.m_nCount, 3);
    EXPECT_EQ(list.GetAt(0)->m_strText, u"\u00C5ngstr\u00F6m");
    EXPECT_EQ(list.GetAt(1)->m_strText, u"\u0393\u03B5\u03B9\u03AC \U0001F600");
    EXPECT_EQ(list.GetAt(2)->m_strSoundFile, u"C:\\\u0397\u03C7\u03BF\u03B9\\bell.wav");
    list.m_bModified = 1;
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(store.files["notes.dat"], file);
}

TEST(NoteText, Utf8AndUtf16FormsConvertBothWays)
{
    struct Case {
        const char* label;
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"ASCII", "notes.dat", u"notes.dat"},
        {"two-byte", "\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},
        {"three-byte", "\xCE\x93\xE2\x82\xAC", u"\u0393\u20AC"},
        {"four-byte", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"lone surrogate keeps its unit", "\xED\xA0\x80", u"\xD800"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Utf8FromUtf16(c.utf16), c.utf8);
        EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16);
    }
    // Bytes that are not UTF-8 read as replacement characters, never as
    // anything past the end.
    struct Broken {
        const char* label;
        std::string bytes;
        std::u16string text;
    } broken[] = {
        {"cut sequence", "a\xE2\x82", u"a\uFFFD\uFFFD"},
        {"stray continuation", "\x80z", u"\uFFFDz"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& c : broken) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Utf16FromUtf8(c.bytes), c.text);
    }
}
