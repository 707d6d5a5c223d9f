// Start-up of the real program to its filled main window with 0, 1000 and
// 10000 notes (all hidden, so no note windows), the same window made with
// and without its start-up splash, and one housekeeping tick of the main
// window over 10000 notes. Run under Wine:
//   wine build/win/bench/win/mainwnd/velumo_mainwnd_bench.exe <folder of Velumo.exe>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "MainWindowTiming.h"
#include "TestFiles.h"
#include "app/CNotesApp.h"
#include "core/UnicodeText.h"
#include "mainwnd/CMainDlg.h"
#include "mainwnd/MainDlgWithoutSplash.h"
#include "notes/CNoteList.h"
#include "res/resource.h"
#include "skin/CSplashWindow.h"

namespace {

std::vector<uint8_t> HiddenNotes(int count)
{
    CNoteList list;
    for (int i = 0; i < count; ++i) {
        auto note = std::make_unique<CNote>();
        note->m_strText = Utf16FromUtf8("Note number " + std::to_string(i) + " with a line of text to show in the list");
        note->m_bVisible = 0;
        list.Add(note);
    }
    return list.StoreToBytes();
}

void StartupTimings(const std::string& programFolder)
{
    const std::string folder = CopyOfProgramFolder(programFolder, "velumo-startup-bench");
    for (int notes : {0, 1000, 10000}) {
        const auto bytes = HiddenNotes(notes);
        std::vector<double> runs;
        for (int i = 0; i < 5; ++i) {
            WriteWholeFile(folder + "\\notes.dat", bytes);
            runs.push_back(TimeStartUntilListHolds(folder, notes));
        }
        ReportRuns(("start-up to a filled main window, " + std::to_string(notes) + " notes").c_str(), runs);
    }
    DeleteTree(folder);
}

void TickTimings()
{
    CNotesApp app;
    const std::string path = UseTemporaryFiles(app, "velumo-tick-bench");
    for (int i = 0; i < 10000; ++i) {
        auto note = std::make_unique<CNote>();
        note->m_bVisible = 0;
        note->m_bSchedDisabled = i % 2;  // half of them scheduled (daily, not due today)
        note->m_nSchedKind = 1;
        note->m_recur[0] = 1;
        note->m_tLastShown = CurrentNoteTime();
        app.m_notes.Add(note);
    }
    CMainDlg dlg(app.m_notes);
    HWND hwnd = OpenMainWindow(app, dlg);
    std::vector<double> withSave, withoutSave;
    for (int i = 0; i < 7; ++i) {
        app.m_notes.m_bModified = 1;
        double start = NowSeconds();
        dlg.RunHousekeepingPass();
        withSave.push_back(NowSeconds() - start);
        start = NowSeconds();
        dlg.RunHousekeepingPass();
        withoutSave.push_back(NowSeconds() - start);
    }
    std::printf("housekeeping tick, 10000 notes, nothing to save: median %6.2f ms\n", Median(withoutSave) * 1000);
    std::printf("housekeeping tick, 10000 notes, with the save:   median %6.2f ms\n", Median(withSave) * 1000);
    CloseMainWindow(app, hwnd);
    DeleteFileA(path.c_str());
}

// Seconds from making the main window until it shows its filled list,
// painted, with everything waiting dispatched.
template <typename Dialog>
double TimeMainWindow(CNotesApp& app)
{
    const double start = NowSeconds();
    Dialog dlg(app.m_notes);
    HWND hwnd = OpenMainWindow(app, dlg);
    UpdateWindow(hwnd);
    PumpWaiting();
    const double seconds = NowSeconds() - start;
    CloseSplash();
    CloseMainWindow(app, hwnd);
    return seconds;
}

void SplashTimings()
{
    CNotesApp app;
    const std::string path = UseTemporaryFiles(app, "velumo-splash-bench");
    WriteWholeFile(path, HiddenNotes(1000));
    app.m_notes.Load(path);
    // Turn about, so that drift of the machine touches both alike.
    std::vector<double> with, without, splashOnly;
    TimeMainWindow<CMainDlg>(app);  // warm-up: classes, fonts, skin files
    for (int i = 0; i < 15; ++i) {
        with.push_back(TimeMainWindow<CMainDlg>(app));
        without.push_back(TimeMainWindow<MainDlgWithoutSplash>(app));
    }
    // The splash alone: picture loaded, window made, centred and painted.
    SetSplashEnabled(true);
    for (int i = 0; i < 15; ++i) {
        const double start = NowSeconds();
        OpenSplash(nullptr);
        splashOnly.push_back(NowSeconds() - start);
        CloseSplash();
        PumpWaiting();
    }
    ReportRuns("main window filled (1000 notes), with the splash", with, 2);
    ReportRuns("main window filled (1000 notes), without the splash", without, 2);
    ReportRuns("opening the splash alone", splashOnly, 2);
    DeleteFileA(path.c_str());
}

// Find over the fullest list: each typed character of "peter" filters 32767
// notes of 100 characters, with the list filled again and painted.
void FindTimings()
{
    CNotesApp app;
    const std::string path = UseTemporaryFiles(app, "velumo-find-bench");
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
        app.m_notes.Add(note);
    }
    MainDlgWithoutSplash dlg(app.m_notes);
    HWND hwnd = OpenMainWindow(app, dlg);
    PumpWaiting();
    double start = NowSeconds();
    dlg.OpenFind();
    PumpWaiting();
    std::printf("find, 32767 notes: opening the box %6.1f ms\n", (NowSeconds() - start) * 1000);
    HWND box = GetDlgItem(hwnd, IDC_FIND_EDIT);
    HWND list = dlg.ListView();
    for (int round = 0; round < 2; ++round) {
        for (const wchar_t* typed : {L"", L"p", L"pe", L"pet", L"pete", L"peter", L"peterx"}) {
            start = NowSeconds();
            SetWindowTextW(box, typed);
            UpdateWindow(list);
            PumpWaiting();
            if (round == 1)
                std::printf("find, 32767 notes: \"%ls\" typed, %5d rows, %7.1f ms\n", typed,
                            static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)),
                            (NowSeconds() - start) * 1000);
        }
    }
    CloseMainWindow(app, hwnd);
    DeleteFileA(path.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    SetUpLikeVelumo();
    TickTimings();
    SplashTimings();
    FindTimings();
    if (argc > 1)
        StartupTimings(argv[1]);
    else
        std::printf("(give the folder of Velumo.exe to time the start-up too)\n");
    TearDownLikeVelumo();
    return 0;
}
