// Two copies of Velumo on one notes file, as two computers sharing it through
// a synced folder: this program acts as the user of one copy (run in that
// copy's Wine prefix) and, at the end, checks the file. Driven by
// tests/e2e/two_computers.sh.
//   velumo_sync_driver wait                 until the copy's main window is up
//   velumo_sync_driver act <side> <round>   one edit; prints what it did. Most
//                                           rounds one random edit each; some
//                                           rounds both users add one text, or
//                                           both go for one note (typed on
//                                           both with the caret left in it,
//                                           deleted or moved against typed)
//   velumo_sync_driver offline <side> <round>  a note added, an older one
//                                           typed in (syncthing_rounds.sh)
//   velumo_sync_driver sync                 one housekeeping pass (save, merge)
//   velumo_sync_driver quit                 "Exit", until the copy has ended
//   velumo_sync_driver check <notes> <log>  every note added and deleted on
//                                           neither side is there, undamaged,
//                                           with every edit and last move; no
//                                           note twice, no deleted note back,
//                                           no second version on its original,
//                                           every deleted note in the bin
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "notes/CNoteList.h"
#include "notes/DeletedNotesBin.h"
#include "core/UnicodeText.h"

namespace {

constexpr UINT kAddNote = 32785;
constexpr UINT kExit = 32772;
constexpr UINT kNoteDelete = 32787;
constexpr UINT_PTR kTickTimer = 2;

// The program's messages carry its name too: the main window is the one no
// window owns.
HWND MainWindow()
{
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", "Velumo"); w;
         w = FindWindowExA(nullptr, w, "#32770", "Velumo")) {
        if (!GetWindow(w, GW_OWNER))
            return w;
    }
    return nullptr;
}

// Answers the messages the main window shows (a pass tells after it ends),
// as the user would, and prints what they said.
void CloseMessages(HWND main)
{
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
        if (GetWindow(w, GW_OWNER) != main || !IsWindowVisible(w))
            continue;
        char text[512] = {};
        GetDlgItemTextA(w, 0xFFFF, text, sizeof text);  // a message box's text
        for (char& c : text)
            c = c == '\r' || c == '\n' ? ' ' : c;
        std::printf("told %s\n", text);
        PostMessageA(w, WM_COMMAND, IDOK, 0);
    }
}

// The program's windows that are up, for a pass that keeps the driver
// waiting: a message nobody can answer shows here.
void PrintWindowsOf(HWND main)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != pid || !IsWindowVisible(w))
            continue;
        char cls[64] = {}, title[128] = {};
        GetClassNameA(w, cls, sizeof cls);
        GetWindowTextA(w, title, sizeof title);
        std::printf("window %s \"%s\" owner %p%s\n", cls, title, static_cast<void*>(GetWindow(w, GW_OWNER)),
                    w == main ? " (main)" : "");
    }
}

