// The scheduler tick with real note windows, real files and a real receiver
// window, at a time the test chooses; alarms are recorded, not played.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ScheduleTestNotes.h"
#include "WinTestUtil.h"
#include "mainwnd/MainWindowNoteHost.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"
#include "schedule/CScheduler.h"

namespace {

using namespace schedtest;

class FixedClock : public IScheduleClock {
public:
    NoteTime Now() const override { return m_now; }
    NoteTime m_now = Local(2024, 6, 12, 14, 0);
};

class RecordingPlayer : public IAlarmPlayer {
public:
    void Play(const std::u16string& path) override
    {
        m_played.push_back(Utf8FromUtf16(path));
        if (m_onPlay)
            m_onPlay(m_played.back());
    }
    std::vector<std::string> m_played;
    std::function<void(const std::string&)> m_onPlay;
};

// Stands in for the main window: a message-only window whose queue the test
// reads.
class Receiver {
public:
    Receiver()
        : m_hwnd(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr))
    {
    }
    ~Receiver() { DestroyWindow(m_hwnd); }
    HWND Hwnd() const { return m_hwnd; }

    // The places carried by the row refreshes posted so far, in order.
    std::vector<NotePos> TakeRefreshes()
    {
        std::vector<NotePos> out;
        MSG msg;
        while (PeekMessageA(&msg, m_hwnd, WM_NOTE_CHANGED, WM_NOTE_CHANGED, PM_REMOVE)) {
            EXPECT_EQ(msg.wParam, 0u);
            out.push_back(reinterpret_cast<NotePos>(msg.lParam));
        }
        return out;
    }

private:
    HWND m_hwnd;
};

class SchedulerWinTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_receiver.Hwnd(), nullptr);
        ASSERT_TRUE(WriteWholeFile(m_folder.Path("a.wav"), {'R', 'I', 'F', 'F'}));
        ASSERT_TRUE(WriteWholeFile(m_folder.Path("b.wav"), {'R', 'I', 'F', 'F'}));
    }

    void TearDown() override
    {
        while (NotePos p = m_notes.GetHeadPosition())
            m_notes.Remove(p);
        PumpPending();
    }

    CNote* AddDueNote(const std::string& text, const std::string& sound)
    {
        auto note = MakeDueNote(text, sound);
        note->m_rcWindow = {200, 200, 400, 350};
        return m_notes.GetAt(m_notes.Add(note));
    }

    TempFolder m_folder;
    CNoteList m_notes;
    FixedClock m_clock;
    RecordingPlayer m_player;
    Receiver m_receiver;
    MainWindowNoteHost m_host{m_notes, m_receiver.Hwnd()};
    CScheduler m_scheduler{m_notes, m_host, m_clock, m_player};
};

}  // namespace

TEST_F(SchedulerWinTest, TwoDueNotesComeUpInListOrderOnceADay)
{
    CNote* a = AddDueNote("A", m_folder.Path("a.wav"));
    CNote* b = AddDueNote("B", m_folder.Path("b.wav"));
    m_notes.m_bModified = 0;
    // The alarms are synchronous: A's plays before B is even looked at.
    std::vector<std::string> bWhilePlaying;
    m_player.m_onPlay = [&](const std::string&) { bWhilePlaying.push_back(b->m_bVisible ? "B up" : "B hidden"); };

    EXPECT_EQ(m_scheduler.ScheduleTick(), 1);

    EXPECT_EQ(m_receiver.TakeRefreshes(), (std::vector<NotePos>{a->m_pos, b->m_pos}));
    EXPECT_EQ(m_player.m_played, (std::vector<std::string>{m_folder.Path("a.wav"), m_folder.Path("b.wav")}));
    EXPECT_EQ(bWhilePlaying, (std::vector<std::string>{"B hidden", "B up"}));
    for (CNote* note : {a, b}) {
        SCOPED_TRACE(Utf8FromUtf16(note->m_strText));
        EXPECT_EQ(note->m_bVisible, 1);
        ASSERT_NE(note->m_pWnd, nullptr);
        EXPECT_TRUE(IsWindowVisible(note->m_pWnd->GetHwnd()));
        EXPECT_EQ(note->m_tLastShown, PassDay());
    }
    EXPECT_EQ(m_notes.m_bModified, 1u);

    // Hidden again the same day: the stamp keeps them down.
    for (CNote* note : {a, b}) {
        DestroyWindow(note->m_pWnd->GetHwnd());
        note->m_bVisible = 0;
    }
    PumpPending();
    ASSERT_EQ(a->m_pWnd, nullptr);
    m_player.m_played.clear();
    m_notes.m_bModified = 0;
    m_clock.m_now += 5;
    m_scheduler.ScheduleTick();
    EXPECT_TRUE(m_receiver.TakeRefreshes().empty());
    EXPECT_TRUE(m_player.m_played.empty());
    EXPECT_EQ(a->m_bVisible, 0);
    EXPECT_EQ(a->m_pWnd, nullptr);
    EXPECT_EQ(m_notes.m_bModified, 0u);
}

