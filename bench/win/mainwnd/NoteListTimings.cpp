// The note list at its fullest and the note windows at their longest, in the
// real main window, each measure beside its reference in the same run:
// - a character typed into Find over 32767 notes, from the key to the rows
//   changed and painted, beside the portable filter alone over the same
//   notes (what the host's BM_FindFilterPerTypedCharacter measures);
// - the start of Velumo.exe until its list holds 32767 notes, beside the
//   start with no notes plus the plain load of the same file;
// - a key typed at the end of a note of 1 MB, from the key to the caret
//   painted, and the same for a note of 1 KB.
// Run under Wine:
//   wine build/win/bench/win/velumo_notelist_bench.exe <folder of Velumo.exe>
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "MainWindowTiming.h"
#include "TestFiles.h"
#include "app/CNotesApp.h"
#include "mainwnd/CMainDlg.h"
#include "mainwnd/MainDlgWithoutSplash.h"
#include "mainwnd/SystemTextFold.h"
#include "mainwnd/WindowMessageTimes.h"
#include "notes/CNoteList.h"
#include "notes/TextFind.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"

namespace {

// 32767 notes of 100 characters from a few words, as the host's find
// benchmark makes them.
void AddWordNotes(CNoteList& notes)
{
    const std::u16string words[] = {u"Milk ", u"bread ", u"Caf\u00E9 ", u"call Peter\r\n", u"rent ", u"apples "};
    unsigned seed = 7;
    for (int i = 0; i < CNoteList::kMaxNotes; ++i) {
        auto note = std::make_unique<CNote>();
        note->m_bVisible = 0;
        while (note->m_strText.size() < 100) {
            seed = seed * 1103515245 + 12345;
            note->m_strText += words[(seed >> 16) % std::size(words)];
        }
        note->m_strText.resize(100);
        notes.Add(note);
    }
}

// A key as the keyboard delivers it, to the window with the focus (the
// message loop makes its character); seconds until every message it caused
// is handled, the paintings included (the loop hands out WM_PAINT once the
// queue is otherwise empty), and `painted` has nothing left to paint.
double TimeKey(HWND target, WPARAM key, HWND painted)
{
    const double start = NowSeconds();
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    PumpWaiting();
    UpdateWindow(painted);
    GdiFlush();
    return NowSeconds() - start;
}

// Where a Find key's time goes: our handlers and the list's own drawing.
void WatchFindKey(WindowMessageTimes& times, HWND dialog, HWND list)
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    times.Watch(dialog, WM_COMMAND, EN_CHANGE, "the rows found (our EN_CHANGE)");
    times.Watch(list, WM_PAINT, 0, "the list's painting");
    times.Watch(dialog, WM_NOTIFY, NM_CUSTOMDRAW, "  our custom draw (in the painting)");
    times.Watch(dialog, WM_NOTIFY, LVN_GETDISPINFOW, "  our row answers (in the painting)");
    times.Watch(list, WM_ERASEBKGND, 0, "the list's background");
    times.Watch(list, WM_NCPAINT, 0, "the list's frame and scroll bars");
    times.Watch(header, WM_PAINT, 0, "the header's painting");
    times.Watch(dialog, WM_PAINT, 0, "the main window's painting");
}

void FindTimings()
{
    CNotesApp app;
    const std::string path = UseTemporaryFiles(app, "velumo-notelist-bench");
    AddWordNotes(app.m_notes);

    // The filter alone: what FindBar asks of every note for a typed text.
    const std::u16string typed = u"peter";
    std::vector<double> filter;
    for (int round = 0; round < 3; ++round) {
        FoldedTextCache cache(SystemTextFold());
        for (size_t length = 1; length <= typed.size(); ++length) {
            const std::u16string query = cache.FoldQuery(typed.substr(0, length));
            const double start = NowSeconds();
            size_t index = 0, kept = 0;
            for (NotePos pos = app.m_notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos), ++index)
                kept += cache.Find(index, pos, app.m_notes.GetAt(pos)->m_strText, query);
            filter.push_back(NowSeconds() - start);
            if (kept > static_cast<size_t>(CNoteList::kMaxNotes))
                std::printf("?");
        }
    }

    MainDlgWithoutSplash dlg(app.m_notes);
    HWND hwnd = OpenMainWindow(app, dlg);
    PumpWaiting();
    dlg.OpenFind();
    PumpWaiting();
    HWND box = GetDlgItem(hwnd, IDC_FIND_EDIT);
    HWND list = dlg.ListView();
    std::vector<double> keys;
    int fewest = CNoteList::kMaxNotes, most = 0;
    const size_t keysARound = 2 * typed.size();
    // Types the word and takes it back, `rounds` times; the keys' times
    // from the second round on.
    const auto typeRounds = [&](int rounds, std::vector<double>& times) {
        for (int round = 0; round < rounds; ++round) {
            for (size_t i = 0; i < keysARound; ++i) {
                const bool back = i >= typed.size();
                const double seconds = TimeKey(box, back ? VK_BACK : towupper(typed[i]), list);
                if (round > 0)
                    times.push_back(seconds);
                fewest = std::min<int>(fewest, ListView_GetItemCount(list));
                most = std::max<int>(most, ListView_GetItemCount(list));
            }
        }
    };
    const double cpuBefore = ThreadCpuSeconds();
    typeRounds(4, keys);
    const double cpuPerKey = (ThreadCpuSeconds() - cpuBefore) * 1000 / static_cast<double>(keys.size() + keysARound);
    // Where the time goes, in keys of their own: watching costs a little.
    WindowMessageTimes times;
    WatchFindKey(times, hwnd, list);
    std::vector<double> watchedKeys;
    typeRounds(3, watchedKeys);
    std::printf("a character typed into Find, 32767 notes (rows %d to %d):\n", fewest, most);
    ReportRuns("key to the rows changed and painted", keys, 2);
    std::printf("  in %zu further keys, watched (median %.2f ms):\n", watchedKeys.size(), Median(watchedKeys) * 1000);
    times.Report(watchedKeys.size() + keysARound);
    // On a machine that other work keeps busy the waits stretch; the
    // processor time this thread spent does not.
    std::printf("  processor time of this thread per key (mean)          %8.2f ms\n", cpuPerKey);
    ReportRuns("the filter alone over the same notes (reference)", filter, 2);
    std::printf("  ratio of the medians: %.2f\n", Median(keys) / Median(filter));
    CloseMainWindow(app, hwnd);
    DeleteFileA(path.c_str());
}

