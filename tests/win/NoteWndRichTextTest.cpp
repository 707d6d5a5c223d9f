// A note's rich text under Wine: the format keys and menu, the filtering
// paste, formats that survive the file and the deleted-notes bin, links
// drawn as links, and a note resized with its text kept in place.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "core/UnicodeText.h"
#include "notes/CNoteList.h"
#include "notes/DeletedNotesBin.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/INoteHost.h"
#include "res/resource.h"
#include "RunsText.h"
#include "WinTestUtil.h"

namespace {

class QuietHost : public INoteHost {
public:
    void NoteChanged(NotePos) override {}
    void NoteMoved() override { m_bSaveNeeded = true; }
    void NoteDeleted(NotePos) override {}
    void UndoLastDelete() override {}
    void UseAsNewNoteStyle(NotePos) override {}
    bool m_bSaveNeeded = false;
};

class NoteWndRichText : public testing::Test {
protected:
    void TearDown() override
    {
        while (NotePos p = m_notes.GetHeadPosition())
            m_notes.Remove(p);
        PumpPending();
    }

    CNote* ShowNote(const char16_t* text, TextFormatRuns runs = {}, CNoteList* list = nullptr)
    {
        CNoteList& into = list ? *list : m_notes;
        auto note = std::make_unique<CNote>();
        note->m_rcWindow = {100, 100, 300, 250};
        note->m_strText = text;
        note->m_formats = std::move(runs);
        CNote* raw = into.GetAt(into.Add(note));
        raw->m_pWnd = CNoteWnd::Create(raw, false, m_host);
        EXPECT_NE(raw->m_pWnd, nullptr);
        PumpPending();
        return raw;
    }

    // A key as the program's loop hands it to the window first.
    static void PressCtrl(CNote* note, WPARAM key, bool shift = false, bool ctrl = true)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG msg{note->m_pWnd->GetEdit(), WM_KEYDOWN, key, 1, 0, {}};
        if (!note->m_pWnd->PreTranslateMessage(msg)) {
            SendMessageW(msg.hwnd, WM_KEYDOWN, key, 1);
            if (key == VK_RETURN)
                SendMessageW(msg.hwnd, WM_CHAR, '\r', 1);
        }
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }

    static std::string TakenRuns(CNote* note)
    {
        CNoteWnd::TakeTypedTexts();
        return RunsText(note->m_formats);
    }

    CNoteList m_notes;
    QuietHost m_host;
};

