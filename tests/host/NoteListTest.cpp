// The note list: places, insertion order, limits, and new notes' defaults.
#include <gtest/gtest.h>

#include "notes/Archive.h"
#include "notes/CNoteList.h"
#include "notes/RuntimeRand.h"
#include "core/UnicodeText.h"

namespace {

std::unique_ptr<CNote> NoteWithText(const std::string& text)
{
    auto note = std::make_unique<CNote>();
    note->m_strText = Utf16FromUtf8(text);
    return note;
}

std::string Texts(const CNoteList& list)
{
    std::string out;
    for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        out += Utf8FromUtf16(list.GetAt(p)->m_strText);
    return out;
}

}  // namespace

TEST(NoteList, AddPlacesNotesByIndex)
{
    struct Case {
        const char* label;
        int index;
        const char* order;
    } cases[] = {
        {"-1 appends", -1, "abX"},
        {"count appends", 2, "abX"},
        {"beyond count appends", 7, "abX"},
        {"0 goes first", 0, "Xab"},
        {"1 goes between", 1, "aXb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CNoteList list;
        list.Add(NoteWithText("a"));
        list.Add(NoteWithText("b"));
        list.m_bModified = 0;
        NotePos pos = list.Add(NoteWithText("X"), c.index);
        EXPECT_EQ(Texts(list), c.order);
        EXPECT_EQ(list.m_nCount, 3);
        EXPECT_EQ(list.m_bModified, 1u);
        ASSERT_NE(pos, nullptr);
        EXPECT_EQ(list.GetAt(pos)->m_strText, u"X");
        EXPECT_EQ(list.GetAt(pos)->m_pos, pos);
    }
}

TEST(NoteList, PlacesSurviveOtherInsertionsAndRemovals)
{
    CNoteList list;
    NotePos a = list.Add(NoteWithText("a"));
    NotePos b = list.Add(NoteWithText("b"));
    NotePos c = list.Add(NoteWithText("c"));
    list.Add(NoteWithText("0"), 0);
    list.Remove(b);
    EXPECT_EQ(Texts(list), "0ac");
    EXPECT_EQ(list.GetAt(a)->m_strText, u"a");
    EXPECT_EQ(list.GetAt(c)->m_strText, u"c");
    NotePos found = nullptr;
    EXPECT_EQ(list.GetAt(2, &found)->m_strText, u"c");
    EXPECT_EQ(found, c);
    EXPECT_EQ(list.GetAt(3), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);

    list.m_bModified = 0;
    list.Remove(list.GetHeadPosition());
    list.Remove(c);
    list.Remove(a);
    EXPECT_EQ(list.m_nCount, 0);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.m_bModified, 1u);
    NotePos again = list.Add(NoteWithText("z"));
    EXPECT_EQ(list.GetHeadPosition(), again);
}

TEST(NoteList, RefusesNotesBeyondTheSignedCount)
{
    CNoteList list;
    for (int i = 0; i < CNoteList::kMaxNotes; ++i)
        ASSERT_NE(list.Add(std::make_unique<CNote>()), nullptr);
    EXPECT_EQ(list.m_nCount, 32767);
    auto extra = std::make_unique<CNote>();
    EXPECT_EQ(list.Add(extra), nullptr);
    EXPECT_NE(extra, nullptr) << "a refused note stays with the caller";
    EXPECT_EQ(list.m_nCount, 32767);

    // The full list survives a store and load.
    CNoteList again;
    CArchive out;
    list.Serialize(out);
    CArchive in(out.Buffer());
    again.Serialize(in);
    EXPECT_EQ(again.m_nCount, 32767);
}

TEST(NoteRecord, DefaultsOfANewNote)
{
    CNote note;
    EXPECT_EQ(note.m_bSchedDisabled, 1);
    EXPECT_EQ(note.m_bSchedNew, 1);
    EXPECT_EQ(note.m_bVisible, 1);
    EXPECT_EQ(note.m_bOnTop, 0);
    EXPECT_EQ(note.m_crBack, 0x0080FFFFu);
    EXPECT_EQ(note.m_crText, 0u);
    EXPECT_EQ(note.m_strText, u"(Your text goes here)");
    EXPECT_EQ(note.m_logFont.lfHeight, -16);
    EXPECT_EQ(note.m_logFont.lfWeight, 0);
    EXPECT_EQ(note.m_logFont.lfCharSet, 1);
    EXPECT_EQ(note.m_logFont.FaceName(), "Arial");
    EXPECT_EQ(note.m_rcWindow.Width(), 200);
    EXPECT_EQ(note.m_rcWindow.Height(), 150);
    EXPECT_EQ(note.m_pWnd, nullptr);
    EXPECT_EQ(note.m_bInSchedDialog, 0u);

    struct Case {
        int dpi;
        int height;
    } fonts[] = {{96, -16}, {120, -20}, {144, -24}, {72, -12}, {100, -16}};
    for (const auto& c : fonts) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(DefaultNoteFont(c.dpi).lfHeight, c.height);
    }
}

TEST(NoteRecord, DefaultPlacesFollowTheUnseededRuntimeSequence)
{
    // The Windows runtime's rand() from a fresh process: 41, 18467, 6334,
    // 26500, 19169, 15724, ...
    RuntimeRand::Reset();
    const NoteRect expected[] = {
        {41, 467, 241, 617}, {334, 0, 534, 150}, {169, 224, 369, 374},
    };
    for (const auto& rect : expected) {
        CNote note;
        EXPECT_EQ(note.m_rcWindow, rect);
    }
    // Loading constructs notes too, and each takes its two draws.
    RuntimeRand::Reset();
    CNoteList list;
    list.Add(std::make_unique<CNote>());
    CArchive out;
    list.Serialize(out);
    CArchive in(out.Buffer());
    CNoteList loaded;
    loaded.Serialize(in);
    CNote next;
    EXPECT_EQ(next.m_rcWindow, expected[2]);
}

TEST(NoteRecord, StoredAndReadBackEqualInEveryStoredField)
{
    CNote source;
    source.m_strSoundFile = u"C:\\chime.wav";
    source.m_recur[49] = 0x7F;
    source.m_logFont.lfFaceName[20] = 'x';  // bytes after the NUL travel too
    CArchive out;
    source.Serialize(out);
    CNote copy;
    CArchive in(out.Buffer());
    copy.Serialize(in);
    CArchive again;
    copy.Serialize(again);
    EXPECT_EQ(again.Buffer(), out.Buffer());
    EXPECT_EQ(copy.m_logFont, source.m_logFont);
    EXPECT_EQ(copy.m_rcWindow, source.m_rcWindow);
    EXPECT_EQ(copy.m_pWnd, nullptr);
    EXPECT_EQ(copy.m_pos, nullptr);
}