// One housekeeping pass, its messages answered while it waits on them. A
// pass that takes long on a loaded machine is waited for (and told of in
// the log, with the windows that were up) rather than taken for a hang.
bool RunPass(HWND main)
{
    constexpr DWORD kSlowMs = 10000, kHungMs = 90000;
    std::atomic<bool> done{false};
    LRESULT ran = 0;
    DWORD error = 0;
    std::thread pass([&] {
        ran = SendMessageTimeoutA(main, WM_TIMER, kTickTimer, 0, SMTO_NORMAL, kHungMs, nullptr);
        error = ran ? 0 : GetLastError();
        done = true;
    });
    const DWORD start = GetTickCount();
    bool toldSlow = false;
    while (!done) {
        Sleep(100);
        CloseMessages(main);
        if (!toldSlow && GetTickCount() - start > kSlowMs) {
            toldSlow = true;
            std::printf("slow pass: still running after %lu ms\n", static_cast<unsigned long>(kSlowMs));
            PrintWindowsOf(main);
        }
    }
    pass.join();
    if (toldSlow)
        std::printf("slow pass: %lu ms in all\n", static_cast<unsigned long>(GetTickCount() - start));
    if (!ran)
        std::printf("pass: the main window did not answer (error %lu, %s)\n", static_cast<unsigned long>(error),
                    IsWindow(main) ? "still there" : "gone");
    return ran != 0;
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
    return GetDlgItem(note, 1016);
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

// Types at the end of the text with the caret left in the box, as a user
// who stops typing leaves it.
void Type(HWND note, const std::string& text, bool replaceAll)
{
    HWND edit = EditOf(note);
    const DWORD target = GetWindowThreadProcessId(note, nullptr);
    if (AttachThreadInput(GetCurrentThreadId(), target, TRUE)) {
        SetForegroundWindow(note);
        SetFocus(edit);
        AttachThreadInput(GetCurrentThreadId(), target, FALSE);
    }
    // Sent: across processes GetWindowTextLength does not ask the control.
    const auto end = static_cast<int>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
    SendMessageA(edit, EM_SETSEL, replaceAll ? 0 : end, replaceAll ? -1 : end);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

int AddNote(HWND main, const std::string& name)
{
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

// What was typed in a round: unique, so that a lost edit shows.
std::string Token(const std::string& side, int round)
{
    return "+" + side + std::to_string(round);
}

void TypeIn(HWND note, const std::string& side, int round)
{
    Type(note, Token(side, round), false);
    std::printf("type %s %s\n", NameOf(TextOf(note)).c_str(), Token(side, round).c_str());
}

void Move(HWND note, int round)
{
    RECT rc{};
    GetWindowRect(note, &rc);
    const int x = 20 + (round * 37) % 900, y = 300 + (round * 53) % 500;
    SetWindowPos(note, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    std::printf("move %s %d %d %d\n", NameOf(TextOf(note)).c_str(), round, x, y);
}

// Both users go for the note whose name sorts first: A types in it, B
// types, deletes or moves it, by the round.
int Clash(const std::string& side, int round, const std::vector<HWND>& notes)
{
    HWND target = notes.front();
    for (HWND note : notes) {
        if (NameOf(TextOf(note)) < NameOf(TextOf(target)))
            target = note;
    }
    const int kind = (round / 6) % 3;
    if (side == "A" || kind == 0) {
        TypeIn(target, side, round);
    } else if (kind == 1) {
        // With the text it held: a name may be on two notes (a version kept
        // beside its original), and the edits in the one deleted go with it.
        std::printf("clash-delete %s %s\n", NameOf(TextOf(target)).c_str(), TextOf(target).c_str());
        SendMessageA(target, WM_COMMAND, kNoteDelete, 0);
    } else {
        Move(target, round);
    }
    return 0;
}

int Act(const std::string& side, int round)
{
    HWND main = MainWindow();
    if (!main)
        return 2;
    // The runtime's rand() barely moves between neighbouring seeds.
    std::mt19937 random(static_cast<unsigned>(round * 131 + side[0]));
    std::vector<HWND> notes = NoteWindows();
    if (round % 6 == 1)
        return AddNote(main, "S-" + std::to_string(round));  // one text added on both
    if (round % 6 == 3 && !notes.empty())
        return Clash(side, round, notes);
    const auto roll = random() % 100;
    if (notes.size() < 3 || roll < 40)
        return AddNote(main, side + "-" + std::to_string(round));
    HWND note = notes[random() % notes.size()];
    if (roll < 65) {
        TypeIn(note, side, round);
    } else if (roll < 80) {
        std::printf("delete %s\n", NameOf(TextOf(note)).c_str());
        SendMessageA(note, WM_COMMAND, kNoteDelete, 0);
    } else {
        Move(note, round);
    }
    return 0;
}

// One offline round of a user on a computer whose sync client is cut off:
// a note of its own, then typing in a note that was already there (the
// same one the other user may pick), the caret left in it. Used by
// tests/e2e/sync/syncthing_rounds.sh.
int OfflineEdits(const std::string& side, int round)
{
    HWND main = MainWindow();
    if (!main)
        return 2;
    std::mt19937 random(static_cast<unsigned>(round * 977 + side[0]));
    const std::vector<HWND> before = NoteWindows();
    if (const int added = AddNote(main, side + "-" + std::to_string(round)); added != 0)
        return added;
    if (!before.empty())
        TypeIn(before[random() % before.size()], side, round);
    return 0;
}

struct Log {
    std::set<std::string> added, deleted, deletedAgainstEdit;
    std::set<std::pair<std::string, std::string>> deletedWithEdit;  // name, token of a note a clash deleted
    std::vector<std::pair<std::string, std::string>> typed;  // name, token
    std::map<std::string, std::pair<int, int>> lastMove;     // name: x, y
    std::set<std::string> movedTwiceInARound;
    int rounds = 0;
    int told = 0;  // messages the copies showed
};

Log ReadLog(const char* logPath)
{
    Log log;
    std::ifstream in(logPath);
    std::string line;
    std::map<std::string, int> moveRound, deleteRound;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string what, name;
        words >> what >> name;
        if (what == "round") {
            ++log.rounds;
        } else if (what == "told") {
            ++log.told;
        } else if (what == "add") {
            log.added.insert(name);
        } else if (what == "delete") {
            log.deleted.insert(name);
            deleteRound[name] = log.rounds;
            // Moved on the other side in the same round: a delete against a
            // change, which keeps the note.
            if (moveRound.count(name) && moveRound[name] == log.rounds)
                log.deletedAgainstEdit.insert(name);
        } else if (what == "clash-delete") {
            log.deletedAgainstEdit.insert(name);
            std::string text;
            words >> text;
            for (size_t at = text.find('+'); at != std::string::npos; at = text.find('+', at + 1))
                log.deletedWithEdit.insert({name, text.substr(at, text.find('+', at + 1) - at)});
        } else if (what == "type") {
            std::string token;
            words >> token;
            log.typed.emplace_back(name, token);
        } else if (what == "move") {
            int round = 0, x = 0, y = 0;
            words >> round >> x >> y;
            if (moveRound.count(name) && moveRound[name] == round)
                log.movedTwiceInARound.insert(name);
            else
                log.movedTwiceInARound.erase(name);
            moveRound[name] = round;
            log.lastMove[name] = {x, y};
            if (deleteRound.count(name) && deleteRound[name] == round)
                log.deletedAgainstEdit.insert(name);
        }
    }
    return log;
}

struct Seen {
    std::string text;
    NoteRect rc;
};

bool HasToken(const std::string& text, const std::string& token)
{
    for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + 1)) {
        const size_t after = at + token.size();
        if (after == text.size() || text[after] == '+')
            return true;
    }
    return false;
}

int Check(const char* notesPath, const char* logPath)
{
    const Log log = ReadLog(logPath);
    CNoteList notes;
    if (!notes.Load(notesPath)) {
        std::printf("two computers: the notes file does not load\n");
        return 1;
    }
    std::multimap<std::string, Seen> byName;
    std::map<std::string, int> sameText;
    int damaged = 0;
    for (NotePos p = notes.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
        const std::string text = Utf8FromUtf16(notes.GetAt(p)->m_strText);
        if (text.size() < 3 || text.find_first_of("ABS") != 0 || text[1] != '-') {
            ++damaged;
            std::printf("two computers: damaged text \"%s\"\n", text.c_str());
            continue;
        }
        byName.insert({NameOf(text), {text, notes.GetAt(p)->m_rcWindow}});
        ++sameText[text];
    }
    int checked = 0, lost = 0, lostEdits = 0, lostMoves = 0, duplicates = 0, back = 0, onOriginal = 0;
    for (const std::string& n : log.added) {
        if (log.deleted.count(n))
            continue;
        ++checked;
        if (!byName.count(n)) {
            ++lost;
            std::printf("two computers: lost %s\n", n.c_str());
        }
    }
    std::set<std::string> typedNames;
    for (const auto& [name, token] : log.typed) {
        typedNames.insert(name);
        if (log.deleted.count(name) || !log.added.count(name))
            continue;
        bool kept = false;
        for (auto [it, end] = byName.equal_range(name); it != end; ++it)
            kept = kept || HasToken(it->second.text, token);
        // The user deleted the note that held it (the other of two versions,
        // while the other user typed in the first): gone by the user's hand.
        if (!kept && log.deletedWithEdit.count({name, token}))
            continue;
        if (!kept) {
            ++lostEdits;
            std::printf("two computers: lost the edit %s of %s\n", token.c_str(), name.c_str());
        }
    }
    for (const auto& [name, at] : log.lastMove) {
        if (log.deleted.count(name) || log.movedTwiceInARound.count(name) || !byName.count(name))
            continue;
        bool kept = false;
        for (auto [it, end] = byName.equal_range(name); it != end; ++it)
            kept = kept || (it->second.rc.left == at.first && it->second.rc.top == at.second);
        if (!kept) {
            ++lostMoves;
            std::printf("two computers: lost the move of %s\n", name.c_str());
        }
    }
    for (const auto& [text, count] : sameText) {
        const int declared = text[0] == 'S' && text.find('+') == std::string::npos ? 2 : 1;
        if (count > declared) {
            duplicates += count - declared;
            std::printf("two computers: \"%s\" %d times\n", text.c_str(), count);
        }
    }
    for (const std::string& n : log.deleted) {
        // Of a text made on both, a delete on each side may have taken one note.
        if (n[0] == 'S')
            continue;
        if (byName.count(n) && !typedNames.count(n) && !log.deletedAgainstEdit.count(n)) {
            ++back;
            std::printf("two computers: deleted %s came back\n", n.c_str());
        }
    }
    // Every delete, on either side, keeps the note in the bin both share.
    CDeletedNotesBin bin;
    const std::string binPath = CDeletedNotesBin::PathBeside(notesPath);
    if (!bin.Load(binPath, static_cast<NoteTime>(time(nullptr)))) {
        std::printf("two computers: the bin does not load\n");
        ++damaged;
    }
    std::set<std::string> inBin;
    for (const CDeletedNotesBin::Entry& entry : bin.Entries())
        inBin.insert(NameOf(Utf8FromUtf16(entry.note->m_strText)));
    int notInBin = 0;
    std::set<std::string> deletedAnywhere = log.deleted;
    deletedAnywhere.insert(log.deletedAgainstEdit.begin(), log.deletedAgainstEdit.end());
    for (const std::string& n : deletedAnywhere) {
        if (!inBin.count(n)) {
            ++notInBin;
            std::printf("two computers: deleted %s is not in the bin\n", n.c_str());
        }
    }
    for (auto it = byName.begin(); it != byName.end(); ++it) {
        for (auto other = std::next(it); other != byName.end() && other->first == it->first; ++other) {
            if (it->second.rc == other->second.rc && it->first[0] != 'S') {
                ++onOriginal;
                std::printf("two computers: two versions of %s on one place\n", it->first.c_str());
            }
        }
    }
    std::printf("two computers: %d rounds, %d notes checked, %d lost, %d damaged, %d lost edits, %d lost moves, "
                "%d undeclared duplicates, %d deleted back, %d versions on their original, %d deletes not in the bin "
                "(%d notes in the file, %d in the bin, %d messages)\n",
                log.rounds, checked, lost, damaged, lostEdits, lostMoves, duplicates, back, onOriginal, notInBin,
                static_cast<int>(notes.m_nCount), static_cast<int>(bin.Entries().size()), log.told);
    return lost + damaged + lostEdits + lostMoves + duplicates + back + onOriginal + notInBin == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    // Every line reaches the log at once: a driver that ends abruptly still
    // leaves what it saw.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "wait") {
        for (int i = 0; i < 300 && !MainWindow(); ++i)
            Sleep(100);
        Sleep(2500);  // its first pass and its notes' windows
        return MainWindow() ? 0 : 1;
    }
    if (command == "act" && argc > 3)
        return Act(argv[2], std::atoi(argv[3]));
    if (command == "offline" && argc > 3)
        return OfflineEdits(argv[2], std::atoi(argv[3]));
    if (command == "sync") {
        // Why a pass did not run goes into the log: a copy that ended is
        // another fault than one that did not answer.
        HWND main = MainWindow();
        if (!main) {
            std::printf("pass: no main window\n");
            return 1;
        }
        return RunPass(main) ? 0 : 1;
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