TEST_F(NoteWndRichText, TheKeysAndTheFormatMenuSetAndClearFormats)
{
    CNote* note = ShowNote(u"one two\r\nthree");
    const HWND edit = note->m_pWnd->GetEdit();
    struct Row {
        const char* label;
        int from, to;  // the control's positions (a line break is one)
        WPARAM key;    // Ctrl+key, or 0 for the menu command
        int command;
        const char* runs;
    } rows[] = {
        {"Ctrl+B on a word", 0, 3, 'B', 0, "0+3:1 "},
        {"Ctrl+I over the bold word and the next", 0, 7, 'I', 0, "0+3:3 3+4:2 "},
        {"Ctrl+B again where only part is bold: all bold", 0, 7, 'B', 0, "0+7:3 "},
        {"and once more: none bold", 0, 7, 'B', 0, "0+7:2 "},
        {"Ctrl+U on the second word", 4, 7, 'U', 0, "0+4:2 4+3:6 "},
        {"the menu's strike-through on the next line", 8, 13, 0, ID_NOTE_FORMAT_FIRST + 3, "0+4:2 4+3:6 9+5:8 "},
        {"Ctrl+T takes it off", 8, 13, 'T', 0, "0+4:2 4+3:6 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        m_host.m_bSaveNeeded = false;
        SendMessageW(edit, EM_SETSEL, row.from, row.to);
        if (row.key)
            PressCtrl(note, row.key);
        else
            SendMessageW(note->m_pWnd->GetHwnd(), WM_COMMAND, row.command, 0);
        EXPECT_TRUE(m_host.m_bSaveNeeded);
        EXPECT_EQ(TakenRuns(note), row.runs);
        EXPECT_EQ(note->m_strText, u"one two\r\nthree");
    }
}

TEST_F(NoteWndRichText, APasteKeepsTheFourFormatsAndLineBreaksOnly)
{
    CNote* note = ShowNote(u"[]");
    const HWND edit = note->m_pWnd->GetEdit();
    const std::string rtf =
        R"({\rtf1\ansi{\fonttbl{\f0\fswiss Impact;}}{\colortbl;\red255\green0\blue0;})"
        R"(\f0\fs72\cf1 big {\b bold}\par {\pict\pngblip 89504e470d0a}{\i\strike it}{\object\objemb{\*\objdata 01}}})";
    struct Row {
        const char* label;
        bool plain;
        const char* text;
        const char* runs;
    } rows[] = {
        {"rich text: its formats and break, no font, colour, picture or object", false, "[big bold\r\nit]",
         "5+4:1 11+2:10 "},
        {"Ctrl+Shift+V: the plain text", true, "[big bold\r\nit]", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, WM_CHAR, '[', 1);
        SendMessageW(edit, WM_CHAR, ']', 1);
        ASSERT_TRUE(OpenClipboard(note->m_pWnd->GetHwnd()));
        EmptyClipboard();
        HGLOBAL rich = GlobalAlloc(GMEM_MOVEABLE, rtf.size() + 1);
        std::memcpy(GlobalLock(rich), rtf.c_str(), rtf.size() + 1);
        GlobalUnlock(rich);
        SetClipboardData(RegisterClipboardFormatW(L"Rich Text Format"), rich);
        const char plainText[] = "big bold\r\nit";
        HGLOBAL plain = GlobalAlloc(GMEM_MOVEABLE, sizeof plainText);
        std::memcpy(GlobalLock(plain), plainText, sizeof plainText);
        GlobalUnlock(plain);
        SetClipboardData(CF_TEXT, plain);
        CloseClipboard();

        SendMessageW(edit, EM_SETSEL, 1, 1);
        if (row.plain)
            PressCtrl(note, 'V', true);
        else
            SendMessageW(edit, WM_PASTE, 0, 0);
        EXPECT_EQ(Utf8FromUtf16(note->m_strText), row.text);
        EXPECT_EQ(TakenRuns(note), row.runs);
        // What came in has the note's own font and ink.
        CHARFORMAT2W cf{};
        cf.cbSize = sizeof cf;
        SendMessageW(edit, EM_SETSEL, 1, 12);
        SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        EXPECT_TRUE(cf.dwMask & CFM_FACE);
        EXPECT_NE(std::wstring(cf.szFaceName), L"Impact");
        EXPECT_TRUE((cf.dwMask & CFM_COLOR) && cf.crTextColor == note->m_crText);
    }
}

TEST_F(NoteWndRichText, FormatsComeBackAfterTheFileAndTheBin)
{
    const TextFormatRuns runs = {{0, 3, kFormatBold}, {5, 2, kFormatItalic | kFormatUnderline}, {9, 1, kFormatStrike}};
    struct Row {
        const char* label;
        bool throughBin;
    } rows[] = {{"saved and loaded", false}, {"deleted and taken back from the bin", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CNoteList list;
        CNote* shown = ShowNote(u"abc\r\ndefgh", runs, &list);
        CNoteWnd::TakeTypedTexts();
        ASSERT_EQ(RunsText(shown->m_formats), RunsText(runs)) << "the window gives back what it was given";
        CNoteList back;
        if (row.throughBin) {
            CDeletedNotesBin bin;
            bin.Add(*shown, 0);
            list.Remove(shown->m_pos);
            CDeletedNotesBin reread;
            ASSERT_TRUE(reread.LoadFromBytes(bin.StoreToBytes(), 0));
            back.Add(reread.Take(0));
        } else {
            ASSERT_TRUE(back.LoadFromBytes(list.StoreToBytes()));
        }
        CNote* again = back.GetAt(0);
        ASSERT_NE(again, nullptr);
        again->m_pWnd = CNoteWnd::Create(again, false, m_host);
        ASSERT_NE(again->m_pWnd, nullptr);
        again->m_formats.clear();
        SendMessageW(again->m_pWnd->GetEdit(), EM_SETSEL, 0, 0);
        PressCtrl(again, 'B');
        PressCtrl(again, 'B');  // on and off at the caret: the text's formats are read again
        EXPECT_EQ(TakenRuns(again), RunsText(runs));
    }
}

// The stretches drawn as links, as "start+length " in the control's positions.
std::string LinksShown(HWND edit)
{
    CHARRANGE kept{};
    SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    GETTEXTLENGTHEX units{GTL_PRECISE | GTL_NUMCHARS, 1200};
    const auto length = static_cast<LONG>(SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&units), 0));
    std::string out;
    LONG start = -1;
    for (LONG i = 0; i <= length; ++i) {
        CHARFORMAT2W cf{};
        cf.cbSize = sizeof cf;
        if (i < length) {
            SendMessageW(edit, EM_SETSEL, i, i + 1);
            SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        }
        const bool link = cf.dwEffects & CFE_LINK;
        if (link && start < 0)
            start = i;
        if (!link && start >= 0) {
            out += std::to_string(start) + "+" + std::to_string(i - start) + " ";
            start = -1;
        }
    }
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    return out;
}

