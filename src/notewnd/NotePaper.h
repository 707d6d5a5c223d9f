#pragma once
// How a note looks on screen apart from its text: the paper, the black
// outline and the grey turned-over corner, and the window region cut to the
// outline.
#include <windows.h>

#include <array>

#include "notewnd/NoteGeometry.h"

namespace NotePaper {

// The outline of a note window of this client size.
using Outline = std::array<POINT, NoteGeometry::kOutlinePoints>;
Outline OutlineOf(int cx, int cy, const NoteGeometry::NoteMetrics& metrics);

// Paints the paper, the outline (as the window keeps it) and the corner over
// the whole client area.
void Paint(HDC dc, const RECT& client, HBRUSH paper, const POINT* outline, int points,
           const NoteGeometry::NoteMetrics& metrics);

}  // namespace NotePaper
