#pragma once
// Which part of a note window a point is over: the margin that moves it, or
// one of the edge bands and corners that size it. The codes are the
// platform's sizing directions (WMSZ_*), so a code added to SC_SIZE starts
// the matching sizing loop.
#include <cstdint>

enum NoteHit : int {
    kHitMove = 0,
    kHitLeft = 1,
    kHitRight = 2,
    kHitTop = 3,
    kHitTopLeft = 4,
    kHitTopRight = 5,
    kHitBottom = 6,
    kHitBottomLeft = 7,
    kHitBottomRight = 8,  // also the whole turned-over corner
};

// x, y in client pixels of a width x height note; border is the width of the
// sizing bands along the edges.
NoteHit HitTest(int x, int y, int width, int height, int border);

// The system command that starts the platform's own move or size loop for a
// left-button press on the hit area.
uint32_t SysCommandForHit(NoteHit hit);
