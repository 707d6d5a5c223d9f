// The shape of a note window, where its text goes, where it is placed near
// the screen's far edges and how small it can get.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "notewnd/NoteGeometry.h"

using namespace NoteGeometry;

TEST(NoteGeometry, DefaultNoteShape)
{
    const auto outline = Outline(200, 150);
    const std::array<NotePoint, 5> expectedOutline{{{0, 0}, {200, 0}, {200, 130}, {180, 150}, {0, 150}}};
    EXPECT_EQ(outline, expectedOutline);
    const std::array<NotePoint, 3> expectedCorner{{{180, 150}, {180, 130}, {200, 130}}};
    EXPECT_EQ(TurnedCorner(200, 150), expectedCorner);
    // A new note's text stops above the turned corner; once sized, margins are even.
    EXPECT_EQ(EditRectAtCreation(200, 150), (NoteRect{15, 15, 185, 130}));
    EXPECT_EQ(EditRectAfterSize(200, 150), (NoteRect{15, 15, 185, 135}));
    EXPECT_EQ(EditRectAfterSize(kMinSize, kMinSize), (NoteRect{15, 15, 30, 30}));
}

TEST(NoteGeometry, TextAreaDuringASizingDrag)
{
    struct Row {
        const char* label;
        NoteRect proposedClient;
        NoteRect expected;
    } rows[] = {
        {"unchanged window", {0, 0, 200, 150}, {15, 15, 170, 120}},
        {"dragged wider to the right", {0, 0, 260, 150}, {15, 15, 230, 120}},
        {"left edge dragged out: only the right edge counts", {-40, 0, 200, 150}, {15, 15, 170, 120}},
        {"smaller than the margins", {0, 0, 30, 40}, {15, 15, 15, 15}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(EditRectWhileSizing(row.proposedClient), row.expected);
    }
}

TEST(NoteGeometry, ShiftAwayFromTheFarScreenEdges)
{
    struct Row {
        const char* label;
        NoteRect stored;
        NoteRect expected;
    } rows[] = {
        {"well inside", {100, 100, 300, 250}, {100, 100, 300, 250}},
        {"right edge 10 short of the screen width", {1070, 100, 1270, 250}, {1070, 100, 1270, 250}},
        {"right edge 9 short", {1071, 100, 1271, 250}, {1061, 100, 1261, 250}},
        {"right edge at the screen width", {1080, 100, 1280, 250}, {1070, 100, 1270, 250}},
        {"far off the right: one step only", {1800, 100, 2000, 250}, {1790, 100, 1990, 250}},
        {"bottom edge at the screen height", {100, 874, 300, 1024}, {100, 864, 300, 1014}},
        {"bottom-right corner", {1080, 874, 1280, 1024}, {1070, 864, 1270, 1014}},
        {"left and top edges never count", {-50, -50, 150, 100}, {-50, -50, 150, 100}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(ShiftAwayFromScreenEdges(row.stored, 1280, 1024), row.expected);
    }
}

TEST(NoteGeometry, NeverSmallerThan45)
{
    struct Row {
        const char* label;
        int cx, cy;
        NoteSize expected;
    } rows[] = {
        {"default size", 200, 150, {200, 150}},
        {"exactly the minimum", 45, 45, {45, 45}},
        {"too narrow", 44, 150, {45, 150}},
        {"too low", 200, 10, {200, 45}},
        {"collapsed", 0, 0, {45, 45}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(ClampToMinimum(row.cx, row.cy), row.expected);
    }
}

std::ostream& operator<<(std::ostream& os, const NoteRect& r)
{
    return os << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
}

TEST(NoteGeometry, NotesOffEveryScreenComeBackOntoTheNearest)
{
    const std::vector<NoteRect> one{{0, 0, 1280, 1024}};
    const std::vector<NoteRect> two{{0, 0, 1280, 1024}, {1280, 0, 2560, 1024}};
    const std::vector<NoteRect> taskbarOnTop{{0, 40, 1280, 1024}};
    struct Row {
        const char* label;
        NoteRect stored;
        std::vector<NoteRect> areas;
        NoteRect expected;
    } rows[] = {
        {"on the screen", {100, 100, 300, 250}, one, {100, 100, 300, 250}},
        {"one corner on the screen", {1270, 1014, 1470, 1164}, one, {1270, 1014, 1470, 1164}},
        {"far below and right", {5000, 5000, 5200, 5150}, one, {1080, 874, 1280, 1024}},
        {"left of the screen", {-3000, 100, -2800, 250}, one, {0, 100, 200, 250}},
        {"touching the left edge only", {-200, 100, 0, 250}, one, {0, 100, 200, 250}},
        {"beyond the second monitor", {3000, 500, 3200, 650}, two, {2360, 500, 2560, 650}},
        {"on the second monitor", {1500, 100, 1700, 250}, two, {1500, 100, 1700, 250}},
        {"second monitor unplugged", {1500, 100, 1700, 250}, one, {1080, 100, 1280, 250}},
        {"larger than the screen", {5000, 5000, 7000, 6500}, one, {0, 0, 1280, 1024}},
        {"collapsed to nothing", {5000, 5000, 5000, 5000}, one, {1235, 979, 1280, 1024}},
        {"above a work area that starts lower", {100, -500, 300, -350}, taskbarOnTop, {100, 40, 300, 190}},
        {"no monitor known", {5000, 5000, 5200, 5150}, {}, {5000, 5000, 5200, 5150}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(PlaceOnWorkAreas(row.stored, row.areas), row.expected);
    }
}

TEST(NoteGeometry, NotesTheUserCannotGraspComeBackIntoView)
{
    const std::vector<NoteRect> one{{0, 0, 1280, 984}};
    const std::vector<NoteRect> stacked{{0, 0, 1280, 1024}, {0, -1024, 1280, 0}};
    const std::vector<NoteRect> sideBySide{{0, 0, 1280, 1024}, {1280, 200, 2560, 1224}};
    // Brought up on purpose: wholly into the work area of its screen.
    struct IntoRow {
        const char* label;
        NoteRect shown;
        NoteRect expected;
    } into[] = {
        {"inside already", {100, 100, 300, 250}, {100, 100, 300, 250}},
        {"dragged up until only its bottom shows", {-5, -128, 195, 22}, {0, 0, 200, 150}},
        {"past the right and the bottom", {1200, 900, 1400, 1050}, {1080, 834, 1280, 984}},
        {"wider and taller than the area", {-300, -300, 1500, 1200}, {0, 0, 1800, 1500}},
        {"taller only, its bottom off the screen", {500, 400, 700, 1400}, {500, 0, 700, 1000}},
    };
    for (const IntoRow& row : into) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(MoveIntoWorkArea(row.shown, one[0]), row.expected);
    }
    // Made at start: only a top band hidden above every screen is pulled down.
    struct BandRow {
        const char* label;
        NoteRect stored;
        std::vector<NoteRect> areas;
        NoteRect expected;
    } band[] = {
        {"only its bottom 22 pixels show", {-5, -128, 195, 22}, one, {-5, 0, 195, 150}},
        {"band exactly above the screen", {100, -15, 300, 135}, one, {100, 0, 300, 150}},
        {"one row of the band shows", {100, -14, 300, 136}, one, {100, -14, 300, 136}},
        {"above the lower screen, on the upper one", {100, -500, 300, -350}, stacked, {100, -500, 300, -350}},
        {"above both stacked screens", {100, -1100, 300, -950}, stacked, {100, -1024, 300, -874}},
        {"over two screens of different tops", {1200, -300, 1400, -150}, sideBySide, {1200, 0, 1400, 150}},
        {"band shows on the screen beside", {1200, 100, 1400, 250}, sideBySide, {1200, 100, 1400, 250}},
        {"over no screen at all", {-900, -500, -700, -350}, one, {-900, -500, -700, -350}},
        {"no monitor known", {-5, -128, 195, 22}, {}, {-5, -128, 195, 22}},
    };
    for (const BandRow& row : band) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(BringTopBandIntoView(row.stored, row.areas, 15), row.expected);
    }
}
