#include "mainwnd/NoteTextCell.h"

#include <algorithm>

#include "framework/ScopedHandles.h"
#include "framework/WideText.h"
#include "mainwnd/MainWndModel.h"
#include "mainwnd/NoteListView.h"

namespace {

constexpr COLORREF kFindMarkColor = RGB(255, 214, 92);  // a text marker's yellow

}  // namespace

COLORREF NoteTextCell::UnfocusedSelectionColor()
{
    // Two fifths of the selection colour over the window's: clearly marked,
    // and still plainly apart from the focused selection.
    const COLORREF mark = GetSysColor(COLOR_HIGHLIGHT), paper = GetSysColor(COLOR_WINDOW);
    const auto mix = [](int a, int b) { return static_cast<BYTE>((2 * a + 3 * b) / 5); };
    return RGB(mix(GetRValue(mark), GetRValue(paper)), mix(GetGValue(mark), GetGValue(paper)),
               mix(GetBValue(mark), GetBValue(paper)));
}

void NoteTextCell::Draw(HDC dc, const RECT& cell, const CNote& note, TextMatch match, Look look, HFONT font)
{
    // The Text cell starts with a swatch of the note's paper, so that "the
    // green note" can be found in the list; the text follows it.
    const bool highlighted = look == Look::Selected;
    const int ink = highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT;
    // The DC's own brush: a brush made and freed for each row drawn costs
    // more than the fill.
    HBRUSH dcBrush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    if (look == Look::SelectedUnfocused) {
        SetDCBrushColor(dc, UnfocusedSelectionColor());
        FillRect(dc, &cell, dcBrush);
    } else {
        FillRect(dc, &cell, GetSysColorBrush(highlighted ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    }

    const int side = std::max<int>(4, cell.bottom - cell.top - 6);
    RECT swatch{cell.left + 4, cell.top + 3, cell.left + 4 + side, cell.top + 3 + side};
    SetDCBrushColor(dc, note.m_crBack);
    FillRect(dc, &swatch, dcBrush);
    FrameRect(dc, &swatch, GetSysColorBrush(COLOR_GRAYTEXT));

    RECT label{swatch.right + 4, cell.top, cell.right - 2, cell.bottom};
    ScopedSelect selectFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(ink));
    if (!match.Found()) {
        const std::u16string text = RowTextOf(note.m_strText, NoteListView::kRowTextLength);
        DrawTextW(dc, WideChars(text), -1, &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        return;
    }
    // A match deep in a long note: the row shows the text around it, after
    // an ellipsis, rather than the whole text up to it.
    constexpr size_t kLength = NoteListView::kRowTextLength;
    const size_t from = match.at + match.length > kLength ? match.at - std::min(match.at, kLength / 2) : 0;
    std::u16string text =
        RowTextOf(note.m_strText.substr(from, match.at - from + match.length + kLength / 2), std::u16string::npos);
    match.at -= from;
    if (from > 0) {
        text = u"\u2026" + text;
        ++match.at;
    }
    DrawMarkedText(dc, label, text, match, ink);
}

void NoteTextCell::DrawMarkedText(HDC dc, const RECT& label, const std::u16string& text, const TextMatch& match,
                                  int ink)
{
    // While finding, the match is marked and kept in sight, so the user sees
    // why the note was found.
    const TextWidth width = [dc](std::u16string_view part) {
        SIZE size{};
        GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(part.data()), static_cast<int>(part.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::u16string shown = TextAroundMatch(text, match, label.right - label.left, width);
    const size_t start = shown.size() - (text.size() - match.at);
    const std::u16string parts[3] = {shown.substr(0, start), shown.substr(start, match.length),
                                     shown.substr(std::min(start + match.length, shown.size()))};
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, label.left, label.top, label.right, label.bottom);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_UPDATECP);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    MoveToEx(dc, label.left, (label.top + label.bottom - metrics.tmHeight) / 2, nullptr);
    for (int i = 0; i < 3; ++i) {
        if (i == 1) {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, kFindMarkColor);
            SetTextColor(dc, RGB(0, 0, 0));
        } else if (i == 2) {
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(ink));
        }
        ExtTextOutW(dc, 0, 0, 0, nullptr, WideChars(parts[i]), static_cast<UINT>(parts[i].size()), nullptr);
    }
    RestoreDC(dc, saved);
}

