// Start-up of the real program beside bare Win32 programs doing the least
// the same result needs, measured in one run, taking turns:
// - 1000 visible notes until every note window is on screen, against a bare
//   loop that makes 1000 tool windows with an edit child and a region at the
//   same places with the same texts, fonts and paper, once with plain edit
//   children and once with rich edit children (what Velumo's note boxes are);
// - no notes until the main window is on screen, against a trivial window,
//   the same window after loading and setting up the common controls (their
//   share of the start-up), and a trivial dialog holding a list view (what
//   the platform itself costs for a window like the main window);
// - three notes: start to the main window on screen beside "E&xit" to the
//   end of the process, so ending is held to what starting costs.
// Both sides are separate processes started the same way. Run under Wine:
//   wine build/win/bench/win/velumo_startup_bench.exe <folder of Velumo.exe>
// With "dpi" as the second argument it times the program against itself
// instead: at 144 DPI (150%) and at 96 DPI, taking turns, to the main window
// with no notes and until 1000 visible notes are on screen. Wine gives each
// new process the DPI the prefix's registry holds then (the value LogPixels
// of HKCU "Control Panel\Desktop"), so both scales are measured in one run;
// the value is put back at the end. (Windows itself reads it at sign-in.)
// With "steps" as the second argument it shows where Velumo's own start-up
// goes instead: velumo_startup_steps.exe (beside this program) runs the
// program's application object and main window with a mark at the end of
// each step, in a fresh process from the copy's folder, with no notes; the
// medians of each step and of the time since the process was made.
// With "main" and the folder of another build of Velumo.exe as the third
// argument, that build is timed too, in the same rounds, to the main window.
// With "notes" only the 1000 visible notes are timed, and another build
// given as the third argument beside them in the same rounds (a change
// measured before and after, on the same machine at the same time).
// The program runs itself with --bare-notes <notes file>, --bare-rich-notes
// <notes file>, --trivial-window, --comctl-window <Velumo.exe> or
// --listview-dialog <Velumo.exe> as the references; the last two take the
// common controls Velumo's manifest asks for (version 6) from Velumo.exe, as
// Velumo gets them.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "WinTiming.h"
#include "framework/LogFontA.h"
#include "notes/CNoteList.h"
#include "core/UnicodeText.h"

