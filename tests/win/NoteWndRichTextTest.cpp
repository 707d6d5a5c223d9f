// A note's rich text under Wine: the format keys and menu, the filtering
// paste, and formats that survive the file and the deleted-notes bin.
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

std::string RunsText(const TextFormatRuns& runs)
{
    std::string out;
    for (const TextFormatRun& run : runs)
        out += std::to_string(run.start) + "+" + std::to_string(run.length) + ":" + std::to_string(run.formats) + " ";
    return out;
}

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
