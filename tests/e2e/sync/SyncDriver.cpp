// Two copies of Velumo on one notes file, as two computers sharing it through
// a synced folder: this program acts as the user of one copy (run in that
// copy's Wine prefix) and, at the end, checks the file. Driven by
// tests/e2e/two_computers.sh.
//   velumo_sync_driver wait                 until the copy's main window is up
//   velumo_sync_driver act <side> <round>   one random edit; prints what it did
//   velumo_sync_driver sync                 one housekeeping pass (save, merge)
//   velumo_sync_driver quit                 "Exit", until the copy has ended
//   velumo_sync_driver check <notes> <log>  every note added and deleted on
//                                           neither side is there, undamaged
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "notes/CNoteList.h"
#include "core/UnicodeText.h"

namespace {

constexpr UINT kAddNote = 32785;
constexpr UINT kExit = 32772;
constexpr UINT kNoteDelete = 32787;
constexpr UINT_PTR kTickTimer = 2;

HWND MainWindow()
{
    return FindWindowA("#32770", "Velumo");
}

std::vector<HWND> NoteWindows()
{
    std::vector<HWND> notes;
    for (HWND w = FindWindowExA(nullptr, nullptr, "VelumoNoteWnd", nullptr); w;
         w = FindWindowExA(nullptr, w, "VelumoNoteWnd", nullptr))
        if (IsWindowVisible(w))
            notes.push_back(w);
    return notes;
}

HWND EditOf(HWND note)
{
    return FindWindowExA(note, nullptr, "Edit", nullptr);
}

std::string TextOf(HWND note)
{
    char text[256] = {};
    SendMessageA(EditOf(note), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// "A-12" of "A-12+++".
std::string NameOf(const std::string& text)
{
    return text.substr(0, text.find('+'));
}

void Type(HWND note, const std::string& text, bool replaceAll)
{
    HWND edit = EditOf(note);
    // Sent: across processes GetWindowTextLength does not ask the control.
    const auto end = static_cast<int>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
    SendMessageA(edit, EM_SETSEL, replaceAll ? 0 : end, replaceAll ? -1 : end);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

int Act(const std::string& side, int round)
{
    HWND main = MainWindow();
    if (!main)
        return 2;
    srand(static_cast<unsigned>(round * 31 + side[0]));
    std::vector<HWND> notes = NoteWindows();
    const int roll = rand() % 100;
    if (notes.empty() || roll < 40) {
        const std::string name = side + "-" + std::to_string(round);
        SendMessageA(main, WM_COMMAND, kAddNote, 0);
        for (HWND note : NoteWindows()) {
            if (TextOf(note) == "(Your text goes here)") {
                Type(note, name, true);
                std::printf("add %s\n", name.c_str());
                return 0;
            }
        }
        return 3;
    }
    HWND note = notes[static_cast<size_t>(rand()) % notes.size()];
    const std::string name = NameOf(TextOf(note));
    if (roll < 65) {
        Type(note, "+", false);
        std::printf("type %s\n", name.c_str());
    } else if (roll < 80) {
        SendMessageA(note, WM_COMMAND, kNoteDelete, 0);
        std::printf("delete %s\n", name.c_str());
    } else {
        SetWindowPos(note, nullptr, 20 + rand() % 900, 300 + rand() % 500, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        std::printf("move %s\n", name.c_str());
    }
    return 0;
}

int Check(const char* notesPath, const char* logPath)
{
    std::set<std::string> added, deleted;
    std::ifstream log(logPath);
    std::string what, name;
    int rounds = 0;
    while (log >> what >> name) {
        if (what == "add")
            added.insert(name);
        else if (what == "delete")
            deleted.insert(name);
        else if (what == "round")
            ++rounds;
    }
    CNoteList notes;
    if (!notes.Load(notesPath)) {
        std::printf("two computers: the notes file does not load\n");
        return 1;
    }
    std::set<std::string> present;
    int damaged = 0;
    for (NotePos p = notes.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
        const std::string text = Utf8FromUtf16(notes.GetAt(p)->m_strText);
        const std::string base = NameOf(text);
        const bool wellFormed = (text[0] == 'A' || text[0] == 'B') && text.size() > 2 && text[1] == '-' &&
                                text.find_first_not_of('+', base.size()) == std::string::npos;
        if (!wellFormed) {
            ++damaged;
            std::printf("two computers: damaged text \"%s\"\n", text.c_str());
        }
        present.insert(base);
    }
    int checked = 0, lost = 0;
    for (const std::string& n : added) {
        if (deleted.count(n))
            continue;
        ++checked;
        if (!present.count(n)) {
            ++lost;
            std::printf("two computers: lost %s\n", n.c_str());
        }
    }
    std::printf("two computers: %d rounds, %d notes checked, %d lost, %d damaged (%d notes in the file)\n", rounds,
                checked, lost, damaged, static_cast<int>(notes.m_nCount));
    return lost == 0 && damaged == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "wait") {
        for (int i = 0; i < 300 && !MainWindow(); ++i)
            Sleep(100);
        Sleep(2500);  // its first pass and its notes' windows
        return MainWindow() ? 0 : 1;
    }
    if (command == "act" && argc > 3)
        return Act(argv[2], std::atoi(argv[3]));
    if (command == "sync") {
        HWND main = MainWindow();
        return main && SendMessageTimeoutA(main, WM_TIMER, kTickTimer, 0, SMTO_NORMAL, 20000, nullptr) ? 0 : 1;
    }
    if (command == "quit") {
        HWND main = MainWindow();
        DWORD pid = 0;
        GetWindowThreadProcessId(main, &pid);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
        PostMessageA(main, WM_COMMAND, kExit, 0);
        const bool ended = process && WaitForSingleObject(process, 20000) == WAIT_OBJECT_0;
        if (process)
            CloseHandle(process);
        return ended ? 0 : 1;
    }
    if (command == "check" && argc > 3)
        return Check(argv[2], argv[3]);
    std::printf("usage: see the top of SyncDriver.cpp\n");
    return 2;
}