namespace {

constexpr const wchar_t* kBareNoteClass = L"VelumoBareNote";
constexpr const wchar_t* kTrivialClass = L"VelumoTrivialWindow";
constexpr const wchar_t* kDialogClass = L"#32770";

std::vector<uint8_t> VisibleNotes(int count)
{
    CNoteList list;
    for (int i = 0; i < count; ++i) {
        auto note = std::make_unique<CNote>();  // placed at random, as new notes are
        note->m_strText = Utf16FromUtf8("Note number " + std::to_string(i) + "\r\nwith a second line");
        note->m_bVisible = 1;
        list.Add(note);
    }
    return list.StoreToBytes();
}

// --- the references -------------------------------------------------------

// The paper of the bare notes' boxes (null: the system's window colour).
HBRUSH s_paperBrush = nullptr;
COLORREF s_paper = 0;

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CTLCOLOREDIT && s_paperBrush) {
        SetBkColor(reinterpret_cast<HDC>(wParam), s_paper);
        return reinterpret_cast<LRESULT>(s_paperBrush);
    }
    if (msg == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int RunMessageLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// The class of the note's box in the bare loop: the plain edit control, or
// the rich edit control of the newest library the system has (as Velumo's
// note windows load it, with OLE started for its clipboard).
const wchar_t* BareBoxClass(bool rich)
{
    if (!rich)
        return L"EDIT";
    OleInitialize(nullptr);
    if (LoadLibraryW(L"Msftedit.dll"))
        return L"RICHEDIT50W";
    return LoadLibraryW(L"Riched20.dll") ? L"RichEdit20W" : nullptr;
}

// One tool window per note of the file, with an edit child holding its text
// and a polygon region, shown without activation: what a note window is,
// without the program around it. The box looks as Velumo shows it: the
// note's font (made once and shared by every box, as a program showing many
// boxes in one font would; the file's notes all have the new-note look), its
// paper behind the text, its styles and size. The ink is the
// controls' own black, as the notes' is.
int RunBareNotes(const char* notesFile, bool rich)
{
    const wchar_t* boxClass = BareBoxClass(rich);
    if (!boxClass)
        return 1;
    CNoteList notes;
    if (!notes.Load(notesFile) || !notes.GetHeadPosition())
        return 1;
    const CNote* first = notes.GetAt(notes.GetHeadPosition());
    const LOGFONTA lf = ToLogFontA(first->m_logFont);
    const HFONT font = CreateFontIndirectA(&lf);
    s_paper = first->m_crBack;
    s_paperBrush = CreateSolidBrush(s_paper);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = s_paperBrush;
    wc.lpszClassName = kBareNoteClass;
    RegisterClassExW(&wc);
    // A rich edit box shows its scroll bar only while the text does not fit,
    // as a note's does; a plain one would show it always.
    const DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | (rich ? WS_VSCROLL : 0);
    for (NotePos pos = notes.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos)) {
        const CNote* note = notes.GetAt(pos);
        const NoteRect& rc = note->m_rcWindow;
        const int w = rc.Width(), h = rc.Height();
        HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kBareNoteClass, L"", WS_POPUP, rc.left, rc.top, w, h,
                                    GetDesktopWindow(), nullptr, wc.hInstance, nullptr);
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        HWND box = CreateWindowExW(0, boxClass, reinterpret_cast<const wchar_t*>(note->m_strText.c_str()), style, 15,
                                   15, w - 30, h - 35, hwnd, nullptr, wc.hInstance, nullptr);
        // Nothing is painted before the message loop: the box is drawn once,
        // in its font and on its paper.
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (rich)
            SendMessageW(box, EM_SETBKGNDCOLOR, 0, s_paper);
        const POINT outline[] = {{0, 0}, {w, 0}, {w, h - 20}, {w - 20, h}, {0, h}};
        SetWindowRgn(hwnd, CreatePolygonRgn(outline, 5, ALTERNATE), TRUE);
    }
    return RunMessageLoop();
}

int RunTrivialWindow()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kTrivialClass;
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, kTrivialClass, L"Trivial", WS_OVERLAPPEDWINDOW, 100, 100, 545, 260, nullptr,
                                nullptr, wc.hInstance, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return RunMessageLoop();
}

// The common controls of Velumo's manifest, loaded and set up with the
// classes Velumo asks for, as Velumo does before its first window. Loaded
// here rather than imported, so that the plain trivial window does not pay
// for them.
bool LoadCommonControls(const char* velumoExe)
{
    ACTCTXA context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = velumoExe;
    context.lpResourceName = MAKEINTRESOURCEA(1);  // the process manifest
    HANDLE handle = CreateActCtxA(&context);
    ULONG_PTR cookie = 0;
    if (handle == INVALID_HANDLE_VALUE || !ActivateActCtx(handle, &cookie))
        return false;
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = comctl ? reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")))
                       : nullptr;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    return init && init(&controls);
}

int RunComctlWindow(const char* velumoExe)
{
    if (!LoadCommonControls(velumoExe))
        return 1;
    return RunTrivialWindow();
}

INT_PTR CALLBACK ListDialogProc(HWND hwnd, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_CLOSE) {
        EndDialog(hwnd, 0);
        return TRUE;
    }
    return msg == WM_INITDIALOG;
}

