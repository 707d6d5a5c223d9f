// Where new notes go: the global shortcut's around the mouse, never off the
// screen the mouse is on; any new note clear of the notes it would hide.
#include <gtest/gtest.h>

#include <vector>

#include "mainwnd/NotePlacement.h"
#include "notes/RuntimeRand.h"

TEST(NotePlacement, NoteAroundTheMouseStaysInTheWorkArea)
{
    const NoteRect screen{0, 0, 1600, 960};     // taskbar below 960
    const NoteRect leftScreen{-1280, 0, 0, 1024};  // a second screen on the left
    struct Case {
        const char* label;
        int x, y;
        NoteRect work;
        NoteRect expected;
    } cases[] = {
        {"middle", 800, 500, screen, {700, 425, 900, 575}},
        {"top-left corner", 3, 2, screen, {0, 0, 200, 150}},
        {"bottom-right corner", 1599, 999, screen, {1400, 810, 1600, 960}},
        {"on the taskbar", 400, 990, screen, {300, 810, 500, 960}},
        {"left screen, negative x", -5, 500, leftScreen, {-200, 425, 0, 575}},
        {"left screen, far left", -1279, 10, leftScreen, {-1280, 0, -1080, 150}},
        {"work area smaller than a note", 50, 50, {0, 0, 120, 100}, {0, 0, 200, 150}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const NoteRect rc = NoteRectAround(200, 150, c.x, c.y, c.work);
        EXPECT_EQ(rc, c.expected) << rc.left << "," << rc.top << " " << rc.right << "," << rc.bottom;
    }
}

namespace {

bool Inside(const NoteRect& rc, const NoteRect& area)
{
    return area.left <= rc.left && area.top <= rc.top && rc.right <= area.right && rc.bottom <= area.bottom;
}

bool Hides(const NoteRect& top, const NoteRect& below)
{
    return Inside(below, top);
}

}  // namespace

TEST(NotePlacement, NewNoteStepsOffANoteItWouldHide)
{
    const NoteRect work{0, 0, 1000, 800};
    const NoteRect atHundred{100, 100, 300, 250};
    struct Case {
        const char* label;
        NoteRect wanted;
        std::vector<NoteRect> shown;
        NoteRect area;
        NoteRect expected;
    } cases[] = {
        {"free place kept", atHundred, {{400, 400, 600, 550}}, work, atHundred},
        {"a note only partly under it stays seen", atHundred, {{110, 110, 310, 260}}, work, atHundred},
        {"one step down and right", atHundred, {atHundred}, work, {124, 124, 324, 274}},
        {"a smaller note under it: stepped until it peeks out", atHundred, {{150, 150, 250, 200}}, work,
         {172, 172, 372, 322}},
        {"wraps at the right and bottom edges", {790, 640, 990, 790}, {{790, 640, 990, 790}}, work,
         {13, 13, 213, 163}},
        {"wraps at the right edge only", {790, 100, 990, 250}, {{790, 100, 990, 250}}, work, {13, 124, 213, 274}},
        {"screen left of the main one", {-200, 100, 0, 250}, {{-200, 100, 0, 250}}, {-1280, 0, 0, 1024},
         {-1257, 124, -1057, 274}},
        {"work area narrower than the note: only down", {0, 100, 200, 250}, {{0, 100, 200, 250}}, {0, 0, 150, 800},
         {0, 124, 200, 274}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const NoteRect rc = PlaceClearOfNotes(c.wanted, c.shown, c.area);
        EXPECT_EQ(rc, c.expected) << rc.left << "," << rc.top << " " << rc.right << "," << rc.bottom;
    }
}

TEST(NotePlacement, TwentyNewNotesHideNoNoteOnTheDesktop)
{
    const NoteRect work{0, 0, 1280, 984};
    // Each run's places as the unseeded sequence gives them: the second run's
    // notes want exactly the first run's places.
    std::vector<NoteRect> defaultPlaces;
    for (int run = 0; run < 2; ++run) {
        RuntimeRand::Reset();
        for (int n = 0; n < 20; ++n)
            defaultPlaces.push_back(CNote().m_rcWindow);
    }
    RuntimeRand::Reset();
    std::vector<NoteRect> oneMousePlace(20, NoteRect{500, 400, 700, 550});
    struct Case {
        const char* label;
        std::vector<NoteRect> wanted;
    } cases[] = {
        {"the shortcut pressed twenty times at one place", oneMousePlace},
        {"two runs of Add note", defaultPlaces},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        // Already there: a cascade and a big note holding the middle.
        std::vector<NoteRect> shown{{500, 400, 700, 550}, {524, 424, 724, 574}, {300, 200, 900, 700}};
        for (const NoteRect& wanted : c.wanted) {
            const NoteRect rc = PlaceClearOfNotes(wanted, shown, work);
            EXPECT_TRUE(rc == wanted || Inside(rc, work));
            for (const NoteRect& other : shown)
                ASSERT_FALSE(Hides(rc, other)) << "note " << shown.size() << " at " << rc.left << "," << rc.top;
            shown.push_back(rc);
        }
    }
}

TEST(NotePlacement, DesktopWithNoFreePlaceGivesTheWantedOne)
{
    // A tiny note every 50 pixels: every place of a 200 x 150 note hides one.
    const NoteRect work{0, 0, 400, 300};
    std::vector<NoteRect> shown;
    for (int x = 0; x < 400; x += 50)
        for (int y = 0; y < 300; y += 50)
            shown.push_back(NoteRect{x, y, x + 1, y + 1});
    const NoteRect wanted{40, 40, 240, 190};
    EXPECT_EQ(PlaceClearOfNotes(wanted, shown, work), wanted);
}
