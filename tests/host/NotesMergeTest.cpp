// Merging this copy's notes with a notes file another copy changed: nothing
// added on either side and deleted on neither is lost; a note changed over
// there takes its new form in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "notes/CNoteList.h"
#include "notes/NotesMerge.h"
#include "core/UnicodeText.h"

namespace {

// "text@x": a note with that text at that place.
void Fill(CNoteList& list, const std::vector<std::string>& notes)
{
    for (const std::string& written : notes) {
        const size_t at = written.find('@');
        auto note = std::make_unique<CNote>();
        note->m_strText = Utf16FromUtf8(written.substr(0, at));
        const int x = std::stoi(written.substr(at + 1));
        note->m_rcWindow = NoteRect{x, 0, x + 200, 150};
        list.Add(note);
    }
}

std::string Written(const CNote& note)
{
    return Utf8FromUtf16(note.m_strText) + "@" + std::to_string(note.m_rcWindow.left);
}

// The local list after the plan, as the main window applies it.
std::string Apply(CNoteList& local, const NotesMergePlan& plan)
{
    for (NotePos pos : plan.remove)
        local.Remove(pos);
    for (const auto& [pos, from] : plan.update) {
        local.GetAt(pos)->m_strText = from->m_strText;
        local.GetAt(pos)->m_rcWindow = from->m_rcWindow;
    }
    for (const CNote* from : plan.add)
        local.Add(from->Clone());
    std::vector<std::string> written;
    for (NotePos p = local.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        written.push_back(Written(*local.GetAt(p)));
    std::ostringstream out;
    for (const std::string& s : written)
        out << s << " ";
    return out.str();
}

}  // namespace

TEST(NotesMerge, NothingEitherSideKeptIsLost)
{
    struct Case {
        const char* label;
        std::vector<std::string> base, local, remote;
        std::string merged;  // local list order after the merge
        size_t updates;
    } cases[] = {
        {"nothing changed", {"a@1", "b@2"}, {"a@1", "b@2"}, {"a@1", "b@2"}, "a@1 b@2 ", 0},
        {"added over there", {"a@1"}, {"a@1"}, {"a@1", "n@9"}, "a@1 n@9 ", 0},
        {"deleted over there", {"a@1", "b@2"}, {"a@1", "b@2"}, {"b@2"}, "b@2 ", 0},
        {"text changed over there: in place", {"a@1", "b@2"}, {"a@1", "b@2"}, {"A@1", "b@2"}, "A@1 b@2 ", 1},
        {"moved over there: in place", {"a@1", "b@2"}, {"a@1", "b@2"}, {"a@5", "b@2"}, "a@5 b@2 ", 1},
        {"added on both sides", {"a@1"}, {"a@1", "x@7"}, {"a@1", "y@8"}, "a@1 x@7 y@8 ", 0},
        {"the same note added on both sides comes once", {"a@1"}, {"a@1", "x@7"}, {"a@1", "x@7"}, "a@1 x@7 ", 0},
        {"deleted here, changed over there: the change stays", {"a@1"}, {}, {"A@1"}, "A@1 ", 0},
        {"changed here, deleted over there: the change stays", {"a@1"}, {"A@1"}, {}, "A@1 ", 0},
        {"changed on both sides: both versions", {"a@1"}, {"L@1"}, {"R@1"}, "L@1 R@1 ", 0},
        {"deleted on both sides", {"a@1", "b@2"}, {"b@2"}, {"b@2"}, "b@2 ", 0},
        {"two equal notes, one deleted over there", {"a@1", "a@1"}, {"a@1", "a@1"}, {"a@1"}, "a@1 ", 0},
        {"a file from elsewhere, nothing shared", {"a@1"}, {"a@1", "x@7"}, {"p@3", "q@4"}, "x@7 p@3 q@4 ", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CNoteList base, local, remote;
        Fill(base, c.base);
        Fill(local, c.local);
        Fill(remote, c.remote);
        const NotesMergePlan plan = PlanNotesMerge(base, local, remote);
        EXPECT_EQ(plan.update.size(), c.updates);
        EXPECT_EQ(Apply(local, plan), c.merged);
    }
}
