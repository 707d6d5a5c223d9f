// Where the global shortcut's new note goes: around the mouse, never off the
// screen the mouse is on.
#include <gtest/gtest.h>

#include "mainwnd/NotePlacement.h"

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