void PutTextOnClipboard(HWND owner, const wchar_t* text)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(data), text, bytes);
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
}

TEST_F(NoteWndRichText, WebAndMailAddressesAreDrawnAsLinksAndNeverStoredAsFormats)
{
    const auto type = [](HWND edit, std::u16string_view text) {
        for (char16_t c : text)
            SendMessageW(edit, WM_CHAR, c, 1);
    };
    struct Row {
        const char* label;
        const char16_t* loaded;
        std::function<void(CNote*, HWND)> act;
        const char* text;
        const char* links;
    } rows[] = {
        {"loaded", u"see https://velumo.invalid/x, then", [](CNote*, HWND) {}, "see https://velumo.invalid/x, then",
         "4+24 "},
        {"typed: the space after it ends it", u"", [&](CNote*, HWND edit) { type(edit, u"go www.velumo.invalid now"); },
         "go www.velumo.invalid now", "3+18 "},
        {"pasted: each address in it", u"[]",
         [&](CNote* note, HWND edit) {
             PutTextOnClipboard(note->m_pWnd->GetHwnd(), L"x mailto:a@b.invalid\r\nhttps://c.invalid");
             SendMessageW(edit, EM_SETSEL, 1, 1);
             SendMessageW(edit, WM_PASTE, 0, 0);
         },
         "[x mailto:a@b.invalid\r\nhttps://c.invalid]", "3+18 22+17 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CNote* note = ShowNote(row.loaded);
        const HWND edit = note->m_pWnd->GetEdit();
        row.act(note, edit);
        CNoteWnd::TakeTypedTexts();
        EXPECT_EQ(Utf8FromUtf16(note->m_strText), row.text);
        EXPECT_EQ(LinksShown(edit), row.links);
        for (const TextFormatRun& run : note->m_formats)
            EXPECT_FALSE(run.formats & kFormatUnderline) << "a link is drawn underlined but is no underline";
        m_notes.Remove(note->m_pos);
    }
}

TEST_F(NoteWndRichText, TypedLinksAreTakenBackByCtrlZWithTheirText)
{
    CNote* note = ShowNote(u"");
    const HWND edit = note->m_pWnd->GetEdit();
    for (char16_t c : std::u16string_view(u"see https://velumo.invalid now"))
        SendMessageW(edit, WM_CHAR, c, 1);
    // However the typing is grouped into steps, every Ctrl+Z takes back
    // some of the text: the marks drawn on a link are no steps of their own.
    for (int step = 1; !note->m_strText.empty() && step <= 40; ++step) {
        SCOPED_TRACE(step);
        CNoteWnd::TakeTypedTexts();
        const std::u16string before = note->m_strText;
        PressCtrl(note, 'Z');
        CNoteWnd::TakeTypedTexts();
        ASSERT_NE(Utf8FromUtf16(note->m_strText), Utf8FromUtf16(before));
    }
    EXPECT_EQ(note->m_strText, u"");
}

// Keys pressed on the keyboard, as the system queues them.
void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    std::vector<INPUT> input;
    for (const auto& [key, up] : keys) {
        INPUT one{};
        one.type = INPUT_KEYBOARD;
        one.ki.wVk = key;
        one.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        input.push_back(one);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

TEST_F(NoteWndRichText, AFormatKeyAtTheCaretCarriesToTheKeysTypedNext)
{
    struct Row {
        const char* label;
        const char16_t* loaded;
        int caret;  // -1: all the text selected
        WORD key;
        const char* runs;
    } rows[] = {
        {"Ctrl+B in a new note", u"", 0, 'B', "0+2:1 "},
        {"Ctrl+I", u"", 0, 'I', "0+2:2 "},
        {"Ctrl+U", u"", 0, 'U', "0+2:4 "},
        {"Ctrl+T", u"", 0, 'T', "0+2:8 "},
        {"Ctrl+B between plain words", u"one two", 4, 'B', "4+2:1 "},
        {"Ctrl+B after an address", u"www.velumo.invalid ", 19, 'B', "19+2:1 "},
        {"Ctrl+B over a new note's selected placeholder, typed over", u"(Your text goes here)", -1, 'B', "0+2:1 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CNote* note = ShowNote(row.loaded);
        const HWND hwnd = note->m_pWnd->GetHwnd(), edit = note->m_pWnd->GetEdit();
        SetForegroundWindow(hwnd);
        SetFocus(edit);
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == edit; }, 2000, true));
        SendMessageW(edit, EM_SETSEL, row.caret < 0 ? 0 : row.caret, row.caret);
        SendKeys({{VK_CONTROL, false}, {row.key, false}, {row.key, true}, {VK_CONTROL, true}});
        PumpUntil([] { return false; }, 150, true);  // the note's focus delay passes too
        SendKeys({{'X', false}, {'X', true}, {'Y', false}, {'Y', true}});
        PumpUntil([&] { return Utf8FromUtf16(note->m_strText).find("xy") != std::string::npos; }, 2000, true);
        EXPECT_NE(Utf8FromUtf16(note->m_strText).find("xy"), std::string::npos);
        EXPECT_EQ(TakenRuns(note), row.runs);
        m_notes.Remove(note->m_pos);
    }
}

