// Merging this copy's notes with a notes file another copy changed: nothing
// added on either side and deleted on neither is lost; a note changed over
// there takes its new form in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "MergeTestNotes.h"
#include "notes/CNoteList.h"
#include "notes/NoteIdTable.h"
#include "notes/NotesMerge.h"
#include "core/UnicodeText.h"

namespace {

using mergetest::Written;

// "id:text@x" and any of ",c<paper>", ",s<schedule kind>", ",t<changed at>",
// ",b<changed by>", ",o<based on, at>", ",y<based on, by>": a note with that id, text, place, look, schedule and
// change stamp. "text@x" alone: a note without an id, as a reader of the
// plain format writes it.
void FillWithIds(CNoteList& list, const std::vector<std::string>& notes)
{
    for (const std::string& written : notes) {
        std::istringstream in(written);
        std::string head, extra;
        std::getline(in, head, ',');
        auto note = std::make_unique<CNote>();
        // One moment for every list: what differs is what the row says.
        note->m_tStartTime = note->m_tStartDate = note->m_tEndDate = note->m_tLastShown = 0;
        const size_t colon = head.find(':'), at = head.find('@');
        const size_t textStart = colon == std::string::npos ? 0 : colon + 1;
        note->m_identity = {};
        note->m_identity.id.lo = colon == std::string::npos ? 0 : std::stoull(head.substr(0, colon));
        note->m_strText = Utf16FromUtf8(head.substr(textStart, at - textStart));
        const int x = std::stoi(head.substr(at + 1));
        note->m_rcWindow = NoteRect{x, 0, x + 200, 150};
        while (std::getline(in, extra, ',')) {
            const auto value = std::stoll(extra.substr(1));
            if (extra[0] == 'c')
                note->m_crBack = static_cast<ColorRef>(value);
            else if (extra[0] == 's')
                note->m_nSchedKind = static_cast<uint32_t>(value);
            else if (extra[0] == 't')
                note->m_identity.changedUtc = value;
            else if (extra[0] == 'b')
                note->m_identity.changedBy.lo = static_cast<uint64_t>(value);
            else if (extra[0] == 'o')
                note->m_identity.basedOnUtc = value;
            else if (extra[0] == 'y')
                note->m_identity.basedOnBy.lo = static_cast<uint64_t>(value);
        }
        list.Add(note);
    }
}

std::string WrittenWithId(const CNote& note)
{
    std::string out = Written(note);
    if (!note.m_identity.id.IsNull())
        out = std::to_string(note.m_identity.id.lo) + ":" + out;
    if (note.m_crBack != kDefaultPaperColor)
        out += ",c" + std::to_string(note.m_crBack);
    if (note.m_nSchedKind)
        out += ",s" + std::to_string(note.m_nSchedKind);
    return out;
}

// The local list after the plan, as NotesSync applies it; the other side's
// version of a note comes as "new:" beside the original (named by its id,
// else by what it holds); "rewrite" when the file is to be written again.
std::string ApplyWithIds(CNoteList& local, const NotesMergePlan& plan)
{
    std::vector<std::string> beside;
    for (const auto& [pos, theirs] : plan.keepBoth)
        beside.push_back(local.GetAt(pos)->m_identity.id.IsNull() ? Written(*local.GetAt(pos))
                                                                   : std::to_string(local.GetAt(pos)->m_identity.id.lo));
    for (NotePos pos : plan.remove)
        local.Remove(pos);
    for (const auto& [pos, from] : plan.update) {
        CNote* note = local.GetAt(pos);
        note->m_strText = from->m_strText;
        note->m_rcWindow = from->m_rcWindow;
        note->m_crBack = from->m_crBack;
        note->m_nSchedKind = from->m_nSchedKind;
        if (note->m_identity.id == from->m_identity.id)
            note->m_identity = from->m_identity;
    }
    for (const CNote* from : plan.add)
        local.Add(from->Clone());
    for (NotePos pos : plan.sameAsOriginal)
        local.Remove(pos);
    std::string out;
    for (NotePos p = local.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        out += WrittenWithId(*local.GetAt(p)) + " ";
    for (size_t i = 0; i < plan.keepBoth.size(); ++i)
        out += "new:" + Written(*plan.keepBoth[i].second) + " beside " + beside[i] + " ";
    return plan.rewrite ? out + "rewrite" : out;
}

}  // namespace

// Rows without ids ("a@1") are paired by content, as files of older
// versions are; rows with ids ("1:a@1") by id, each field group on its own.
TEST(NotesMerge, NothingEitherSideKeptIsLostAndEachFieldGroupMergesOnItsOwn)
{
    struct Case {
        const char* label;
        std::vector<std::string> base, local, remote;
        std::string merged;  // local list order after the merge
        int updates = -1;    // -1: not counted
        std::vector<std::string> binned = {};  // deleted notes the bins hold
    } cases[] = {
        // Without ids.
        {"nothing changed", {"a@1", "b@2"}, {"a@1", "b@2"}, {"a@1", "b@2"}, "a@1 b@2 ", 0},
        {"added over there", {"a@1"}, {"a@1"}, {"a@1", "n@9"}, "a@1 n@9 ", 0},
        {"deleted over there", {"a@1", "b@2"}, {"a@1", "b@2"}, {"b@2"}, "b@2 ", 0},
        {"text changed over there: in place", {"a@1", "b@2"}, {"a@1", "b@2"}, {"A@1", "b@2"}, "A@1 b@2 ", 1},
        {"moved over there: in place", {"a@1", "b@2"}, {"a@1", "b@2"}, {"a@5", "b@2"}, "a@5 b@2 ", 1},
        {"added on both sides", {"a@1"}, {"a@1", "x@7"}, {"a@1", "y@8"}, "a@1 x@7 y@8 ", 0},
        {"the same note added on both sides comes once", {"a@1"}, {"a@1", "x@7"}, {"a@1", "x@7"}, "a@1 x@7 ", 0},
        {"deleted here, changed over there: the change stays", {"a@1"}, {}, {"A@1"}, "A@1 ", 0},
        {"changed here, deleted over there: the change stays", {"a@1"}, {"A@1"}, {}, "A@1 ", 0},
        {"changed on both sides: both versions", {"a@1"}, {"L@1"}, {"R@1"}, "L@1 new:R@1 beside L@1 ", 0},
        {"deleted on both sides", {"a@1", "b@2"}, {"b@2"}, {"b@2"}, "b@2 ", 0},
        {"two equal notes, one deleted over there", {"a@1", "a@1"}, {"a@1", "a@1"}, {"a@1"}, "a@1 ", 0},
        {"a file from elsewhere, nothing shared", {"a@1"}, {"a@1", "x@7"}, {"p@3", "q@4"}, "x@7 p@3 q@4 ", 0},
        // By id.
        {"typed over there: in place", {"1:a@1,t10"}, {"1:a@1,t10"}, {"1:A@1,t20"}, "1:A@1 "},
        {"moved here, typed over there: both changes, no copy", {"1:a@1,t10"}, {"1:a@5,t20"}, {"1:A@1,t20"},
         "1:A@5 "},
        {"typed on both to one text: that text", {"1:a@1,t10"}, {"1:X@1,t20"}, {"1:X@1,t30"}, "1:X@1 "},
        {"typed on both differently: ours stays, theirs beside it", {"1:a@1,t10"}, {"1:L@1,t20"}, {"1:R@1,t30"},
         "1:L@1 new:R@1 beside 1 "},
        {"typed on both, moved over there: the move comes, the text twice", {"1:a@1,t10"}, {"1:L@1,t20"},
         {"1:R@7,t30"}, "1:L@7 new:R@7 beside 1 "},
        {"moved on both: the later move, theirs", {"1:a@1,t10"}, {"1:a@5,t20"}, {"1:a@9,t30"}, "1:a@9 "},
        {"moved on both: the later move, ours", {"1:a@1,t10"}, {"1:a@5,t40"}, {"1:a@9,t30"}, "1:a@5 "},
        {"paper changed over there", {"1:a@1,t10"}, {"1:a@1,t10"}, {"1:a@1,c5,t20"}, "1:a@1,c5 "},
        {"paper on both: the later", {"1:a@1,t10"}, {"1:a@1,c4,t40"}, {"1:a@1,c5,t20"}, "1:a@1,c4 "},
        {"schedule over there, paper here", {"1:a@1,t10"}, {"1:a@1,c4,t20"}, {"1:a@1,s2,t20"}, "1:a@1,c4,s2 "},
        {"deleted over there, unchanged here: gone", {"1:a@1", "2:b@2"}, {"1:a@1", "2:b@2"}, {"2:b@2"}, "2:b@2 ",
         -1, {"1:a@1"}},
        {"deleted over there, typed here: kept", {"1:a@1,t10", "2:b@2"}, {"1:A@1,t20", "2:b@2"}, {"2:b@2"},
         "1:A@1 2:b@2 ", -1, {"1:a@1,t10"}},
        // A sync client kept the other computer's file, which never had it.
        {"missing over there, no bin holds it: stays, and goes back into the file", {"1:a@1", "2:b@2"},
         {"1:a@1", "2:b@2"}, {"2:b@2"}, "1:a@1 2:b@2 rewrite"},
        {"deleted here, unchanged over there: stays gone", {"1:a@1", "2:b@2"}, {"2:b@2"}, {"1:a@1", "2:b@2"},
         "2:b@2 "},
        {"deleted here, the other side not told yet: stays gone, the file is written again", {"2:b@2"}, {"2:b@2"},
         {"1:a@1", "2:b@2"}, "2:b@2 rewrite", -1, {"1:a@1"}},
        {"deleted here, changed over there since: back", {"2:b@2"}, {"2:b@2"}, {"1:a@6,t20", "2:b@2"},
         "2:b@2 1:a@6 ", -1, {"1:a@1"}},
        {"deleted here, moved over there: back with the move", {"1:a@1,t10", "2:b@2"}, {"2:b@2"},
         {"1:a@6,t20", "2:b@2"}, "2:b@2 1:a@6 "},
        {"added over there: comes once", {"1:a@1"}, {"1:a@1"}, {"1:a@1", "2:n@9"}, "1:a@1 2:n@9 "},
        {"one text added on both: two notes", {"1:a@1"}, {"1:a@1", "2:x@7"}, {"1:a@1", "3:x@7"},
         "1:a@1 2:x@7 3:x@7 "},
        {"an older version put back over there: no undo, ours go back", {"1:a@1,t30", "2:b@2,t30"}, {"1:a@1,t30", "2:b@2,t30"},
         {"1:old@1,t10", "2:b@2,t30"}, "1:a@1 2:b@2 rewrite"},
        {"an older version of a note typed in here since: ours stays", {"1:a@1,t30"}, {"1:A@1,t40"},
         {"1:old@1,t10"}, "1:A@1 rewrite"},
        {"an older file put back: its missing notes stay and go back", {"1:a@1,t30", "2:b@2,t30"},
         {"1:a@1,t30", "2:b@2,t30"}, {"1:old@1,t10"}, "1:a@1 2:b@2 rewrite", -1, {"2:b@2,t30"}},
        // No base (a conflict copy): one installation's versions in order.
        {"no base, our own earlier version: no version beside", {}, {"1:A@1,t40,b7"}, {"1:old@3,t10,b7"},
         "1:A@1 "},
        {"no base, our own later version: it wins whole", {}, {"1:old@3,t10,b7"}, {"1:A@1,t40,b7"}, "1:A@1 "},
        {"no base, another computer's text: both versions", {}, {"1:L@1,t40,b7"}, {"1:R@1,t10,b8"},
         "1:L@1 new:R@1 beside 1 "},
        {"no base, the version ours was typed on top of: no version beside", {}, {"1:B@1,t40,b8,o10,y7"},
         {"1:a@3,t10,b7"}, "1:B@1 "},
        {"no base, one before the version ours was typed on: no version beside", {}, {"1:B@1,t40,b8,o10,y7"},
         {"1:a@3,t5,b7"}, "1:B@1 "},
        {"no base, a change over there after the one ours was typed on: both", {}, {"1:B@1,t40,b8,o10,y7"},
         {"1:R@1,t20,b7"}, "1:B@1 new:R@1 beside 1 "},
        {"ids lost on the way: paired by content, no copies", {"1:a@1", "2:b@2"}, {"1:a@1", "2:b@2"},
         {"8:a@1", "9:B@2"}, "1:a@1 2:B@2 "},
        {"ids lost, typed on both: theirs comes as a version beside ours", {"1:a@1", "2:b@2"},
         {"1:L@1", "2:b@2"}, {"8:R@1", "9:b@2"}, "1:L@1 2:b@2 new:R@1 beside 1 "},
        {"a file without ids: paired by content, its new note comes", {"1:a@1", "2:b@2"}, {"1:a@1", "2:b@2"},
         {"a@1", "n@9"}, "1:a@1 n@9 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CNoteList base, local, remote, bin;
        FillWithIds(base, c.base);
        FillWithIds(local, c.local);
        FillWithIds(remote, c.remote);
        FillWithIds(bin, c.binned);
        NoteIdTable binned;
        for (NotePos p = bin.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            binned.Insert(bin.GetAt(p)->m_identity.id, StoredFingerprint(*bin.GetAt(p)));
        const NotesMergePlan plan = PlanNotesMerge(base, local, remote, &binned);
        if (c.updates >= 0) {
            EXPECT_EQ(plan.update.size(), static_cast<size_t>(c.updates));
        }
        EXPECT_EQ(ApplyWithIds(local, plan), c.merged);
    }
}

// A clash the other computer met first, whose base this side lost (a file
// that came back unreadable, and the other computer's file as a sync
// client's conflict copy): that file holds our text as a version beside
// its own. Kept both once more, one text would end in two notes.
TEST(NotesMerge, AClashTheOtherSideKeptBothOfIsKeptBothOnce)
{
    struct Case {
        const char* label;
        std::vector<std::string> base, local, remote;
        bool remoteHoldsOurs, localHoldsTheirs;  // the version beside, under its id
        const char* text;                        // the original note's after the merge
        size_t keptBoth;
    } cases[] = {
        {"no base: theirs in place, ours is the version there", {}, {"1:L@1,t40,b8"}, {"1:R@1,t41,b7"}, true,
         false, "R", 0},
        {"with a base: the same", {"1:a@1,t10"}, {"1:L@1,t40,b8"}, {"1:R@1,t41,b7"}, true, false, "R", 0},
        {"ours typed on since that version: a clash of its own", {}, {"1:L@1,t40,b8"}, {"1:R@1,t41,b7"}, false,
         false, "L", 1},
        {"each kept the other's beside: the later text keeps the note", {}, {"1:L@1,t40,b8"}, {"1:R@1,t41,b7"},
         true, true, "R", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CNoteList base, local, remote;
        FillWithIds(base, c.base);
        FillWithIds(local, c.local);
        FillWithIds(remote, c.remote);
        const CNote& ours = *local.GetAt(local.GetHeadPosition());
        const CNote& theirs = *remote.GetAt(remote.GetHeadPosition());
        // "Typed on since": the version over there holds an earlier text.
        std::unique_ptr<CNote> oursThere = ours.Clone();
        if (!c.remoteHoldsOurs)
            oursThere->m_strText = u"earlier";
        oursThere->m_identity.id = VersionIdOf(ours.m_identity.id, *oursThere);
        oursThere->m_rcWindow = NoteRect{300, 0, 500, 150};
        std::unique_ptr<CNote> theirsHere = theirs.Clone();
        theirsHere->m_identity.id = VersionIdOf(theirs.m_identity.id, theirs);
        theirsHere->m_rcWindow = NoteRect{300, 0, 500, 150};
        remote.Add(oursThere);
        if (c.localHoldsTheirs)
            local.Add(theirsHere);
        const NotesMergePlan plan = PlanNotesMerge(base, local, remote);
        EXPECT_EQ(plan.keepBoth.size(), c.keptBoth);
        ApplyWithIds(local, plan);
        EXPECT_EQ(Utf8FromUtf16(local.GetAt(local.GetHeadPosition())->m_strText), c.text);
    }
}

// One clash met on both computers at once: each kept its own text in the
// note and put the other's beside it, under the version's id. Whichever
// side merges first, and whatever base it has, both end with the same
// notes: the note holds one text, the version the other, each text once.
TEST(NotesMerge, OneClashBothMetAtOnceEndsTheSameOnBoth)
{
    struct Case {
        const char* label;
        std::vector<std::string> base;  // what both read before the clash
        const char *a, *b;              // the note on each computer
        const char* text;               // the note's after the merges
    } cases[] = {
        {"A typed later: A's text", {}, "1:L@1,t40,b8", "1:R@1,t30,b7", "L"},
        {"B typed later: B's text", {}, "1:L@1,t30,b8", "1:R@1,t40,b7", "R"},
        {"with the base both read", {"1:a@1,t10"}, "1:L@1,t30,b8", "1:R@1,t40,b7", "R"},
        {"in the same second: one text on both", {"1:a@1,t10"}, "1:L@1,t40,b8", "1:R@1,t40,b7", nullptr},
    };
    // Each side's list: its note, the other's version beside it.
    const auto sideOf = [](const char* mine, const char* theirs, CNoteList& list) {
        CNoteList other;
        FillWithIds(list, {mine});
        FillWithIds(other, {theirs});
        std::unique_ptr<CNote> version = other.GetAt(other.GetHeadPosition())->Clone();
        version->m_identity.id = VersionIdOf(version->m_identity.id, *version);
        version->m_rcWindow = NoteRect{300, 0, 500, 150};
        list.Add(version);
    };
    const auto merged = [](const CNoteList& base, CNoteList& local, const CNoteList& remote) {
        ApplyWithIds(local, PlanNotesMerge(base, local, remote));
        std::set<std::pair<uint64_t, std::string>> notes;
        for (NotePos p = local.GetHeadPosition(); p; p = CNoteList::GetNext(p))
            notes.insert({local.GetAt(p)->m_identity.id.lo, Utf8FromUtf16(local.GetAt(p)->m_strText)});
        return notes;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CNoteList base, a, b, aFile, bFile;
        FillWithIds(base, c.base);
        sideOf(c.a, c.b, a);
        sideOf(c.b, c.a, b);
        sideOf(c.a, c.b, aFile);
        sideOf(c.b, c.a, bFile);
        const auto onA = merged(base, a, bFile);
        const auto onB = merged(base, b, aFile);
        EXPECT_EQ(onA, onB);
        ASSERT_EQ(onA.size(), 2u) << "each text once";
        EXPECT_NE(onA.begin()->second, std::next(onA.begin())->second);
        const std::string text = Utf8FromUtf16(a.GetAt(a.GetHeadPosition())->m_strText);
        if (c.text) {
            EXPECT_EQ(text, c.text);
        }
        // B, its own file as its base, then reads what A wrote: the same.
        CNoteList bAgain, bBase;
        sideOf(c.b, c.a, bAgain);
        sideOf(c.b, c.a, bBase);
        EXPECT_EQ(merged(bBase, bAgain, a), onA);
        // And the two results merged again change nothing.
        CNoteList aWritten;
        ASSERT_TRUE(aWritten.LoadFromBytes(a.StoreToBytes()));
        EXPECT_EQ(merged(aWritten, a, b), onA);
    }
}

// Two computers that resolved one clash each made the other text a note of
// its own: with one id on both, the merge by id sees one note.
TEST(NotesMerge, AVersionHasOneIdOnEveryComputer)
{
    CNoteList versions;
    FillWithIds(versions, {"5:R@1,t30,b8", "5:R@9,t30,b8", "5:R@1,t31,b8", "5:R@1,t30,b9", "5:S@1,t30,b8"});
    const NoteId original{3, 4};
    const NoteId same = VersionIdOf(original, *versions.GetAt(0));
    EXPECT_EQ(VersionIdOf(original, *versions.GetAt(1)), same) << "placed elsewhere: still one version";
    std::set<std::pair<uint64_t, uint64_t>> ids{{same.hi, same.lo}};
    for (int i = 2; i < versions.m_nCount; ++i) {
        const NoteId other = VersionIdOf(original, *versions.GetAt(i));
        EXPECT_TRUE(ids.insert({other.hi, other.lo}).second) << "another change, another version: " << i;
    }
    EXPECT_FALSE(VersionIdOf(NoteId{3, 5}, *versions.GetAt(0)) == same) << "another note's version";
}

TEST(NotesMerge, TheOtherVersionIsPlacedWhereBothAreSeen)
{
    const NoteRect screen{0, 0, 1280, 1000};
    struct Case {
        const char* label;
        NoteRect original, workArea, placed;
    } cases[] = {
        {"room on the right", {100, 100, 300, 250}, screen, {308, 100, 508, 250}},
        {"at the right edge: on the left", {1000, 100, 1200, 250}, screen, {792, 100, 992, 250}},
        {"as wide as the screen: below", {0, 100, 1280, 250}, screen, {0, 258, 1280, 408}},
        {"wide and at the bottom: above", {0, 800, 1280, 950}, screen, {0, 642, 1280, 792}},
        {"a second screen on the left", {-900, 100, -700, 250}, {-1280, 0, 0, 1000}, {-692, 100, -492, 250}},
        {"as big as the screen: offset past its edge", {0, 0, 1280, 1000}, screen, {32, 32, 1312, 1032}},
        {"screen-sized but moved: back on the screen", {40, 40, 1320, 1040}, screen, {0, 0, 1280, 1000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const NoteRect placed = PlaceBesideOriginal(c.original, c.workArea);
        EXPECT_EQ(placed, c.placed);
        EXPECT_FALSE(placed == c.original) << "never exactly on the original";
    }
}

// Two clashes over one note (on two computers, or one after the other) must
// not stack their versions: one would hide the other.
TEST(NotesMerge, AVersionNeverCoversAnotherNote)
{
    const NoteRect screen{0, 0, 1280, 1000};
    const NoteRect original{100, 100, 300, 250};
    const NoteRect beside{308, 100, 508, 250};
    struct Case {
        const char* label;
        NoteRect original;
        std::vector<NoteRect> others;  // besides the original
        NoteRect placed;
    } cases[] = {
        {"nothing beside it: beside it", original, {}, beside},
        {"a version already beside it: a step down and right", original, {beside}, {340, 132, 540, 282}},
        {"two already: two steps", original, {beside, {340, 132, 540, 282}}, {372, 164, 572, 314}},
        {"a note merely overlapping the spot does not count", original, {{310, 100, 510, 250}}, beside},
        {"steps past the bottom wrap inside the screen", {100, 830, 300, 980}, {{308, 830, 508, 980}},
         {340, 11, 540, 161}},
        {"a screen-sized note: past the edge, a step further each time", screen, {{32, 32, 1312, 1032}},
         {64, 64, 1344, 1064}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<NoteRect> occupied = c.others;
        occupied.push_back(c.original);
        const NoteRect placed = PlaceVersion(c.original, screen, occupied);
        EXPECT_EQ(placed, c.placed);
        EXPECT_EQ(PlaceVersion(c.original, screen, occupied), placed) << "the same notes, the same place";
        for (const NoteRect& other : occupied)
            EXPECT_FALSE(placed == other);
    }
}
