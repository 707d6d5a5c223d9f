// Ending the program while dialogs of it are open: whichever dialog it is and
// wherever it was opened from, Exit from the tray menu and the installer's
// close end it as Cancel, then the main window's run, with the last save.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "WinTestUtil.h"
#include "app/CNotesApp.h"
#include "mainwnd/CMainDlg.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/NoteLookDialogs.h"
#include "res/resource.h"
#include "schedule/CNWSchedDlg.h"

namespace {

// The visible dialogs of this thread but the main window, the innermost
// (the one taking input) first.
std::vector<HWND> OpenDialogs(HWND main)
{
    struct Found {
        HWND main;
        std::vector<HWND> dialogs;
    } found{main, {}};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto& f = *reinterpret_cast<Found*>(lParam);
        char name[16] = {};
        GetClassNameA(hwnd, name, sizeof name);
        if (hwnd != f.main && IsWindowVisible(hwnd) && lstrcmpA(name, "#32770") == 0)
            f.dialogs.insert(IsWindowEnabled(hwnd) ? f.dialogs.begin() : f.dialogs.end(), hwnd);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found.dialogs;
}

// Step k opens something once k dialogs are open; the exit is asked once
// all have opened. Runs from a thread timer, so from whichever modal run is
// innermost, as the tray menu's command would.
struct ExitScript {
    using Step = std::function<void(HWND main, HWND note, HWND dialog)>;
    std::vector<Step> steps;
    bool asInstaller = false;  // WM_CLOSE to the main window, else the tray's Exit
    HWND main = nullptr;
    CNote* note = nullptr;
    size_t next = 0;
    bool exitAsked = false;
    bool gaveUp = false;
    DWORD start = 0;
};
ExitScript* g_script = nullptr;

void CALLBACK RunScript(HWND, UINT, UINT_PTR, DWORD)
{
    ExitScript& s = *g_script;
    if (s.gaveUp)
        return;
    if (GetTickCount() - s.start > 8000) {
        // Whatever still runs is taken down so that the test ends, failed.
        s.gaveUp = true;
        for (HWND dialog : OpenDialogs(s.main))
            DestroyWindow(dialog);
        if (IsWindow(s.main))
            DestroyWindow(s.main);
        return;
    }
    if (!s.main || !IsWindowVisible(s.main) || !s.note->m_pWnd)
        return;
    const std::vector<HWND> open = OpenDialogs(s.main);
    if (s.next < s.steps.size()) {
        if (open.size() == s.next) {
            // Moved on first: a step may run a modal loop of its own.
            const ExitScript::Step& step = s.steps[s.next++];
            step(s.main, s.note->m_pWnd->GetHwnd(), open.empty() ? nullptr : open.front());
        }
        return;
    }
    if (s.exitAsked || open.size() != s.steps.size())
        return;
    s.exitAsked = true;
    if (s.asInstaller)
        SendMessageA(s.main, WM_CLOSE, 0, 0);
    else
        PostMessageA(s.main, WM_COMMAND, ID_APP_EXIT_CMD, 0);
}

ExitScript::Step Command(bool toNote, UINT id)
{
    return [=](HWND main, HWND note, HWND) { PostMessageA(toNote ? note : main, WM_COMMAND, id, 0); };
}

std::vector<uint8_t> FileOfOneNote()
{
    CNoteList list;
    list.Add(std::make_unique<CNote>());
    return list.StoreToBytes();
}

}  // namespace

TEST(MainDlgExit, ExitWithADialogOpenEndsItThenSavesAndEnds)
{
    InstallScheduleDialog();
    SetLookChoosers(nullptr, nullptr);  // the system's own dialogs
    const auto messageBoxOver = [](HWND, HWND, HWND dialog) {
        MessageBoxW(dialog, L"Over the dialog", L"Velumo", MB_OK | MB_ICONINFORMATION);
    };
    struct Case {
        const char* label;
        std::vector<ExitScript::Step> steps;
        bool asInstaller;
        bool withBackup;
    } cases[] = {
        {"Options", {Command(false, ID_OPTIONS)}, false, false},
        {"About, closed by the installer", {Command(false, ID_HELP_ABOUT)}, true, false},
        {"Deleted notes", {Command(false, ID_DELETED_NOTES)}, false, false},
        {"Restore from a backup", {Command(false, ID_LIST_RESTORE_BACKUP)}, true, true},
        {"message box: no backups yet", {Command(false, ID_LIST_RESTORE_BACKUP)}, false, false},
        {"scheduling dialog from a note", {Command(true, ID_NOTE_SCHEDULE)}, false, false},
        {"scheduling dialog from a note, installer", {Command(true, ID_NOTE_SCHEDULE)}, true, false},
        {"colour dialog from a note", {Command(true, ID_NOTE_MORE_COLOURS)}, false, false},
        {"font dialog from a note", {Command(true, ID_NOTE_FONT)}, true, false},
        {"message box over About", {Command(false, ID_HELP_ABOUT), messageBoxOver}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempFolder folder;
        const std::string path = folder.Path("notes.dat");
        if (c.withBackup) {
            ASSERT_TRUE(CreateDirectoryA(folder.Path("Backups").c_str(), nullptr));
            ASSERT_TRUE(WriteWholeFile(folder.Path("Backups\\notes-2026-12-01.dat"), FileOfOneNote()));
        }
        CNotesApp app;
        app.SetProfileFile(folder.Path("Velumo.ini"));
        ASSERT_TRUE(app.m_notes.Load(path));
        // Changed since the last save: only the exit's save keeps them.
        for (const char16_t* text : {u"on screen", u"in the list"}) {
            auto note = std::make_unique<CNote>();
            note->m_strText = text;
            note->m_bVisible = text[0] == u'o';
            app.m_notes.Add(note);
        }

        ExitScript script;
        script.steps = c.steps;
        script.asInstaller = c.asInstaller;
        script.note = app.m_notes.GetAt(0);
        script.start = GetTickCount();
        g_script = &script;
        CMainDlg dlg(app.m_notes);
        dlg.SetSkinFile(VELUMO_PACKED_SKIN);
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, [](HWND hwnd, UINT msg, UINT_PTR id, DWORD time) {
            if (!g_script->main)
                g_script->main = CNotesApp::GetApp().m_hMainWnd;
            RunScript(hwnd, msg, id, time);
        });
        dlg.DoModal(nullptr);
        KillTimer(nullptr, timer);
        g_script = nullptr;

        EXPECT_FALSE(script.gaveUp) << "the main window's run did not end";
        EXPECT_TRUE(script.exitAsked) << "the dialogs did not open";
        EXPECT_TRUE(OpenDialogs(nullptr).empty()) << "a dialog outlived the exit";
        EXPECT_EQ(app.m_notes.m_bModified, 0u);
        CNoteList saved;
        ASSERT_TRUE(saved.Load(path));
        ASSERT_EQ(saved.m_nCount, 2);
        EXPECT_EQ(saved.GetAt(0)->m_strText, u"on screen");
        EXPECT_EQ(saved.GetAt(1)->m_strText, u"in the list");
        PumpPending();
    }
}