TEST_F(NoteWndRichText, ResizingKeepsTheSelectionAndShowsTheBarOnlyWhileTheTextDoesNotFit)
{
    CNote* note = ShowNote(u"alpha beta\r\ngamma\r\ndelta");
    const HWND hwnd = note->m_pWnd->GetHwnd(), edit = note->m_pWnd->GetEdit();
    SendMessageW(edit, EM_SETSEL, 8, 8);
    struct Row {
        const char* label;
        int cx, cy;  // the window's size, dragged to
        bool bar;
    } rows[] = {
        {"as shown: it fits, no bar", 200, 150, false},
        {"dragged down to its smallest: the bar", 1, 1, true},
        {"and back: no bar", 200, 150, false},
        {"taller and narrower, the lines wrapping", 90, 400, false},
        {"wider", 400, 150, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        RECT proposed{100, 100, 100 + row.cx, 100 + row.cy};
        SendMessageW(hwnd, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
        SetWindowPos(hwnd, nullptr, 0, 0, row.cx, row.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        PumpPending();
        EXPECT_EQ((GetWindowLongPtrW(edit, GWL_STYLE) & WS_VSCROLL) != 0, row.bar);
        CHARRANGE sel{};
        SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
        EXPECT_EQ(sel.cpMin * 100 + sel.cpMax, 808) << "the caret stays where it was, nothing selected";
        POINT scrolled{};
        SendMessageW(edit, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scrolled));
        EXPECT_EQ(scrolled.x, 0) << "never scrolled sideways";
    }
    SendMessageW(edit, WM_CHAR, '!', 1);
    CNoteWnd::TakeTypedTexts();
    EXPECT_EQ(Utf8FromUtf16(note->m_strText), "alpha be!ta\r\ngamma\r\ndelta") << "the next key replaces nothing";
}

std::u16string s_opened;
int s_openCount = 0;

void RecordOpen(const std::u16string& address)
{
    s_opened = address;
    ++s_openCount;
}

TEST_F(NoteWndRichText, ChecklistsByTypingEnterAClickAndCtrlEnter)
{
    CNote* note = ShowNote(u"");
    const HWND edit = note->m_pWnd->GetEdit();
    const auto type = [&](std::u16string_view text) {
        for (char16_t c : text) {
            if (c == u'\r')
                PressCtrl(note, VK_RETURN, false, false);
            else
                SendMessageW(edit, WM_CHAR, c, 1);
        }
    };
    const auto clickBox = [&](LONG lineStart) {
        POINTL at{};
        SendMessageW(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), lineStart);
        SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x + 2, at.y + 3));
        SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(at.x + 2, at.y + 3));
    };
    struct Row {
        const char* label;
        std::function<void()> act;
        const char* text;
        LONG caret;  // where the caret is afterwards, in the control's positions
    } rows[] = {
        {"[] and a space make a box", [&] { type(u"[] milk"); }, "☐ milk", 6},
        {"Enter at the end: the next item", [&] { type(u"\rbread\rtea"); }, "☐ milk\r\n☐ bread\r\n☐ tea", 20},
        {"a click on the second box ticks it, the caret stays", [&] { clickBox(7); },
         "☐ milk\r\n☑ bread\r\n☐ tea", 20},
        {"Ctrl+Enter ticks the caret's item and adds no line", [&] { PressCtrl(note, VK_RETURN); },
         "☐ milk\r\n☑ bread\r\n☑ tea", 20},
        {"a click on the ticked box unticks it", [&] { clickBox(7); }, "☐ milk\r\n☐ bread\r\n☑ tea", 20},
        {"Enter after a ticked item: an open one", [&] { type(u"\r"); }, "☐ milk\r\n☐ bread\r\n☑ tea\r\n☐ ", 23},
        {"Enter on the empty item ends the list", [&] { type(u"\r"); }, "☐ milk\r\n☐ bread\r\n☑ tea\r\n", 21},
        {"Ctrl+Shift+L makes the selection a bulleted list", [&] {
             SendMessageW(edit, EM_SETSEL, 0, 13);
             PressCtrl(note, 'L', true);
         }, "• milk\r\n• bread\r\n☑ tea\r\n", 14},
        {"the Format menu's bulleted list on a bulleted selection takes the bullets off", [&] {
             SendMessageW(edit, EM_SETSEL, 0, 13);
             SendMessageW(note->m_pWnd->GetHwnd(), WM_COMMAND, ID_NOTE_BULLETS, 0);
         }, "milk\r\nbread\r\n☑ tea\r\n", 10},
        {"the Format menu's checklist boxes the selection", [&] {
             SendMessageW(edit, EM_SETSEL, 0, 9);
             SendMessageW(note->m_pWnd->GetHwnd(), WM_COMMAND, ID_NOTE_CHECKLIST, 0);
         }, "☐ milk\r\n☐ bread\r\n☑ tea\r\n", 14},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        row.act();
        CNoteWnd::TakeTypedTexts();
        EXPECT_EQ(Utf8FromUtf16(note->m_strText), row.text);
        CHARRANGE sel{};
        SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
        EXPECT_EQ(sel.cpMax, row.caret);
    }
    EXPECT_NE(TakenRuns(note).find(":8"), std::string::npos) << "the ticked item is struck through";
}

