#pragma once
// Drives the real Velumo.exe from outside, as a user would: each driver owns
// a fresh folder holding a copy of the program and its skin, starts the
// program there, finds its windows, and reads what it wrote.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "notes/CNoteList.h"

class E2eDriver {
public:
    static void SetProgramFolder(const std::string& folder);

    // copySkin false leaves the folder without Skins\skin.ini.
    explicit E2eDriver(bool copySkin = true);
    ~E2eDriver();
    E2eDriver(const E2eDriver&) = delete;
    E2eDriver& operator=(const E2eDriver&) = delete;

    const std::string& Folder() const { return m_folder.Path(); }
    std::string PathOf(const std::string& name) const { return m_folder.Path(name); }

    // Starts Velumo.exe in the folder with the given command-line tail (UTF-8).
    bool Start(const std::string& arguments = "");
    // Writes notesFile as notes.dat, starts the program on it and waits for
    // its main window: that window, or null when the file could not be
    // written, the program did not start or showed no main window in time.
    HWND StartOn(const std::vector<uint8_t>& notesFile, DWORD timeoutMs = 15000);
    // StartOn a file of one shown note with this text at this place; the
    // note's window as WaitForNoteWindow gives it, or null.
    HWND StartWithNote(const std::u16string& text, const NoteRect& place);
    // Starts another copy and waits for it to end; its exit code, or -1.
    static int RunToEnd(const std::string& exe, const std::string& arguments, DWORD timeoutMs);
    std::string ExePath() const { return PathOf("Velumo.exe"); }

    // Top-level visible window of the program with this title (or any
    // title when empty), waiting up to timeoutMs.
    HWND WaitForWindow(const std::string& title, DWORD timeoutMs, const char* className = nullptr) const;
    // The first visible top-level window of the program that accept() takes.
    HWND WaitForWindowWhere(const std::function<bool(HWND)>& accept, DWORD timeoutMs) const;
    // A note window of the program once its text control is made too: the
    // window shows a moment before it, and takes no keys until then. Null
    // when no note window came within timeoutMs, or no control 3 s later.
    HWND WaitForNoteWindow(DWORD timeoutMs) const;
    // The text control of a note window, or null.
    static HWND NoteEdit(HWND note);
    // The text of a message box (its static text) and its caption.
    static std::string MessageBoxText(HWND box);
    static std::string WindowText(HWND hwnd);  // UTF-8
    // A control's whole text, read across the process boundary.
    static std::u16string ControlText(HWND control);
    // Presses the message box's first button.
    static void Dismiss(HWND box);
    // The balloons over tray icons the shell shows now (its balloon tooltips).
    static std::vector<HWND> VisibleBalloons();

    bool WaitForExit(DWORD timeoutMs);
    bool IsRunning() const;
    DWORD ExitCode() const;
    // Ends the program the way the user does (close the main window),
    // falling back to terminating it.
    void Stop();

    bool WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const;
    std::vector<uint8_t> ReadFile(const std::string& name) const;
    bool FileExists(const std::string& name) const;
    FILETIME LastWrite(const std::string& name) const;

    DWORD ProcessId() const { return m_pi.dwProcessId; }

    // One row of the program's note list as the user sees it.
    struct Row {
        bool checked = false;  // "Top"
        int visImage = -1;     // "Vis": 2 empty box, 3 ticked box
        int schdImage = -1;    // "Schd": 0 blank, 1 clock
        std::string text;      // "Text"
        bool selected = false;
    };
    // Reads the rows of a list view in the program's process (the item
    // structures live in memory allocated inside that process).
    std::vector<Row> ReadRows(HWND list) const;
    bool SelectRow(HWND list, int row, bool selected) const;
    // Sends a message whose lParam points at data (a control's structure),
    // through memory inside the program's process; the data comes back as
    // the program left it.
    LRESULT SendWithData(HWND hwnd, UINT msg, WPARAM wParam, void* data, size_t size) const;
    // Clicks the child window at a client point of the parent (a skin button)
    // and returns when the program has handled the click. A click that opens
    // a modal window is posted instead (wait false): the program answers no
    // sent message of ours until that window closes.
    static bool ClickChildAt(HWND parent, int x, int y, bool wait = true);

private:
    void CopyProgram() const;  // the built Velumo.exe into the test's folder

    TempFolder m_folder;  // the destructor stops the program before the folder goes
    PROCESS_INFORMATION m_pi{};
    DWORD m_exitCode = STILL_ACTIVE;
};

// Real input, as the user's hands give it (SendInput).
// Presses the keys in order and lets them go in reverse, as fingers do.
void PressKeys(std::initializer_list<WORD> keys);
// Moves the mouse to a screen point and clicks there with one button.
void ClickAt(POINT at, bool rightButton = false);
// True once the top window under a screen point is window (or one of its
// children): a window just shown may still be moving there, or lie under
// another that the program shows a moment later.
bool IsOnTopAt(HWND window, POINT at);
// Clicks at a point of window until it is the foreground window, pumping
// this thread's own windows meanwhile: a fresh Wine's window manager may drop
// the first click while it settles, so one more is allowed. False when the
// window never came to the front.
bool ClickToFront(HWND window, POINT at);
// The popup menu shown on the screen, or null while none is.
HWND VisibleMenu();
// Right-clicks at a screen point of window once the window is on top there,
// and once more when no menu came (as ClickToFront). True once a menu shows.
bool OpenMenuAt(HWND window, POINT at);

// The notes a file holds, or none when it does not load.
std::unique_ptr<CNoteList> ParseNotes(const std::vector<uint8_t>& bytes);

// Polls condition until it holds or timeoutMs has passed; false on timeout.
// For state the program under test changes on its own time.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs, DWORD pollMs = 50)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(pollMs);
    }
    return true;
}

// WaitFor that also pumps this driver's own windows while it waits.
template <typename Condition>
bool WaitForPumping(Condition condition, DWORD timeoutMs)
{
    return WaitFor(
        [&] {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            return condition();
        },
        timeoutMs, 20);
}