namespace {

struct TimedExit {
    DWORD exitAt = 0;  // tick count
    DWORD giveUpAt = 0;
    bool exitAsked = false;
    bool gaveUp = false;
};
TimedExit* g_timedExit = nullptr;

void CALLBACK ExitWhenDue(HWND, UINT, UINT_PTR, DWORD)
{
    TimedExit& t = *g_timedExit;
    const HWND main = CNotesApp::GetApp().m_hMainWnd;
    if (!main || !IsWindow(main) || t.gaveUp)
        return;
    const auto now = static_cast<LONG>(GetTickCount());
    if (!t.exitAsked && now - static_cast<LONG>(t.exitAt) >= 0) {
        t.exitAsked = true;
        PostMessageA(main, WM_COMMAND, ID_APP_EXIT_CMD, 0);  // as the tray menu does
    } else if (now - static_cast<LONG>(t.giveUpAt) >= 0) {
        // Whatever still runs is taken down so that the test ends, failed.
        t.gaveUp = true;
        for (HWND dialog : OpenDialogs(main))
            DestroyWindow(dialog);
        DestroyWindow(main);
    }
}

}  // namespace

// The notes file held open by another program (a sync client, a virus
// scanner) while the user ends the program: the Exit is never lost, and
// "Cancel: quit without saving" writes nothing, even when the file comes
// free before the answer.
TEST(MainDlgExit, ExitWhileTheFileIsHeldEndsAndCancelWritesNothing)
{
    struct Case {
        const char* label;
        DWORD exitAfterMs;      // from the start, the splash still up
        bool freeBeforeAnswer;  // the file comes free while the question is open
    } cases[] = {
        {"at once", 100, false},
        {"after the first failing save", 1700, false},
        {"the file free before Cancel", 100, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempFolder folder;
        const std::string path = folder.Path("notes.dat");
        const std::vector<uint8_t> saved = FileOfOneNote();
        ASSERT_TRUE(WriteWholeFile(path, saved));
        CNotesApp app;
        app.SetProfileFile(folder.Path("Velumo.ini"));
        ASSERT_TRUE(app.m_notes.Load(path));
        app.m_notes.Add(std::make_unique<CNote>());  // not saved yet
        std::atomic<HANDLE> lock{
            CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
        ASSERT_NE(lock.load(), INVALID_HANDLE_VALUE);
        std::atomic<int> questions{0};
        MessageBoxCloser closer([&](const MessageBoxCloser::Seen& box) {
            if (box.text.find("Retry") == std::string::npos)
                return 0;  // the failing save's message stays open: the Exit ends it
            ++questions;
            if (c.freeBeforeAnswer)
                CloseHandle(lock.exchange(nullptr));
            return IDCANCEL;
        });

        TimedExit timed{GetTickCount() + c.exitAfterMs, GetTickCount() + 12000};
        g_timedExit = &timed;
        CMainDlg dlg(app.m_notes);
        dlg.SetSkinFile(VELUMO_PACKED_SKIN);
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, ExitWhenDue);
        dlg.DoModal(nullptr);
        KillTimer(nullptr, timer);
        g_timedExit = nullptr;
        PumpPending();

        EXPECT_FALSE(timed.gaveUp) << "the Exit was lost";
        EXPECT_EQ(questions.load(), 1);
        if (HANDLE held = lock.exchange(nullptr))
            CloseHandle(held);
        app.m_notes.Save();  // the program's own last step after the main window
        EXPECT_EQ(ReadWholeFile(path), saved) << "Cancel wrote the notes";
    }
}
