#include "mainwnd/FindBar.h"

#include <algorithm>

#include "framework/ScopedHandles.h"
#include "framework/WideText.h"
#include "mainwnd/SystemTextFold.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"

FindBar::FindBar(CNoteList& notes, NoteListView& view, std::function<void()> openChosenNote)
    : m_notes(notes), m_view(view), m_openChosenNote(std::move(openChosenNote))
{
}

void FindBar::Open(HWND dialog)
{
    HWND list = m_view.Hwnd();
    if (!list)
        return;
    if (!m_edit) {
        GetWindowRect(list, &m_rcListWhole);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&m_rcListWhole), 2);
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        m_edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                 0, 0, 0, 0, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FIND_EDIT)),
                                 instance, nullptr);
        // The button's text is what a screen reader says; the cross is
        // what the eye sees.
        m_close = CreateWindowExW(0, L"BUTTON", L"\u00D7", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0, dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FIND_CLOSE)), instance, nullptr);
        for (HWND control : {m_edit, m_close})
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_view.Font()), FALSE);
        SendMessageW(m_edit, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"Find notes"));
        SendMessageA(m_edit, EM_SETLIMITTEXT, 256, 0);
        // The box comes before the list in the Tab order.
        SetWindowPos(m_edit, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        m_cache = std::make_unique<FoldedTextCache>(SystemTextFold());
        m_hiddenSelection.clear();
        m_strQuery.clear();
        Place();
    }
    SetFocus(m_edit);
    SendMessageA(m_edit, EM_SETSEL, 0, -1);
}

void FindBar::Place()
{
    const RECT& whole = m_rcListWhole;
    TEXTMETRICA metrics{};
    {
        ScopedGetDC dc(m_edit);
        ScopedSelect font(dc, m_view.Font());
        GetTextMetricsA(dc, &metrics);
    }
    const int height = metrics.tmHeight + 8;
    const int width = whole.right - whole.left;
    MoveWindow(m_edit, whole.left, whole.top, width - height - 2, height, TRUE);
    MoveWindow(m_close, whole.right - height, whole.top, height, height, TRUE);
    MoveWindow(m_view.Hwnd(), whole.left, whole.top + height + 2, width, whole.bottom - whole.top - height - 2, TRUE);
}

void FindBar::Close()
{
    if (!m_edit)
        return;
    const std::set<NotePos> selected = KeptSelection();
    const bool hadFocus = GetFocus() == m_edit || GetFocus() == m_close;
    DestroyWindow(m_edit);
    DestroyWindow(m_close);
    m_edit = m_close = nullptr;
    m_strQuery.clear();
    m_hiddenSelection.clear();
    MoveWindow(m_view.Hwnd(), m_rcListWhole.left, m_rcListWhole.top, m_rcListWhole.right - m_rcListWhole.left,
               m_rcListWhole.bottom - m_rcListWhole.top, TRUE);
    m_view.Refilter();
    m_cache.reset();
    SelectRowsOf(selected);
    if (hadFocus)
        SetFocus(m_view.Hwnd());
}

void FindBar::OnTextChanged()
{
    if (!m_edit)
        return;
    const std::u16string query = m_cache->FoldQuery(GetWindowTextUtf16(m_edit));
    if (query == m_strQuery)
        return;
    const std::set<NotePos> selected = KeptSelection();
    m_strQuery = query;
    CNoteWnd::TakeTypedTexts();  // the notes are found by what they hold now
    m_view.Refilter();
    SelectRowsOf(selected);
}

bool FindBar::OnBoxKey(WPARAM key)
{
    if (key == VK_RETURN)
        OpenFoundNote();
    else if (key == VK_ESCAPE)
        Close();
    else if (key == VK_DOWN && m_view.RowCount() > 0)
        GoToFoundRows();
    else
        return false;
    return true;
}

void FindBar::GoToFoundRows()
{
    // The first match is selected, so Delete or Enter acts on it at once.
    m_view.SelectOnly(0);
    SetFocus(m_view.Hwnd());
}

void FindBar::OpenFoundNote()
{
    if (m_view.RowCount() == 0) {
        MessageBeep(MB_OK);
        return;
    }
    m_view.SelectOnly(std::max(m_view.ChosenRow(), 0));
    m_openChosenNote();
}

std::u16string FindBar::EmptyListText()
{
    if (!IsOpen() || m_strQuery.empty())
        return {};
    return u"No note contains \"" + GetWindowTextUtf16(m_edit) + u"\".";
}

bool FindBar::ShowsNote(CNote* note, size_t index)
{
    return !IsOpen() || m_strQuery.empty() || Match(*note, index);
}

TextMatch FindBar::MarkIn(const CNote& note)
{
    // Rows are drawn in any order and few at a time: their texts are folded
    // for the mark without taking the places of the list's notes.
    TextMatch span;
    if (!m_strQuery.empty())
        Match(note, FoldedTextCache::kUnkept, &span);
    return span;
}

bool FindBar::Match(const CNote& note, size_t slot, TextMatch* span)
{
    return m_cache->Find(slot, &note, note.m_strText, m_strQuery, span);
}

std::set<NotePos> FindBar::KeptSelection() const
{
    std::set<NotePos> kept = m_view.NotesOfSelectedRows();
    // Selected before a find hid them, and still not shown.
    for (NotePos pos : m_hiddenSelection)
        if (m_view.RowOfNote(pos) < 0)
            kept.insert(pos);
    return kept;
}

void FindBar::SelectRowsOf(const std::set<NotePos>& notes)
{
    bool first = true;
    m_hiddenSelection.clear();
    for (NotePos pos : notes) {
        const int row = m_view.RowOfNote(pos);
        if (row < 0) {
            // Still hidden by the find, or gone (a note deleted meanwhile
            // is never found again, so it is never selected).
            if (IsOpen() && m_notes.IndexOf(pos) >= 0)
                m_hiddenSelection.insert(pos);
            continue;
        }
        m_view.SelectRow(row, first);
        first = false;
    }
}