TEST_F(SchedulerWinTest, DueVisibleNoteKeepsItsWindowAndPlays)
{
    CNote* note = AddDueNote("V", m_folder.Path("a.wav"));
    note->m_bVisible = 1;
    note->m_pWnd = CNoteWnd::Create(note, false, m_host);
    ASSERT_NE(note->m_pWnd, nullptr);
    const HWND before = note->m_pWnd->GetHwnd();
    RECT rcBefore;
    GetWindowRect(before, &rcBefore);

    m_scheduler.ScheduleTick();

    EXPECT_TRUE(m_receiver.TakeRefreshes().empty());
    EXPECT_EQ(m_player.m_played, std::vector<std::string>{m_folder.Path("a.wav")});
    ASSERT_NE(note->m_pWnd, nullptr);
    EXPECT_EQ(note->m_pWnd->GetHwnd(), before);
    RECT rcAfter;
    GetWindowRect(before, &rcAfter);
    EXPECT_TRUE(EqualRect(&rcBefore, &rcAfter)) << "the scheduler never moves a note";
    EXPECT_EQ(note->m_tLastShown, PassDay());
}

TEST_F(SchedulerWinTest, NoSoundWithoutAFileToPlay)
{
    const struct {
        const char* label;
        std::string sound;
        uint16_t alarm;
    } cases[] = {
        {"file missing", m_folder.Path("gone.wav"), 1},
        {"no file named", "", 1},
        {"alarm off", m_folder.Path("a.wav"), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CNote* note = AddDueNote(c.label, c.sound);
        note->m_bAlarm = c.alarm;
        m_player.m_played.clear();

        m_scheduler.ScheduleTick();

        EXPECT_TRUE(m_player.m_played.empty());
        EXPECT_EQ(m_receiver.TakeRefreshes(), std::vector<NotePos>{note->m_pos}) << "still brought up";
        EXPECT_NE(note->m_pWnd, nullptr);
        m_notes.Remove(note->m_pos);
    }
}

TEST_F(SchedulerWinTest, NoteInItsSchedulingDialogIsLeftAlone)
{
    CNote* due = AddDueNote("due", m_folder.Path("a.wav"));
    due->m_bInSchedDialog = 1;
    CNote* shown = AddDueNote("shown", "");
    shown->m_bSchedDisabled = 1;
    shown->m_bVisible = 1;
    shown->m_bInSchedDialog = 1;
    m_notes.m_bModified = 0;

    m_scheduler.ScheduleTick();

    EXPECT_TRUE(m_receiver.TakeRefreshes().empty());
    EXPECT_TRUE(m_player.m_played.empty());
    EXPECT_EQ(due->m_bVisible, 0);
    EXPECT_EQ(due->m_tLastShown, Mark1980());
    EXPECT_EQ(shown->m_pWnd, nullptr) << "no window while the dialog is open";
    EXPECT_EQ(m_notes.m_bModified, 0u);

    // Once the dialog has closed the next pass catches up.
    due->m_bInSchedDialog = 0;
    shown->m_bInSchedDialog = 0;
    m_scheduler.ScheduleTick();
    EXPECT_EQ(m_receiver.TakeRefreshes(), std::vector<NotePos>{due->m_pos});
    EXPECT_NE(shown->m_pWnd, nullptr);
}

TEST_F(SchedulerWinTest, AWindowThatCannotBeMadeIsTriedAgainNextPass)
{
    CNote* note = AddDueNote("N", "");
    note->m_bSchedDisabled = 1;
    note->m_bVisible = 1;
    int attempts = 0;
    bool fail = true;
    m_scheduler.SetWindowFactory([&](CNote* n) -> CNoteWnd* {
        ++attempts;
        return fail ? nullptr : CNoteWnd::Create(n, false, m_host);
    });

    m_scheduler.ScheduleTick();
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(note->m_pWnd, nullptr);

    fail = false;
    m_scheduler.ScheduleTick();
    EXPECT_EQ(attempts, 2);
    ASSERT_NE(note->m_pWnd, nullptr);
    EXPECT_TRUE(IsWindowVisible(note->m_pWnd->GetHwnd()));
}

TEST_F(SchedulerWinTest, EmptyListDoesNothing)
{
    m_notes.m_bModified = 0;
    EXPECT_EQ(m_scheduler.ScheduleTick(), 1);
    EXPECT_TRUE(m_receiver.TakeRefreshes().empty());
    EXPECT_TRUE(m_player.m_played.empty());
    EXPECT_EQ(m_notes.m_bModified, 0u);
}
