// A key typed into a long rich note, in the real main window: from the key
// to the caret painted, for a note of 100 KB with 1000 format runs and, as
// the reference, the same text with none. The key lands in the middle of the
// text, so every run after it moves.
// Run under Wine:
//   wine build/win/bench/win/velumo_richnote_bench.exe
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "MainWindowTiming.h"
#include "app/CNotesApp.h"
#include "mainwnd/CMainDlg.h"
#include "mainwnd/MainDlgWithoutSplash.h"
#include "notes/CNoteList.h"
#include "notewnd/CNoteWnd.h"

namespace {

constexpr size_t kTextLength = 100 * 1024;
constexpr uint32_t kRuns = 1000;
constexpr int kKeys = 30;

std::u16string LongText()
{
    std::u16string text;
    while (text.size() < kTextLength)
        text += u"Milk, bread, call the plumber at www.velumo.example about the tap " +
                std::u16string(1, u'0' + text.size() % 10) + u"\r\n";
    text.resize(kTextLength);
    return text;
}

// Runs of eight characters spread evenly over the text, the four formats
// and their pairs in turn, none starting inside a line break.
TextFormatRuns ManyRuns(const std::u16string& text)
{
    static constexpr uint8_t kFormats[] = {kFormatBold,   kFormatItalic, kFormatUnderline,
                                           kFormatStrike, kFormatBold | kFormatItalic};
    TextFormatRuns runs;
    const uint32_t step = static_cast<uint32_t>(text.size()) / kRuns;
    for (uint32_t i = 0; i < kRuns; ++i) {
        uint32_t start = i * step;
        while (text[start] == u'\r' || text[start] == u'\n')
            ++start;
        runs.push_back({start, 8, kFormats[i % std::size(kFormats)]});
    }
    return runs;
}

// A key as the keyboard delivers it to the window with the focus (the
// message loop makes its character); seconds until everything it caused is
// handled and the control is painted.
double TimeKey(HWND edit)
{
    const double start = NowSeconds();
    PostMessageW(edit, WM_KEYDOWN, 'A', 1);
    PostMessageW(edit, WM_KEYUP, 'A', 0xC0000001);
    PumpWaiting();
    UpdateWindow(edit);
    GdiFlush();
    return NowSeconds() - start;
}

}  // namespace

int main()
{
    SetUpLikeVelumo();
    CNotesApp app;
    const std::string path = UseTemporaryFiles(app, "velumo-richnote-bench");
    const std::u16string text = LongText();
    for (bool formatted : {true, false}) {
        auto note = std::make_unique<CNote>();
        note->m_strText = text;
        if (formatted)
            note->m_formats = ManyRuns(text);
        note->m_bVisible = 1;
        note->m_rcWindow = formatted ? NoteRect{40, 300, 340, 560} : NoteRect{400, 300, 700, 560};
        app.m_notes.Add(note);
    }
    MainDlgWithoutSplash dlg(app.m_notes);
    HWND hwnd = OpenMainWindow(app, dlg);
    WaitForNoteWindows(app);
    std::printf("a key in the middle of a note of %zu characters, to the caret painted (%d keys):\n", kTextLength,
                kKeys);
    for (int n = 0; n < 2; ++n) {
        CNote* note = app.m_notes.GetAt(n);
        if (!note->m_pWnd) {
            std::printf("no window for the note\n");
            continue;
        }
        HWND edit = note->m_pWnd->GetEdit();
        SetForegroundWindow(note->m_pWnd->GetHwnd());
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, kTextLength / 2, kTextLength / 2);
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
        PumpWaiting();
        // At a typist's pace, so the text taken into the note on the way
        // counts for the keys it falls on.
        std::vector<double> keys;
        for (int i = 0; i < kKeys; ++i) {
            Sleep(80);
            PumpWaiting();
            keys.push_back(TimeKey(edit));
        }
        ReportRuns(n == 0 ? "1000 format runs" : "no formats (reference)", keys, 2);
    }
    // Taking the runs, as the next save does.
    CNote* formatted = app.m_notes.GetAt(0);
    const double start = NowSeconds();
    CNoteWnd::TakeTypedTexts();
    std::printf("  the runs taken for the save: %zu, in %.1f ms\n", formatted->m_formats.size(),
                (NowSeconds() - start) * 1000);
    CloseMainWindow(app, hwnd);
    DeleteFileA(path.c_str());
    TearDownLikeVelumo();
    return 0;
}