// A dialog with the main window's template: 389 x 357 units, "MS Sans
// Serif" 8, one report list view; nothing else.
int RunListViewDialog(const char* velumoExe)
{
    if (!LoadCommonControls(velumoExe))
        return 1;
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
        WORD pointSize;
        wchar_t font[14];
        alignas(4) DLGITEMTEMPLATE item;
        wchar_t itemClass[16];
        WORD itemTitle, extra;
    } t{};
    t.dialog.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT;
    t.dialog.cdit = 1;
    t.dialog.x = 10;
    t.dialog.y = 10;
    t.dialog.cx = 389;
    t.dialog.cy = 357;
    t.pointSize = 8;
    lstrcpyW(t.font, L"MS Sans Serif");
    t.item.style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
    t.item.x = 7;
    t.item.y = 7;
    t.item.cx = 375;
    t.item.cy = 343;
    t.item.id = 1000;
    lstrcpyW(t.itemClass, L"SysListView32");
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &t.dialog, nullptr, &ListDialogProc, 0);
    return 0;
}

// --- measuring ------------------------------------------------------------

struct Count {
    DWORD pid;
    const wchar_t* className;  // nullptr: any visible window
    int found;
    HWND any;
};

BOOL CALLBACK CountWindows(HWND hwnd, LPARAM lParam)
{
    auto* c = reinterpret_cast<Count*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != c->pid || !IsWindowVisible(hwnd))
        return TRUE;
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (c->className && lstrcmpW(cls, c->className) != 0)
        return TRUE;
    ++c->found;
    c->any = hwnd;
    return TRUE;
}

// Seconds from starting the command until the process shows `windows`
// visible windows of the class (any class when null); the process is then
// asked to close (its window of closeClass gets WM_CLOSE) and, failing that,
// ended.
double TimeUntilShown(const std::string& commandLine, const std::string& folder, const wchar_t* className,
                      int windows, const wchar_t* closeClass)
{
    const auto shown = [&](DWORD pid) -> HWND {
        Count c{pid, className, 0, nullptr};
        EnumWindows(&CountWindows, reinterpret_cast<LPARAM>(&c));
        if (c.found < windows)
            return nullptr;
        Count close{pid, closeClass, 0, nullptr};
        EnumWindows(&CountWindows, reinterpret_cast<LPARAM>(&close));
        return close.any ? close.any : c.any;
    };
    // Looking costs the measured process too (every window is asked about
    // through the server): not too often.
    return TimeProcessUntil(commandLine, folder, shown, windows > 1 ? 100 : 5);
}

// One start and one exit of the program with the notes already in folder:
// seconds from the start until the main window is on screen, and from
// posting "E&xit" to it until the process has ended (-1 where it failed).
struct StartAndExit {
    double start = -1;
    double exit = -1;
};

StartAndExit TimeStartAndExit(std::string commandLine, const std::string& folder)
{
    StartAndExit times;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double start = NowSeconds();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return times;
    HWND main = nullptr;
    while (!main && NowSeconds() - start < 60) {
        Count c{pi.dwProcessId, L"#32770", 0, nullptr};
        EnumWindows(&CountWindows, reinterpret_cast<LPARAM>(&c));
        main = c.any;
        if (!main)
            Sleep(5);
    }
    if (main) {
        times.start = NowSeconds() - start;
        // The notes' windows and the first housekeeping tick settle first,
        // as they have when a user ends the program.
        Sleep(2500);
        const double exitStart = NowSeconds();
        PostMessageA(main, WM_COMMAND, 32772, 0);  // "E&xit"
        if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
            times.exit = NowSeconds() - exitStart;
    }
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return times;
}

