#pragma once
// Shape and layout of a note window in client pixels: the outline with its
// cut-off corner, the turned-over corner drawn there, where the text goes,
// the nudge away from the screen's far edges, how a note lost off the
// screens comes back, and the smallest size.
#include <array>
#include <cstdint>
#include <span>

#include "framework/DisplayScale.h"
#include "notes/CNote.h"

struct NotePoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const NotePoint&) const = default;
};

struct NoteSize {
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const NoteSize&) const = default;
};

namespace NoteGeometry {

constexpr int kCornerSize = 20;      // legs of the cut-off, turned-over corner
constexpr int kTextMargin = 15;      // text area inset from every edge once sized
constexpr int kMinSize = 45;         // neither side of a note gets smaller
constexpr int kScreenEdgeShift = 10; // nudge for notes stored at the far edges
constexpr int kOutlinePoints = 5;

// The sizes of a note's parts in the pixels of its display: the values above
// at 96 DPI, scaled with the display, so a note looks the same at any scale.
struct NoteMetrics {
    int corner = kCornerSize;
    int margin = kTextMargin;
    int minSize = kMinSize;
    int outlineWidth = 2;
};
NoteMetrics ScaledMetrics(const DisplayScale& scale);

// Top-left, top-right, the two ends of the cut diagonal, bottom-left: traced
// in this order it is both the window's region and the drawn outline.
std::array<NotePoint, kOutlinePoints> Outline(int width, int height, const NoteMetrics& m = {});

// The grey triangle folded over the cut corner.
std::array<NotePoint, 3> TurnedCorner(int width, int height, const NoteMetrics& m = {});

// The text area of a new window: it leaves the turned corner clear below.
NoteRect EditRectAtCreation(int width, int height, const NoteMetrics& m = {});
// The text area once the window has been sized: equal margins all round.
NoteRect EditRectAfterSize(int width, int height, const NoteMetrics& m = {});
// The text area during a sizing drag, from the proposed window rectangle in
// client coordinates (its right and bottom edges decide).
NoteRect EditRectWhileSizing(const NoteRect& proposedClient, const NoteMetrics& m = {});

// Where a window for the stored rectangle is created: one step of 10 pixels
// left when the right edge is within 10 pixels of the screen's width (or
// beyond it), and likewise up for the bottom edge. Not a full fit.
NoteRect ShiftAwayFromScreenEdges(NoteRect rc, int screenWidth, int screenHeight);

// Where a note comes up when the screens have changed under it (a monitor
// unplugged, another resolution, a damaged file): a rectangle that meets
// some work area is left alone; one that meets none is moved into the
// nearest work area, whole, keeping its size where it fits (never below
// kMinSize). No work areas: the rectangle as it is.
NoteRect PlaceOnWorkAreas(NoteRect rc, std::span<const NoteRect> workAreas);

// Where a note the user asked for goes: wholly inside the work area of its
// screen, moved as little as may be and never resized. A note wider or
// taller than the area has its left or top edge at the area's.
NoteRect MoveIntoWorkArea(NoteRect rc, const NoteRect& workArea);

// A note whose top band (the strip it is dragged by, topBand pixels high) is
// wholly above every work area it stands over cannot be grasped: it comes
// down to the highest of those areas' tops. Other notes stay as they are,
// and so does one that stands over no work area at all (PlaceOnWorkAreas
// takes care of it).
NoteRect BringTopBandIntoView(NoteRect rc, std::span<const NoteRect> workAreas, int topBand);

// The size a note keeps after a size change.
NoteSize ClampToMinimum(int cx, int cy, const NoteMetrics& m = {});

}  // namespace NoteGeometry
