// Character formats through the merge, and as read from pasted or saved rich
// text. (The file, the bin, the backups and the merge carry them in
// NoteIdentityTest's table of trailer fields; damaged forms of their section
// are in NotesTrailerTest's table.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RunsText.h"
#include "core/UnicodeText.h"
#include "notes/CNoteList.h"
#include "notes/ControlPositions.h"
#include "notes/NoteFormatsSection.h"
#include "notes/NotesMerge.h"
#include "notes/RtfRunReader.h"

namespace {

CNote* AddNote(CNoteList& list, const char16_t* text, TextFormatRuns runs, uint64_t id = 0)
{
    auto note = std::make_unique<CNote>();
    note->m_strText = text;
    note->m_formats = std::move(runs);
    if (id)
        note->m_identity = {{0, id}, 0, 10, {}};
    CNote* raw = note.get();
    list.Add(note);
    return raw;
}

}  // namespace

TEST(NoteFormats, AFormatChangeMergesLikeATextChange)
{
    const TextFormatRuns bold = {{0, 2, kFormatBold}}, italic = {{0, 2, kFormatItalic}};
    struct Row {
        const char* label;
        TextFormatRuns local, remote;
        std::string merged;  // the note's runs after the merge
        bool bothKept;
    } rows[] = {
        {"made bold over there only: taken", {}, bold, RunsText(bold), false},
        {"made bold here only: kept", bold, {}, RunsText(bold), false},
        {"bold here, italic over there: both versions", bold, italic, RunsText(bold), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CNoteList base, local, remote;
        AddNote(base, u"ab", {}, 1);
        AddNote(local, u"ab", row.local, 1)->m_identity.changedUtc = row.local.empty() ? 10 : 20;
        AddNote(remote, u"ab", row.remote, 1)->m_identity.changedUtc = row.remote.empty() ? 10 : 30;
        const NotesMergePlan plan = PlanNotesMerge(base, local, remote);
        const CNote* merged = local.GetAt(0);
        for (const auto& [pos, from] : plan.update)
            merged = from;
        EXPECT_EQ(RunsText(merged->m_formats), row.merged);
        EXPECT_EQ(plan.keepBoth.size(), row.bothKept ? 1u : 0u);
    }
}

TEST(NoteFormats, RichTextIsReadDownToTextAndTheFourFormats)
{
    struct Row {
        const char* label;
        const char* rtf;
        const char* text;
        std::string runs;
        uint8_t plain = 0;
    } rows[] = {
        {"bold, italic, underline and strike-through, each ended its own way",
         R"({\rtf1 a\b b\b0 \i c\i0\ul d\ulnone\strike e\strike0 f})", "abcdef", "1+1:1 2+1:2 3+1:4 4+1:8 "},
        {"a group ends its formats; \\plain ends all", R"({\rtf1 {\b\i xy}z\b w\plain v})", "xyzwv", "0+2:3 3+1:1 "},
        {"fonts, colours, sizes and a picture are left out",
         R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;}\f0\fs48\cf1 Big{\pict\pngblip 89504e47}!})",
         "Big!", ""},
        {"an embedded object and an optional destination leave nothing",
         R"({\rtf1 a{\object\objemb{\*\objdata 0102}{\result b}}{\*\generator x;}c})", "ac", ""},
        {"a link's shown text stays, its address does not",
         R"({\rtf1 {\field{\*\fldinst HYPERLINK "file:///c:/x.exe"}{\fldrslt here}}})", "here", ""},
        {"paragraphs and lines become CR LF, cells tabs", R"({\rtf1 a\par b\line c\cell d\row})",
         "a\r\nb\r\nc\td\r\n", ""},
        {"code page bytes, escapes and \\u with its fallback",
         R"({\rtf1\uc1 caf\'e9 \{\}\\ \u9744?\u-3913? x})", "café {}\\ ☐\uF0B7 x", ""},
        {"underline kinds and a bold that runs across a line", R"({\rtf1\uldb a\ulnone\b b\par c})", "ab\r\nc",
         "0+1:4 1+4:1 "},
        {"cut off inside a group and a control word", R"({\rtf1 a{\b b\stri)", "ab", "1+1:1 "},
        {"unbalanced closing groups", R"(}}{\rtf1 a}}b)", "ab", ""},
        {"a note whose font is bold: runs where the text is not", R"({\rtf1\b a\b0 b\i\b c})", "abc",
         "1+1:0 2+1:3 ", kFormatBold},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const RtfRunReader::Result read = RtfRunReader::Read(row.rtf, row.plain);
        EXPECT_EQ(Utf8FromUtf16(read.text), row.text);
        EXPECT_EQ(RunsText(read.runs), row.runs);
        EXPECT_TRUE(NoteFormatsSection::Fits(read.runs, read.text.size()));
    }
}

TEST(NoteFormats, TextAndControlPositionsMeetAtEveryCharacter)
{
    struct Row {
        const char* label;
        std::u16string_view text;
        std::vector<uint32_t> control;  // of each text position that is not the LF of a CR LF
    } rows[] = {
        {"no breaks", u"abc", {0, 1, 2, 3}},
        {"CR LF in the middle", u"a\r\nb", {0, 1, 2, 3}},
        {"breaks at both ends and one after another", u"\r\n\r\nx\r\n", {0, 1, 2, 3, 4}},
        {"lone CR and LF count as the text has them", u"a\rb\nc", {0, 1, 2, 3, 4, 5}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const ControlPositions positions(row.text);
        std::vector<uint32_t> control;
        for (uint32_t i = 0; i <= row.text.size(); ++i) {
            if (i > 0 && i < row.text.size() && row.text[i] == u'\n' && row.text[i - 1] == u'\r')
                continue;
            control.push_back(positions.ToControl(i));
            EXPECT_EQ(positions.ToText(positions.ToControl(i)), i);
        }
        EXPECT_EQ(control, row.control);
    }
    EXPECT_EQ(ControlPositions::WithCrLf(u"a\rb\nc\r\nd\n\r"), u"a\r\nb\r\nc\r\nd\r\n\r\n");
}