// Sets the DPI that Wine gives the next processes; answers the one before
// (0 when none was set).
DWORD SetPrefixDpi(DWORD dpi)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 0;
    DWORD before = 0, size = sizeof before, type = 0;
    if (RegQueryValueExA(key, "LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&before), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        before = 0;
    if (dpi)
        RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    else
        RegDeleteValueA(key, "LogPixels");
    RegCloseKey(key);
    return before;
}

// The program at 144 DPI against itself at 96 DPI, taking turns.
void TimeDisplayScales(const std::string& velumo, const std::string& folder, int runs)
{
    const DWORD original = SetPrefixDpi(96);
    const std::vector<uint8_t> empty = CNoteList().StoreToBytes();
    const auto notes = VisibleNotes(1000);
    std::vector<double> main[2], windows[2];
    constexpr DWORD kDpis[2] = {96, 144};
    for (int i = 0; i < runs; ++i) {
        for (int s = 0; s < 2; ++s) {
            SetPrefixDpi(kDpis[s]);
            WriteWholeFile(folder + "\\notes.dat", empty);
            main[s].push_back(TimeUntilShown(velumo, folder, L"#32770", 1, L"#32770"));
            WriteWholeFile(folder + "\\notes.dat", notes);
            windows[s].push_back(TimeUntilShown(velumo, folder, L"VelumoNoteWnd", 1000, L"#32770"));
        }
    }
    SetPrefixDpi(original);
    std::printf("no notes, until the main window is on screen:\n");
    ReportRuns("at 96 DPI", main[0]);
    ReportRuns("at 144 DPI", main[1]);
    std::printf("  ratio of the medians (144 / 96): %.2f\n", Median(main[1]) / Median(main[0]));
    std::printf("1000 visible notes until every note window is on screen:\n");
    ReportRuns("at 96 DPI", windows[0]);
    ReportRuns("at 144 DPI", windows[1]);
    std::printf("  ratio of the medians (144 / 96): %.2f\n", Median(windows[1]) / Median(windows[0]));
}

// Runs the steps program once; its marks (milliseconds since its process was
// asked for, and what ended there), or none when it failed.
std::vector<std::pair<double, std::string>> RunStartupSteps(const std::string& program, const std::string& folder)
{
    const std::string marksFile = folder + "\\startup-marks.txt";
    DeleteFileA(marksFile.c_str());
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    std::string commandLine = "\"" + program + "\" \"" + folder + "\\notes.dat\" \"" + marksFile + "\" " +
                              std::to_string(now.QuadPart);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::vector<std::pair<double, std::string>> marks;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return marks;
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    const std::vector<uint8_t> bytes = ReadWholeFile(marksFile);
    const std::string text(bytes.begin(), bytes.end());
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = text.substr(at, end - at);
        if (const size_t tab = line.find('\t'); tab != std::string::npos)
            marks.emplace_back(std::atof(line.substr(0, tab).c_str()), line.substr(tab + 1));
        at = end + 1;
    }
    return marks;
}

void TimeStartupSteps(const std::string& folder, int runs)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string steps = self;
    steps = steps.substr(0, steps.find_last_of('\\') + 1) + "velumo_startup_steps.exe";
    const std::string program = folder + "\\velumo_startup_steps.exe";
    if (!CopyFileA(steps.c_str(), program.c_str(), FALSE)) {
        std::printf("velumo_startup_steps.exe not found beside this program\n");
        return;
    }
    DeleteFileA((folder + "\\velumo_startup_steps.ini").c_str());
    const std::vector<uint8_t> empty = CNoteList().StoreToBytes();
    std::vector<std::string> names;
    std::vector<std::vector<double>> ends, lengths;
    int failed = 0;
    for (int i = 0; i < runs; ++i) {
        WriteWholeFile(folder + "\\notes.dat", empty);
        const auto marks = RunStartupSteps(program, folder);
        if (marks.empty() || (!names.empty() && marks.size() != names.size())) {
            ++failed;
            continue;
        }
        if (names.empty()) {
            for (const auto& mark : marks)
                names.push_back(mark.second);
            ends.resize(marks.size());
            lengths.resize(marks.size());
        }
        for (size_t j = 0; j < marks.size(); ++j) {
            ends[j].push_back(marks[j].first / 1000);
            lengths[j].push_back((marks[j].first - (j ? marks[j - 1].first : 0)) / 1000);
        }
    }
    std::printf("Velumo's start-up with no notes, step by step (medians of %d runs%s):\n", runs - failed,
                failed ? ", some failed" : "");
    std::printf("  %8s %8s  %s\n", "step ms", "at ms", "what ended there");
    for (size_t j = 0; j < names.size(); ++j)
        std::printf("  %8.1f %8.1f  %s\n", Median(lengths[j]) * 1000, Median(ends[j]) * 1000, names[j].c_str());
}

// A build of Velumo.exe and the folder it runs in (an empty command: none).
struct VelumoCopy {
    std::string command;
    std::string folder;
};

