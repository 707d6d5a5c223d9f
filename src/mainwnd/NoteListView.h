#pragma once
// The note list of the main window: a row for each note the filter lets
// through (Top, Vis, Schd, Text), its columns and the widths the settings file
// keeps, its pictures and font at the display's scale, and how its rows are
// drawn. The control holds no rows of its own (the template makes it
// LVS_OWNERDATA): it holds a count, and asks for a row's text, pictures and
// Top box when it draws or is asked for them, so thousands of notes cost one
// count change rather than a call per row. The main window hands the control
// over and decides what the user's clicks do to the notes.
#include <windows.h>

#include <commctrl.h>

#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/DisplayScale.h"
#include "framework/ScopedHandles.h"
#include "mainwnd/ListMessageHook.h"
#include "mainwnd/ListPictureCells.h"
#include "notes/CNoteList.h"
#include "notes/TextFind.h"

class NoteListView : private ListMessageHook::Target {
public:
    static constexpr int kColumnCount = 4;
    static constexpr int kDefaultColumnWidths[kColumnCount] = {36, 35, 40, 360};
    static constexpr const char* kColumnTitles[kColumnCount] = {"Top", "Vis", "Schd", "Text"};
    static constexpr int kVisColumn = 1, kSchdColumn = 2, kTextColumn = 3;
    // The settings-file section of the column widths ("Col<n>Width").
    static constexpr const char* kWidthSection = "List";

    // Which notes get rows, and what of a row's text is marked (a find).
    class RowFilter {
    public:
        virtual bool ShowsNote(CNote* note, size_t index) = 0;  // index: the note's place in the list
        virtual TextMatch MarkIn(const CNote& note) = 0;        // not found: nothing is marked
        // What the list says when it has no rows; empty: nothing.
        virtual std::u16string EmptyListText() = 0;

    protected:
        ~RowFilter() = default;
    };

    // The longest start of a note's text a row shows and reads out: more
    // than the widest row holds, and a note of a megabyte is not copied
    // whole each time its row is painted.
    static constexpr size_t kRowTextLength = 1024;

    explicit NoteListView(CNoteList& notes) : m_notes(notes) {}
    ~NoteListView();
    NoteListView(const NoteListView&) = delete;
    NoteListView& operator=(const NoteListView&) = delete;

    // The dialog's list control, placed and given its columns (with the
    // stored widths) at the window's scale. Its font is the dialog's.
    void Attach(HWND list, const DisplayScale& scale);
    HWND Hwnd() const { return m_list; }
    // Without a filter every note has a row and nothing is marked.
    void SetRowFilter(RowFilter* filter) { m_filter = filter; }
    HFONT Font() const { return m_fontAtScale ? m_fontAtScale.Get() : m_dialogFont; }

    // Columns 1 and up, in 96-DPI units as the settings file keeps them;
    // column 0 holds the check boxes and always starts at its own width.
    void SaveColumnWidths(const DisplayScale& scale) const;
    // Every column's width in 96-DPI units, kept across a change of scale.
    std::vector<int> BaseColumnWidths(const DisplayScale& scale) const;
    // Font, place, pictures and those widths at a new scale.
    void Rescale(const DisplayScale& scale, const std::vector<int>& baseWidths);

    // Rows for every note the filter lets through, anew, none selected.
    void Fill();
    // A note's row shown as the note now is: `row` < 0 adds one at the end.
    void PutRow(CNote* note, NotePos pos, int row);
    // The rows the filter lets through now, in list order; a note that keeps
    // its row keeps its selection and the keyboard's focus.
    void Refilter();
    void DeleteRow(int row);
    // Deletes the selected rows from the last up; answers their notes in
    // that order, and the highest row deleted (0 when none was).
    std::vector<NotePos> DeleteSelectedRows(int& highestRow);
    // Drawn anew: the paper swatch may be all that changed.
    void RedrawRow(int row);

