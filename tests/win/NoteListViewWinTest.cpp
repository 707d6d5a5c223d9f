// The main window's note list with a few hundred notes: what its rows show
// against the notes after finds, deletes, undos and ticks, and text typed
// into a long note reaching the file.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/CNotesApp.h"
#include "core/UnicodeText.h"
#include "framework/WideText.h"
#include "mainwnd/CMainDlg.h"
#include "mainwnd/MainWindowNoteHost.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"
#include "WinTestUtil.h"

namespace {

class NoteListViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_app.SetProfileFile(m_folder.Path("Velumo.ini"));
        ASSERT_TRUE(m_app.m_notes.Load(m_folder.Path("notes.dat")));
    }
    void TearDown() override
    {
        m_dlg.reset();
        PumpPending();
    }
    void AddNotes(int count)
    {
        // Every third note says fizz, every fifth buzz: finds of a third, a
        // fifth and a fifteenth of the list.
        for (int i = 0; i < count; ++i) {
            auto note = std::make_unique<CNote>();
            std::string text = "n" + std::to_string(i);
            if (i % 3 == 0)
                text += " fizz";
            if (i % 5 == 0)
                text += " buzz";
            note->m_strText = Utf16FromUtf8(text);
            note->m_bVisible = 0;
            m_app.m_notes.Add(note);
        }
    }
    void Open()
    {
        m_dlg = std::make_unique<CMainDlg>(m_app.m_notes);
        m_dlg->SetSkinFile(VELUMO_PACKED_SKIN);
        m_hwnd = m_dlg->CreateModeless(nullptr);
        ASSERT_NE(m_hwnd, nullptr);
        m_app.m_hMainWnd = m_hwnd;
        m_list = m_dlg->ListView();
        m_noteHost.SetMainWindow(m_hwnd);
        PumpPending();
    }
    std::string RowText(int row) const
    {
        const std::wstring text = ListCell(m_list, row, NoteListView::kTextColumn);
        return Utf8FromUtf16(std::u16string(text.begin(), text.end()));
    }
    int RowOfText(const std::string& text) const
    {
        for (int row = 0; row < ListView_GetItemCount(m_list); ++row)
            if (RowText(row) == text)
                return row;
        return -1;
    }
    void Find(const std::string& text)
    {
        if (!m_dlg->IsFinding())
            m_dlg->OpenFind();
        const std::u16string wide = Utf16FromUtf8(text);
        SetWindowTextW(GetDlgItem(m_hwnd, IDC_FIND_EDIT), WideChars(wide));
        PumpPending();
    }
    // Rows against the notes: one row per note holding `query`, in list
    // order, each showing its note's text and Top box; the selected rows
    // are those of `selected`.
    void ExpectRowsOfNotes(const std::string& query, const std::vector<std::string>& selected) const
    {
        std::vector<std::string> want;
        std::vector<bool> onTop;
        for (NotePos p = m_app.m_notes.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
            const std::string text = Utf8FromUtf16(m_app.m_notes.GetAt(p)->m_strText);
            if (text.find(query) != std::string::npos) {
                want.push_back(text);
                onTop.push_back(m_app.m_notes.GetAt(p)->m_bOnTop != 0);
            }
        }
        ASSERT_EQ(ListView_GetItemCount(m_list), static_cast<int>(want.size()));
        std::vector<std::string> shown, shownSelected;
        for (int row = 0; row < static_cast<int>(want.size()); ++row) {
            shown.push_back(RowText(row));
            EXPECT_EQ(ListView_GetCheckState(m_list, row) != 0, onTop[row]) << want[row];
            if (ListView_GetItemState(m_list, row, LVIS_SELECTED))
                shownSelected.push_back(shown.back());
        }
        EXPECT_EQ(shown, want);
        EXPECT_EQ(shownSelected, selected);
        ExpectListPaintedAsWhole();
    }
    // What the list shows on screen, frame, scroll bars and header included.
    std::vector<uint32_t> ListPixels() const
    {
        RECT box{};
        GetWindowRect(m_list, &box);
        const int width = box.right - box.left, height = box.bottom - box.top;
        std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
        HDC window = GetWindowDC(m_list);
        HDC memory = CreateCompatibleDC(window);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP copy = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, copy);
        BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY);
        GdiFlush();
        std::copy_n(static_cast<const uint32_t*>(bits), pixels.size(), pixels.begin());
        SelectObject(memory, old);
        DeleteObject(copy);
        DeleteDC(memory);
        ReleaseDC(m_list, window);
        return pixels;
    }
    // A change of rows repaints only what it changed: the list must look as
    // it does when painted whole.
    void ExpectListPaintedAsWhole() const
    {
        const std::vector<uint32_t> shown = ListPixels();
        RedrawWindow(m_list, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const std::vector<uint32_t> whole = ListPixels();
        const auto differ = std::mismatch(shown.begin(), shown.end(), whole.begin());
        EXPECT_TRUE(differ.first == shown.end())
            << "pixel " << (differ.first - shown.begin()) << " differs from a whole painting";
    }

    TempFolder m_folder;
    CNotesApp m_app;
    std::unique_ptr<CMainDlg> m_dlg;
    HWND m_hwnd = nullptr;
    HWND m_list = nullptr;
    // Windows a test makes itself talk to the main window as its own do.
    MainWindowNoteHost m_noteHost{m_app.m_notes};
};

}  // namespace