std::u16string TextOfLength(size_t length)
{
    std::u16string text;
    while (text.size() < length)
        text += u"A line of a long pasted log, number " + std::u16string(1, u'0' + text.size() % 10) + u"\r\n";
    text.resize(length);
    return text;
}

void TypingTimings()
{
    CNotesApp app;
    const std::string path = UseTemporaryFiles(app, "velumo-typing-bench");
    for (size_t length : {size_t{1} << 20, size_t{1} << 10}) {
        auto note = std::make_unique<CNote>();
        note->m_strText = TextOfLength(length);
        note->m_bVisible = 1;
        note->m_rcWindow = length > 2000 ? NoteRect{40, 300, 340, 560} : NoteRect{400, 300, 700, 560};
        app.m_notes.Add(note);
    }
    MainDlgWithoutSplash dlg(app.m_notes);
    HWND hwnd = OpenMainWindow(app, dlg);
    WaitForNoteWindows(app);
    for (int n = 0; n < 2; ++n) {
        CNote* note = app.m_notes.GetAt(n);
        if (!note->m_pWnd) {
            std::printf("no window for the note of %zu characters\n", note->m_strText.size());
            continue;
        }
        HWND edit = note->m_pWnd->GetEdit();
        SetForegroundWindow(note->m_pWnd->GetHwnd());
        SetFocus(edit);
        const int end = GetWindowTextLengthW(edit);
        SendMessageW(edit, EM_SETSEL, end, end);
        PumpWaiting();
        // At a typist's pace, so the text taken into the note on the way
        // counts for the keys it falls on.
        std::vector<double> keys;
        for (int i = 0; i < 40; ++i) {
            Sleep(80);
            PumpWaiting();
            keys.push_back(TimeKey(edit, 'A', edit));
        }
        const std::string what = "a key in a note of " + std::string(n == 0 ? "1 MB" : "1 KB") + ", to the caret painted";
        ReportRuns(what.c_str(), keys, 2);
    }
    // The last keys reach the file with the next save.
    dlg.RunHousekeepingPass();
    CNoteList saved;
    saved.Load(path);
    CNote* longNote = app.m_notes.GetAt(0);
    const size_t inWindow = longNote->m_pWnd ? GetWindowTextLengthW(longNote->m_pWnd->GetEdit()) : 0;
    const size_t inFile = saved.m_nCount == 2 ? saved.GetAt(0)->m_strText.size() : 0;
    std::printf("  the long note after the save: %zu characters in its window, %zu in the file%s\n", inWindow,
                inFile, inWindow == inFile ? "" : " (NOT all saved)");
    CloseMainWindow(app, hwnd);
    DeleteFileA(path.c_str());
}

void StartupTimings(const std::string& programFolder)
{
    const std::string folder = CopyOfProgramFolder(programFolder, "velumo-notelist-startup");
    CNoteList full;
    AddWordNotes(full);
    const std::vector<uint8_t> fullBytes = full.StoreToBytes();
    const std::vector<uint8_t> emptyBytes = CNoteList().StoreToBytes();
    const std::string notesFile = folder + "\\notes.dat";
    std::vector<double> withFull, withNone, load;
    for (int i = 0; i < 7; ++i) {
        WriteWholeFile(notesFile, fullBytes);
        withFull.push_back(TimeStartUntilListHolds(folder, CNoteList::kMaxNotes));
        WriteWholeFile(notesFile, emptyBytes);
        withNone.push_back(TimeStartUntilListHolds(folder, 0));
        WriteWholeFile(notesFile, fullBytes);
        CNoteList loaded;
        const double start = NowSeconds();
        loaded.Load(notesFile);
        load.push_back(NowSeconds() - start);
    }
    std::printf("start of Velumo.exe until its list is full (%zu bytes of notes):\n", fullBytes.size());
    ReportRuns("32767 notes", withFull);
    ReportRuns("no notes (reference)", withNone);
    ReportRuns("the plain load of the file (reference)", load);
    std::printf("  ratio, 32767 notes / (no notes + load): %.2f\n",
                Median(withFull) / (Median(withNone) + Median(load)));
    DeleteTree(folder);
}

}  // namespace

int main(int argc, char** argv)
{
    SetUpLikeVelumo();
    FindTimings();
    TypingTimings();
    if (argc > 1)
        StartupTimings(argv[1]);
    else
        std::printf("(give the folder of Velumo.exe to time the start-up too)\n");
    TearDownLikeVelumo();
    return 0;
}