// 1000 visible notes until every note window is on screen: the program (and
// another build of it, when given) beside the bare loops, taking turns.
void TimeVisibleNotes(const VelumoCopy& velumo, const VelumoCopy& other, const std::string& reference, int runs)
{
    const int notes = 1000;
    const auto bytes = VisibleNotes(notes);
    const std::string referenceNotes = velumo.folder + "\\reference-notes.dat";
    WriteWholeFile(referenceNotes, bytes);
    std::vector<double> program, otherProgram, bare, bareRich;
    for (int i = 0; i < runs; ++i) {
        WriteWholeFile(velumo.folder + "\\notes.dat", bytes);
        program.push_back(TimeUntilShown(velumo.command, velumo.folder, L"VelumoNoteWnd", notes, L"#32770"));
        if (!other.command.empty()) {
            WriteWholeFile(other.folder + "\\notes.dat", bytes);
            otherProgram.push_back(TimeUntilShown(other.command, other.folder, L"VelumoNoteWnd", notes, L"#32770"));
        }
        bare.push_back(TimeUntilShown(reference + " --bare-notes \"" + referenceNotes + "\"", velumo.folder,
                                      kBareNoteClass, notes, kBareNoteClass));
        bareRich.push_back(TimeUntilShown(reference + " --bare-rich-notes \"" + referenceNotes + "\"", velumo.folder,
                                          kBareNoteClass, notes, kBareNoteClass));
    }
    std::printf("%d visible notes until every note window is on screen:\n", notes);
    ReportRuns("Velumo.exe", program);
    if (!otherProgram.empty())
        ReportRuns("the other Velumo.exe (third argument)", otherProgram);
    ReportRuns("bare loop of tool windows, edit boxes (reference)", bare);
    ReportRuns("bare loop of tool windows, rich edit boxes (reference)", bareRich);
    std::printf("  ratio of the medians, Velumo / bare loop with rich edit boxes: %.2f\n",
                Median(program) / Median(bareRich));
    std::printf("  ratio of the medians, Velumo / bare loop with edit boxes: %.2f\n", Median(program) / Median(bare));
    if (!otherProgram.empty()) {
        std::printf("  ratio of the medians, the other Velumo / bare loop with rich edit boxes: %.2f\n",
                    Median(otherProgram) / Median(bareRich));
        std::printf("  ratio of the medians, the other Velumo / bare loop with edit boxes: %.2f\n",
                    Median(otherProgram) / Median(bare));
    }
    std::printf("  what rich text costs the bare loop: %.2fx\n", Median(bareRich) / Median(bare));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "--bare-notes")
        return RunBareNotes(argv[2], false);
    if (argc > 2 && std::string(argv[1]) == "--bare-rich-notes")
        return RunBareNotes(argv[2], true);
    if (argc > 1 && std::string(argv[1]) == "--trivial-window")
        return RunTrivialWindow();
    if (argc > 2 && std::string(argv[1]) == "--comctl-window")
        return RunComctlWindow(argv[2]);
    if (argc > 2 && std::string(argv[1]) == "--listview-dialog")
        return RunListViewDialog(argv[2]);
    if (argc < 2) {
        std::printf("usage: velumo_startup_bench.exe <folder of Velumo.exe> [main|notes [<folder of another Velumo.exe>] | exit | dpi | steps]\n");
        return 2;
    }
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "velumo-startup-reference-bench";
    CopyTree(argv[1], folder);
    DeleteFileA((folder + "\\Velumo.ini").c_str());
    const std::string velumo = "\"" + folder + "\\Velumo.exe\"";
    const std::string reference = "\"" + std::string(self) + "\"";
    const int runs = 5;

    // Note windows at start-up: the same file for both sides. "main" as the
    // second argument times only the main window, "exit" only the exit.
    const std::string only = argc > 2 ? argv[2] : "";
    if (only == "steps") {
        TimeStartupSteps(folder, runs * 3);
        DeleteTree(folder);
        return 0;
    }
    if (only == "dpi") {
        TimeDisplayScales(velumo, folder, runs * 2);
        DeleteTree(folder);
        return 0;
    }
    const bool notesToo = only.empty() || only == "notes";
    // A second build of the program (say, the one before a change), timed in
    // the same rounds as the first: to the main window with no notes, or
    // ("notes") until its 1000 visible notes are on screen.
    const std::string otherFolder = argc > 3 ? folder + "-other" : "";
    if (!otherFolder.empty()) {
        CopyTree(argv[3], otherFolder);
        DeleteFileA((otherFolder + "\\Velumo.ini").c_str());
    }
    const std::string otherVelumo = "\"" + otherFolder + "\\Velumo.exe\"";
    if (notesToo)
        TimeVisibleNotes({velumo, folder}, {otherFolder.empty() ? "" : otherVelumo, otherFolder}, reference, runs);
    if (only == "notes") {
        DeleteTree(folder);
        if (!otherFolder.empty())
            DeleteTree(otherFolder);
        return 0;
    }

    // Start-up to the main window with no notes.
    const std::vector<uint8_t> empty = CNoteList().StoreToBytes();
    std::vector<double> main, other, trivial, comctl, listDialog;
    for (int i = 0; only != "exit" && i < runs * 4; ++i) {
        WriteWholeFile(folder + "\\notes.dat", empty);
        main.push_back(TimeUntilShown(velumo, folder, kDialogClass, 1, kDialogClass));
        if (!otherFolder.empty()) {
            WriteWholeFile(otherFolder + "\\notes.dat", empty);
            other.push_back(TimeUntilShown(otherVelumo, otherFolder, kDialogClass, 1, kDialogClass));
        }
        trivial.push_back(TimeUntilShown(reference + " --trivial-window", folder, kTrivialClass, 1, kTrivialClass));
        comctl.push_back(
            TimeUntilShown(reference + " --comctl-window " + velumo, folder, kTrivialClass, 1, kTrivialClass));
        listDialog.push_back(
            TimeUntilShown(reference + " --listview-dialog " + velumo, folder, kDialogClass, 1, kDialogClass));
    }
    if (only != "exit") {
        std::printf("no notes, until the main window is on screen (shortcuts registered):\n");
        ReportRuns("Velumo.exe", main);
        if (!other.empty())
            ReportRuns("the other Velumo.exe (third argument)", other);
        ReportRuns("trivial Win32 window (reference)", trivial);
        ReportRuns("the same after loading the common controls", comctl);
        ReportRuns("trivial dialog holding a list view (reference)", listDialog);
        std::printf("  ratio of the medians, Velumo / trivial window: %.2f\n", Median(main) / Median(trivial));
        std::printf("  ratio of the medians, Velumo / list view dialog: %.2f\n", Median(main) / Median(listDialog));
        if (!other.empty())
            std::printf("  ratio of the medians, the other Velumo / list view dialog: %.2f\n",
                        Median(other) / Median(listDialog));
        const double comctlMs = (Median(comctl) - Median(trivial)) * 1000;
        std::printf("  common controls (load and set-up): %.1f ms, %.0f%% of Velumo's start-up\n", comctlMs,
                    100 * comctlMs / (Median(main) * 1000));
    }

    // Ending against starting, with the same three visible notes.
    const auto three = VisibleNotes(3);
    std::vector<double> starts, exits;
    for (int i = 0; only != "main" && i < runs; ++i) {
        WriteWholeFile(folder + "\\notes.dat", three);
        const StartAndExit times = TimeStartAndExit(velumo, folder);
        starts.push_back(times.start);
        exits.push_back(times.exit);
    }
    if (only != "main") {
        std::printf("three visible notes, start against exit:\n");
        ReportRuns("start until the main window is on screen", starts);
        ReportRuns("\"Exit\" until the process has ended", exits);
        std::printf("  ratio of the medians (exit / start): %.2f\n", Median(exits) / Median(starts));
    }
    DeleteTree(folder);
    if (!otherFolder.empty())
        DeleteTree(otherFolder);
    return 0;
}
