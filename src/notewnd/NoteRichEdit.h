#pragma once
// The rich edit control holding a note's text: made from MSFTEDIT.DLL where
// there is one (RICHED20.DLL otherwise), it shows the note's font, ink and
// paper, takes the four character formats and gives them back as runs, and
// pastes only text and those formats. It knows nothing of the note record.
#include <windows.h>

#include <string>
#include <string_view>

#include "notes/CNote.h"
#include "core/NoteRect.h"
#include "notes/NoteListMarks.h"
#include "notes/TextFormatRun.h"

class NoteRichEdit {
public:
    // Opens an address a Ctrl+click chose; by default the shell's open. Only
    // addresses NoteLinks::MayOpen allows ever reach it. Tests hook it.
    using LinkOpener = void (*)(const std::u16string& address);
    static void SetLinkOpener(LinkOpener opener);

    // Makes the control, hidden, as the child id of parent; false when
    // neither library could be loaded or the control not made. The caller
    // gives it its look and content first, then shows it.
    bool Create(HWND parent, int id, const NoteRect& rc);
    HWND Hwnd() const { return m_hwnd; }

    // The note's font (the formats it gives count as plain), ink and paper.
    // The text keeps its runs.
    void SetLook(HFONT font, const LOGFONTA& logFont, ColorRef ink, ColorRef paper);
    // Replaces the text and its formats, leaving nothing to undo; sends no
    // change notification.
    void SetContent(const std::u16string& text, const TextFormatRuns& runs);
    // The text with CR LF line breaks, as the note stores it.
    std::u16string Text() const;
    // Its length in the control's own positions (a line break is one).
    int Length() const;
    // The formats over the text, as the note stores them.
    TextFormatRuns Runs() const;

    // Sets the format over the selection (or for what is typed next) unless
    // all of it has the format already; then takes it off.
    void ToggleFormat(uint8_t format);
    // The formats that all of the selection has.
    uint8_t SelectionFormats() const;
    // False when there was nothing to undo (or redo).
    bool Undo();
    bool Redo();
    enum class KeyResult {
        kNotMine,        // the control's own, or nobody's
        kDone,
        kFormatChanged,  // the formats at the selection changed
        kNothingToUndo,  // Ctrl+Z with nothing left to undo
    };
    // The keys the control would take otherwise, or not at all: the four
    // formats, undo and redo, and every paste, which must be filtered.
    KeyResult HandleKey(const MSG& msg);
    // Starts every line of the selection with the mark (or, when all have
    // it, takes the marks off).
    void MarkLines(NoteListMarks::Mark mark);
    // Ticks or unticks the box of the line holding position; false when
    // that line has none. The selection stays.
    bool ToggleBox(LONG position);
    // The clipboard's text at the selection: with bold, italic, underline and
    // strike-through from rich text unless plainOnly; never anything else.
    void Paste(bool plainOnly);

private:
    struct Paragraph {
        LONG start = 0;  // control position of its first character
        std::u16string text;
    };
    Paragraph ParagraphAt(LONG position) const;
    // Replaces control positions [from, to) as one step the user can undo.
    void Replace(LONG from, LONG to, std::u16string_view with);
    LONG Caret() const;
    bool OnEnter();
    // Enter or Backspace, from the character it sends.
    void OnLineKey(wchar_t key);
    bool OnSpace();
    // A press on a box ticks it, a Ctrl+press on a link opens it; false
    // when the press is the control's own.
    bool OnPress(POINT at, bool ctrl);
    // Ticked items in a lighter ink, over the whole text.
    void ShowTicks(const std::u16string& text);
    void Insert(const std::u16string& text, const TextFormatRuns& runs);
    // Sets the formats over control positions [from, to).
    void SetFormats(LONG from, LONG to, uint8_t formats);
    void ApplyRuns(const std::u16string& text, const TextFormatRuns& runs, LONG offset);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);

    HWND m_hwnd = nullptr;
    // Text has been put in: until then the box is empty and in the plain look.
    bool m_bFilled = false;
    HFONT m_font = nullptr;  // the caller's; answered to WM_GETFONT
    uint8_t m_plainFormats = 0;
    ColorRef m_ink = 0;
    ColorRef m_paper = 0xFFFFFF;
};
