#pragma once
// The Text cell of a note's row in the main window's list: a swatch of the
// note's paper, then the start of its text; while finding, the text around
// the match, with the match marked.
#include <windows.h>

#include <string>

#include "notes/CNote.h"
#include "notes/TextFind.h"

class NoteTextCell {
public:
    enum class Look { Plain, Selected, SelectedUnfocused };

    // `match`: what of the note's text is marked (not found: nothing).
    static void Draw(HDC dc, const RECT& cell, const CNote& note, TextMatch match, Look look, HFONT font);
    // The fill of a selected row while the list has no focus.
    static COLORREF UnfocusedSelectionColor();

private:
    static void DrawMarkedText(HDC dc, const RECT& label, const std::u16string& text, const TextMatch& match, int ink);
};
