// Ctrl+Z's deletes: what is left to take back after a note came back from
// the bin.
#include <gtest/gtest.h>

#include <string>

#include "core/UnicodeText.h"
#include "mainwnd/UndoDeletes.h"
#include "notes/CNoteList.h"

namespace {

// Notes told apart by their text only, as the bin's copies are by their
// stored form.
std::unique_ptr<CNote> NoteOf(const char* text)
{
    auto note = std::make_unique<CNote>(CNote::ForLoading{});
    note->m_strText = Utf16FromUtf8(text);
    note->m_rcWindow = NoteRect{10, 10, 210, 160};
    return note;
}

UndoDeletes::Deleted Kept(const char* text, int index)
{
    return {NoteOf(text), index};
}

// Each Ctrl+Z's notes, steps apart by "/".
std::string UndoAll(UndoDeletes& undo)
{
    CNoteList list;
    std::string out;
    while (undo.CanUndo()) {
        for (const CNote* note : undo.UndoInto(list))
            out += Utf8FromUtf16(note->m_strText);
        out += "/";
    }
    return out;
}

}  // namespace

TEST(UndoDeletes, ANoteBroughtBackFromTheBinIsNotBroughtBackAgain)
{
    struct Case {
        const char* label;
        const char* restored;
        const char* undone;
    } cases[] = {
        {"the newest step's only note: the step goes", "c", "ab/"},
        {"one of an older step's notes", "a", "c/b/"},
        {"a note no step keeps: nothing changes", "z", "c/ab/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        UndoDeletes undo;
        std::vector<UndoDeletes::Deleted> first;
        first.push_back(Kept("a", 0));
        first.push_back(Kept("b", 1));
        undo.Push(std::move(first));
        std::vector<UndoDeletes::Deleted> second;
        second.push_back(Kept("c", 0));
        undo.Push(std::move(second));
        undo.Forget(*NoteOf(c.restored));
        EXPECT_EQ(UndoAll(undo), c.undone);
    }
}
