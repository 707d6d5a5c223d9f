// Where a press on a note starts a move and where a size, and which edge.
#include <gtest/gtest.h>

#include "notewnd/NoteHitTest.h"

TEST(NoteHitTest, BandsAndCornersOfADefaultNote)
{
    // 200 x 150; bands of 5 (a frame of 4, as Wine and a usual Windows
    // report it, plus 1) and of 9 (a thicker frame).
    struct Row {
        const char* label;
        int border, x, y;
        NoteHit expected;
    } rows[] = {
        {"top-left pixel", 5, 0, 0, kHitTopLeft},
        {"top-left band end", 5, 5, 5, kHitTopLeft},
        {"left band below the corner", 5, 5, 6, kHitLeft},
        {"left band, last row above the bottom band", 5, 5, 144, kHitLeft},
        {"bottom-left corner starts", 5, 5, 145, kHitBottomLeft},
        {"bottom-left pixel", 5, 0, 149, kHitBottomLeft},
        {"left of the window", 5, -3, 70, kHitLeft},
        {"top band right of the corner", 5, 6, 5, kHitTop},
        {"margin just inside the bands", 5, 6, 6, kHitMove},
        {"margin beside the corner square", 5, 179, 144, kHitMove},
        {"margin above the corner square", 5, 180, 129, kHitMove},
        {"bottom band", 5, 100, 149, kHitBottom},
        {"bottom band beside the corner square", 5, 179, 145, kHitBottom},
        {"right band starts", 5, 195, 6, kHitRight},
        {"right band above the corner square", 5, 199, 129, kHitRight},
        {"top-right corner", 5, 195, 5, kHitTopRight},
        {"top-right pixel", 5, 199, 0, kHitTopRight},
        {"corner square, its top-left pixel", 5, 180, 130, kHitBottomRight},
        {"corner square, the last pixel", 5, 199, 149, kHitBottomRight},
        {"corner square, cut-off part", 5, 198, 148, kHitBottomRight},
        {"right of the window, beside the square", 5, 200, 140, kHitRight},
        {"thick: top-left band end", 9, 9, 9, kHitTopLeft},
        {"thick: top band", 9, 10, 9, kHitTop},
        {"thick: margin", 9, 10, 10, kHitMove},
        {"thick: left band", 9, 9, 140, kHitLeft},
        {"thick: bottom-left corner", 9, 9, 141, kHitBottomLeft},
        {"thick: right band", 9, 191, 10, kHitRight},
        {"thick: margin left of the right band", 9, 190, 10, kHitMove},
        {"thick: top-right corner", 9, 191, 9, kHitTopRight},
        {"thick: bottom band", 9, 100, 141, kHitBottom},
        {"thick: margin above the bottom band", 9, 100, 140, kHitMove},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(HitTest(row.x, row.y, 200, 150, row.border), row.expected);
    }
}

TEST(NoteHitTest, SystemCommandsStartTheMatchingLoop)
{
    struct Row {
        NoteHit hit;
        uint32_t command;
    } rows[] = {
        {kHitMove, 0xF012},  {kHitLeft, 0xF001},       {kHitRight, 0xF002},
        {kHitTop, 0xF003},   {kHitTopLeft, 0xF004},    {kHitTopRight, 0xF005},
        {kHitBottom, 0xF006}, {kHitBottomLeft, 0xF007}, {kHitBottomRight, 0xF008},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.hit);
        EXPECT_EQ(SysCommandForHit(row.hit), row.command);
    }
}