TEST_F(NoteListViewTest, RowsFollowTheNotesThroughFindsDeletesAndUndos)
{
    enum Kind { kFind, kCloseFind, kSelect, kDelete, kUndo, kTick, kDeleteFromWindow };
    struct Step {
        Kind kind;
        const char* arg;  // the find text, or the note a select, tick or window delete is about
        const char* query;  // what the rows then show: the notes holding it
        std::vector<std::string> selected;
    };
    struct Case {
        const char* label;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"found rows deleted come back with Ctrl+Z, in place and selected",
         {{kFind, "buzz", "buzz", {}},
          {kSelect, "n15 fizz buzz", "buzz", {"n15 fizz buzz"}},
          {kSelect, "n250 buzz", "buzz", {"n15 fizz buzz", "n250 buzz"}},
          {kDelete, "", "buzz", {"n260 buzz"}},
          {kUndo, "", "buzz", {"n15 fizz buzz", "n250 buzz"}},
          {kCloseFind, "", "", {"n15 fizz buzz", "n250 buzz"}}}},
        {"a selection outlives a find that hides it",
         {{kSelect, "n1", "", {"n1"}},
          {kSelect, "n299", "", {"n1", "n299"}},
          {kFind, "fizz", "fizz", {}},
          {kFind, "fi", "fi", {}},
          {kFind, "", "", {"n1", "n299"}},
          {kFind, "9 fizz", "9 fizz", {}},
          {kCloseFind, "", "", {"n1", "n299"}}}},
        {"deleting in the middle selects the row that moves up",
         {{kSelect, "n150 fizz buzz", "", {"n150 fizz buzz"}},
          {kDelete, "", "", {"n151"}},
          {kDelete, "", "", {"n152"}},
          {kUndo, "", "", {"n151"}},
          {kUndo, "", "", {"n150 fizz buzz"}}}},
        {"a tick in a found row is its own note's",
         {{kFind, "buzz", "buzz", {}},
          {kTick, "n10 buzz", "buzz", {}},
          {kCloseFind, "", "", {}},
          {kTick, "n11", "", {}}}},
        {"a find with as many rows (111) shows the other notes, the selection kept apart",
         {{kSelect, "n150 fizz buzz", "", {"n150 fizz buzz"}},
          {kFind, "n1", "n1", {"n150 fizz buzz"}},
          {kFind, "n2", "n2", {}},
          {kFind, "n1", "n1", {"n150 fizz buzz"}}}},
        {"a find that takes the scroll bar away and gives it back paints the list whole",
         {{kFind, "9 fizz", "9 fizz", {}},
          {kFind, "n2", "n2", {}},
          {kFind, "n29", "n29", {}},
          {kCloseFind, "", "", {}}}},
        {"a note deleted from its window while finding leaves the rows around it",
         {{kFind, "fizz", "fizz", {}},
          {kSelect, "n297 fizz", "fizz", {"n297 fizz"}},
          {kDeleteFromWindow, "n3 fizz", "fizz", {"n297 fizz"}},
          {kCloseFind, "", "", {"n297 fizz"}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        m_dlg.reset();
        while (NotePos p = m_app.m_notes.GetHeadPosition())
            m_app.m_notes.Remove(p);
        AddNotes(300);
        Open();
        for (const Step& step : c.steps) {
            SCOPED_TRACE(std::string("step ") + std::to_string(step.kind) + " " + step.arg);
            const int row = RowOfText(step.arg);
            switch (step.kind) {
            case kFind: Find(step.arg); break;
            case kCloseFind: m_dlg->CloseFind(); break;
            case kSelect:
                ASSERT_GE(row, 0);
                ListView_SetItemState(m_list, row, LVIS_SELECTED, LVIS_SELECTED);
                break;
            case kDelete: m_dlg->DeleteSelectedNotes(); break;
            case kUndo: m_dlg->UndoDelete(); break;
            case kTick: ASSERT_GE(row, 0); ListView_SetCheckState(m_list, row, TRUE); break;
            case kDeleteFromWindow: {
                CNote* note = m_dlg->NoteList().NoteOfRow(row);
                ASSERT_NE(note, nullptr);
                note->m_pWnd = CNoteWnd::Create(note, false, m_noteHost);
                ASSERT_NE(note->m_pWnd, nullptr);
                SendMessageA(note->m_pWnd->GetHwnd(), WM_COMMAND, ID_NOTE_DELETE, 0);
                break;
            }
            }
            PumpPending();
            ExpectRowsOfNotes(step.query, step.selected);
        }
    }
}

TEST_F(NoteListViewTest, TextTypedIntoALongNoteIsInTheFileRightAfterTheLastKey)
{
    struct Case {
        const char* label;
        void (*after)(CMainDlg& dlg, CNoteWnd& note);  // what comes right after the last key
    };
    const Case cases[] = {
        {"a save", [](CMainDlg& dlg, CNoteWnd&) { dlg.RunHousekeepingPass(); }},
        {"Escape, which hides the note, then a save",
         [](CMainDlg& dlg, CNoteWnd& note) {
             MSG escape{note.GetEdit(), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
             note.PreTranslateMessage(escape);
             dlg.RunHousekeepingPass();
         }},
        {"a find for the typed word, then a save",
         [](CMainDlg& dlg, CNoteWnd&) {
             dlg.OpenFind();
             SetWindowTextW(GetDlgItem(dlg.GetHwnd(), IDC_FIND_EDIT), L"zebra");
             EXPECT_EQ(ListView_GetItemCount(dlg.ListView()), 1) << "the note is found by its new word";
             dlg.RunHousekeepingPass();
         }},
    };
    std::u16string pasted;  // a pasted log of 200000 characters
    while (pasted.size() < 200000)
        pasted += u"12:00:01 a line of a long pasted log\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        m_dlg.reset();
        while (NotePos p = m_app.m_notes.GetHeadPosition())
            m_app.m_notes.Remove(p);
        auto note = std::make_unique<CNote>();
        note->m_strText = pasted;
        note->m_bVisible = 1;
        CNote* raw = note.get();
        m_app.m_notes.Add(note);
        Open();
        ASSERT_TRUE(PumpUntil([&] { return raw->m_pWnd != nullptr; }, 3000));
        const HWND edit = raw->m_pWnd->GetEdit();
        SendMessageW(edit, EM_SETSEL, 0, 0);
        for (wchar_t c : std::wstring(L" zebra"))
            SendMessageW(edit, WM_CHAR, c, 1);
        SendMessageW(edit, EM_SETSEL, 0, 0);
        SendMessageW(edit, WM_CHAR, L'A', 1);
        EXPECT_TRUE(m_app.m_notes.m_bModified) << "unsaved from the first key on";
        c.after(*m_dlg, *raw->m_pWnd);
        CNoteList saved;
        ASSERT_TRUE(saved.Load(m_folder.Path("notes.dat")));
        ASSERT_EQ(saved.m_nCount, 1);
        EXPECT_EQ(saved.GetAt(0)->m_strText, u"A zebra" + pasted);
        PumpPending();
    }
}