TEST_F(NoteWndRichText, ACtrlClickOpensWebAndMailAddressesAndNothingElse)
{
    NoteRichEdit::SetLinkOpener(&RecordOpen);
    struct Row {
        const char* label;
        const char16_t* text;
        bool ctrl;
        const char* opened;
    } rows[] = {
        {"https", u"https://velumo.invalid/x", true, "https://velumo.invalid/x"},
        {"www. as http", u"www.velumo.invalid", true, "http://www.velumo.invalid"},
        {"a plain click only places the caret", u"https://velumo.invalid/x", false, ""},
        {"file:", u"file:///C:/windows/system32/calc.exe", true, ""},
        {"a program's path", u"C:\\windows\\notepad.exe", true, ""},
        {"another scheme", u"ms-settings:privacy", true, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CNote* note = ShowNote(row.text);
        const HWND edit = note->m_pWnd->GetEdit();
        s_opened.clear();
        s_openCount = 0;
        POINTL at{};
        SendMessageW(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), 6);
        const WPARAM keys = MK_LBUTTON | (row.ctrl ? MK_CONTROL : 0);
        SendMessageW(edit, WM_LBUTTONDOWN, keys, MAKELPARAM(at.x + 1, at.y + 3));
        SendMessageW(edit, WM_LBUTTONUP, keys & ~MK_LBUTTON, MAKELPARAM(at.x + 1, at.y + 3));
        EXPECT_EQ(Utf8FromUtf16(s_opened), row.opened);
        EXPECT_EQ(s_openCount, *row.opened ? 1 : 0);
        m_notes.Remove(note->m_pos);
    }
    NoteRichEdit::SetLinkOpener(nullptr);
}

}  // namespace