    CNote* NoteOfRow(int row) const;
    int RowOfNote(NotePos pos) const;  // -1: the note has no row
    int RowCount() const;
    int SelectedCount() const;
    bool IsSelected(int row) const;
    bool IsTicked(int row) const;  // the Top box, as the note has it
    // The note whose Top box a change ticks (`ticked`) or clears; null when
    // the change is to something else (the selection).
    CNote* NoteOfTickChange(const NMLISTVIEW& change, bool& ticked) const;
    // The one selected row; -1 when none or several are selected.
    int GetSingleSelection() const;
    // The row the user means: the one with the keyboard's focus when it is
    // selected, else the one selected row; -1 when there is none.
    int ChosenRow() const;
    std::set<NotePos> NotesOfSelectedRows() const;
    // Adds the row to the selection; `lead`: it takes the focus too, and is
    // scrolled into sight.
    void SelectRow(int row, bool lead = false);
    // The row alone selected, with the focus.
    void SelectOnly(int row);
    // The list holds the keyboard: with no row focused nothing would show
    // where the keys act, so the first row takes the focus.
    void FocusSomeRow();
    // Ctrl+Space: the focused row in or out of the selection, its Top box
    // left alone.
    void ToggleFocusedRowSelection();
    // The row whose Vis box is under the mouse; -1 when it is on none.
    int VisBoxRowAtCursor() const;

    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
    // The fill of a selected row while the list has no focus.
    static COLORREF UnfocusedSelectionColor();
    // What the control asks of a row: the same answers paint it, give it to
    // a screen reader and to LVM_GETITEM.
    void OnGetDispInfo(LVITEMW& item) const;

private:
    void SetupColumns(const DisplayScale& scale);
    void LayOut(const DisplayScale& scale);
    void SetImages(const DisplayScale& scale);
    void ScaleFont(const DisplayScale& scale);
    bool ShowsNote(CNote* note, size_t index) const { return !m_filter || m_filter->ShowsNote(note, index); }
    // The notes the filter lets through, in list order.
    std::vector<NotePos> ShownNotes() const;
    // The control's rows become `rows`; with keepSelection the notes that
    // stay keep their selection and focus, else none is selected.
    void ShowRows(std::vector<NotePos> rows, bool keepSelection);
    // What of the list besides its rows a change of rows can alter: the
    // scroll bars (their thumbs follow the count and the place) and where
    // the header stands.
    struct FrameLook {
        SCROLLBARINFO bars[2]{};
        RECT client{};
        POINT origin{};
        bool operator==(const FrameLook& other) const;
    };
    FrameLook LookOfFrame() const;
    // The list drawn not at all, and then once, around a change of its rows:
    // the rows alone when the frame looks as before, else whole.
    struct Pause {
        bool paused = false;    // the list was visible
        bool rowsOnly = false;  // nothing of it was waiting to be painted
        FrameLook before;
    };
    Pause PauseDrawing();
    void ResumeDrawing(const Pause& pause);
    // The client area below the header, where the rows are.
    RECT RowsArea() const;
    std::vector<int> SelectedRows() const;
    int FocusedRow() const;
    // The Top box of a row set by a click, Space or LVM_SETITEMSTATE: the
    // control keeps no state for it, so the change is told to the main
    // window as the control itself would tell it.
    void TickRow(int row, bool ticked);
    // The list's own messages, before the control has them.
    LRESULT OnHookedMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    NotePos PosOfRow(int row) const;  // null: no such row
    // `cell`: the cell's bounds, where the control places it.
    void DrawTextCell(HDC dc, int row, const RECT& cell);
    void DrawEmptyListText(HDC dc);
    void ScrollOnlyWithRows();
    // What a painting asks of the list once rather than once a row (under
    // Wine each question through the control's subclass, and the focus,
    // is a trip to the window server).
    void BeginPainting();
    // Where the cell's picture goes; false: the control did not say.
    bool PictureAt(int row, int column, const RECT& cell, POINT& at);
    void DrawPictureCell(HDC dc, int row, int column, const RECT& cell);
    // Every cell of a row the painting covers, `cells` by column.
    void DrawRow(HDC dc, int row, const RECT* cells, int count);
    // The Top box and the blank picture.
    void DrawTopCell(HDC dc, int row, const RECT& cell);
    int ColumnWidth(int column) const;
    int HeaderColumnCount() const;
    // The settings-file key of a column's width: "Col<n>Width".
    static std::string ColumnWidthKey(int column);

    CNoteList& m_notes;
    RowFilter* m_filter = nullptr;
    HWND m_list = nullptr;
    ListMessageHook m_hook;  // of m_list
    HFONT m_dialogFont = nullptr;  // the dialog's own font, which the list starts with
    // The dialog's font is made for the DPI the window started at; on a
    // monitor of another scale the list gets this copy at that scale.
    int m_nDialogFontDpi = DisplayScale::kBaseDpi;
    UniqueFont m_fontAtScale;
    HIMAGELIST m_imageList = nullptr;
    ListPictureCells m_pictureCells;  // draws from m_imageList
    HIMAGELIST m_boxImages = nullptr;  // the control's own, of its Top boxes
    ListPictureCells m_boxCells;       // draws from m_boxImages
    struct Painting {
        bool focused = false;  // the list had the focus
        int focusedRow = -1;
        POINT offsets[2]{};    // of a picture in its cell: the first column, the others
        bool offsetKnown[2]{};
    } m_painting;
    std::vector<NotePos> m_rows;  // the note of each row
    // Row by note, made again on the first question after the rows change.
    mutable std::unordered_map<NotePos, int> m_rowOfNote;
    mutable bool m_bRowIndexStale = true;
};
