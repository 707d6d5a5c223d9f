// Reminders with real windows: a due note comes above the window the user is
// in without taking its keyboard, and the tray shows one balloon for a pass;
// "5 minutes" from a note's menu hides the note until a pass at that time;
// "Coming up" lists a table of notes in time order and opens the one chosen.
// Balloons are recorded at the shell call, not shown.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ScheduleTestNotes.h"
#include "WinTestUtil.h"
#include "mainwnd/MainDlgReminders.h"
#include "mainwnd/MainWindowNoteHost.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"
#include "schedule/CComingUpDlg.h"
#include "schedule/CScheduler.h"
#include "schedule/RecurrenceBlock.h"
#include "tray/CSystemTray.h"

namespace {

using namespace schedtest;

constexpr UINT kTrayMessage = WM_APP + 0x64;
constexpr UINT kTrayId = 152;

struct Balloon {
    std::wstring title;
    std::wstring text;
    DWORD flags;
};
std::vector<Balloon> g_balloons;

BOOL RecordBalloon(const NOTIFYICONDATAW& data)
{
    EXPECT_EQ(data.uID, kTrayId);
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_INFO));
    g_balloons.push_back({data.szInfoTitle, data.szInfo, data.dwInfoFlags});
    return TRUE;
}

class TestClock : public IScheduleClock {
public:
    NoteTime Now() const override { return m_now; }
    NoteTime m_now = Local(2024, 6, 12, 14, 0);
};

class SilentPlayer : public IAlarmPlayer {
public:
    void Play(const std::u16string&) override {}
};

// A window of another program that has the keyboard.
class Bystander {
public:
    Bystander()
    {
        m_hwnd = CreateWindowExA(0, "EDIT", "typing here", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 150, 500, 400,
                                 nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(m_hwnd);
        SetFocus(m_hwnd);
        PumpUntil([this] { return GetForegroundWindow() == m_hwnd; }, 2000);
    }
    ~Bystander() { DestroyWindow(m_hwnd); }
    HWND Hwnd() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
};

// True when a lies above b among the top-level windows.
bool IsAbove(HWND a, HWND b)
{
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == a)
            return true;
        if (w == b)
            return false;
    }
    return false;
}

class RemindersWinTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_balloons.clear();
        CSystemTray::SetBalloonCall(RecordBalloon);
        HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
        ASSERT_TRUE(m_tray.Create(nullptr, kTrayMessage, "Velumo test", icon, kTrayId));
        m_scheduler.SetRemindersHandler([this](const std::vector<CNote*>& up) { m_reminders.Tell(up); });
    }
    void TearDown() override
    {
        while (NotePos p = m_notes.GetHeadPosition())
            m_notes.Remove(p);
        PumpPending();
        m_tray.RemoveIcon();
        CSystemTray::SetBalloonCall(nullptr);
        DestroyWindow(m_mainStandIn);
    }

    CNote* AddNote(const char16_t* text)
    {
        auto note = std::make_unique<CNote>();
        note->m_strText = text;
        note->m_bVisible = 0;
        note->m_rcWindow = {300, 250, 500, 400};
        return m_notes.GetAt(m_notes.Add(note));
    }
    // Hidden, one time, due from 13:30 on the pass's day.
    CNote* AddDueNote(const char16_t* text)
    {
        CNote* note = AddNote(text);
        SetSchedule(*note, kOneTime, PassDay(), Local(2024, 6, 12, 13, 30));
        return note;
    }

    CNoteList m_notes;
    TestClock m_clock;
    SilentPlayer m_player;
    HWND m_mainStandIn = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    MainWindowNoteHost m_host{m_notes, m_mainStandIn};
    CScheduler m_scheduler{m_notes, m_host, m_clock, m_player};
    CSystemTray m_tray;
    std::vector<std::u16string> m_opened;
    MainDlgReminders m_reminders{m_notes, m_tray, [this](CNote& note) { m_opened.push_back(note.m_strText); }};
};

}  // namespace

TEST_F(RemindersWinTest, DueNotesComeAboveTheUsersWindowWithOneBalloon)
{
    const struct {
        const char* label;
        std::vector<const char16_t*> due;
        std::wstring balloon;
    } cases[] = {
        {"one note", {u"Dentist\r\nbring the card"}, L"Dentist\n13:30"},
        {"two notes in one pass", {u"Call Anna", u"  \r\nWater the plants"},
         L"2 notes are due\nCall Anna, 13:30\nWater the plants, 13:30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Bystander user;
        ASSERT_EQ(GetForegroundWindow(), user.Hwnd());
        std::vector<CNote*> notes;
        for (const char16_t* text : c.due)
            notes.push_back(AddDueNote(text));
        g_balloons.clear();
        m_opened.clear();

        m_scheduler.ScheduleTick();
        PumpPending();

        ASSERT_EQ(g_balloons.size(), 1u);
        EXPECT_EQ(g_balloons[0].title, L"Reminder");
        EXPECT_EQ(g_balloons[0].text, c.balloon);
        for (CNote* note : notes) {
            ASSERT_NE(note->m_pWnd, nullptr);
            EXPECT_TRUE(IsAbove(note->m_pWnd->GetHwnd(), user.Hwnd())) << "the note is in front";
            EXPECT_EQ(GetWindowLongPtrA(note->m_pWnd->GetHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0)
                << "and keeps its own on-top setting";
        }
        EXPECT_EQ(GetForegroundWindow(), user.Hwnd()) << "the keyboard stays where the user types";
        EXPECT_EQ(GetFocus(), user.Hwnd());

        // The balloon's click opens the first note; a later pass shows none.
        EXPECT_EQ(m_tray.OnTrayNotification(kTrayId, NIN_BALLOONUSERCLICK), 1);
        EXPECT_EQ(m_opened, std::vector<std::u16string>{notes[0]->m_strText});
        m_clock.m_now += 5;
        m_scheduler.ScheduleTick();
        EXPECT_EQ(g_balloons.size(), 1u);
        m_clock.m_now -= 5;
        while (NotePos p = m_notes.GetHeadPosition())
            m_notes.Remove(p);
        PumpPending();
    }
}

TEST_F(RemindersWinTest, FiveMinutesFromTheMenuHidesTheNoteUntilAPassAtThatTime)
{
    CNote* note = AddNote(u"Stretch");
    note->m_bVisible = 1;
    note->m_pWnd = CNoteWnd::Create(note, false, m_host);
    ASSERT_NE(note->m_pWnd, nullptr);
    const NoteTime lastShown = note->m_tLastShown;
    const NoteTime before = CurrentNoteTime();

    SendMessageA(note->m_pWnd->GetHwnd(), WM_COMMAND, ID_NOTE_SNOOZE_FIRST, 0);
    PumpUntil([&] { return note->m_pWnd == nullptr; }, 2000);

    EXPECT_EQ(note->m_bVisible, 0);
    EXPECT_EQ(note->m_pWnd, nullptr);
    EXPECT_GE(note->m_tSnoozeUntil, before + 300);
    EXPECT_LE(note->m_tSnoozeUntil, CurrentNoteTime() + 300);
    const NoteTime until = note->m_tSnoozeUntil;

    m_clock.m_now = until - 1;
    m_scheduler.ScheduleTick();
    EXPECT_EQ(note->m_pWnd, nullptr) << "a second early";
    EXPECT_TRUE(g_balloons.empty());

    m_clock.m_now = until;
    m_scheduler.ScheduleTick();
    PumpPending();
    EXPECT_EQ(note->m_bVisible, 1);
    ASSERT_NE(note->m_pWnd, nullptr);
    EXPECT_TRUE(IsWindowVisible(note->m_pWnd->GetHwnd()));
    EXPECT_EQ(note->m_tSnoozeUntil, 0);
    EXPECT_EQ(note->m_tLastShown, lastShown) << "a snooze never stamps the day";
    ASSERT_EQ(g_balloons.size(), 1u);
    EXPECT_EQ(g_balloons[0].text, L"Stretch");
}

TEST_F(RemindersWinTest, ComingUpListsTheWeekInTimeOrderAndOpensTheChosenNote)
{
    const NoteTime now = Local(2024, 6, 12, 10, 0);  // a Wednesday
    const struct {
        const char16_t* text;
        std::function<void(CNote&)> schedule;
    } notes[] = {
        {u"Monthly rent", [](CNote& n) {
             SetSchedule(n, kMonthly, Local(2024, 1, 1), Local(2024, 1, 1, 8, 0));
             RecurrenceBlock(n.m_recur).SetMonthlyByDay(15, 0);
         }},
        {u"Not this week", [](CNote& n) { SetSchedule(n, kOneTime, Local(2024, 6, 30), Local(2024, 1, 1, 9, 0)); }},
        {u"Weekdays at nine", [](CNote& n) {
             SetSchedule(n, kDaily, Local(2024, 1, 1), Local(2024, 1, 1, 9, 0));
             RecurrenceBlock(n.m_recur).SetDaily(0, true);
             n.m_tLastShown = Local(2024, 6, 12);
         }},
        {u"Snoozed", [now](CNote& n) { n.m_tSnoozeUntil = now + 1800; }},
        {u"Today at noon", [](CNote& n) { SetSchedule(n, kOneTime, Local(2024, 6, 12), Local(2024, 1, 1, 12, 0)); }},
        {u"Unscheduled", [](CNote&) {}},
    };
    for (const auto& n : notes)
        n.schedule(*AddNote(n.text));

    CComingUpDlg dlg(m_notes, now);
    ASSERT_NE(dlg.CreateModeless(nullptr), nullptr);
    HWND list = dlg.GetItem(IDC_COMING_UP_LIST);
    const std::vector<std::wstring> expected{L"Snoozed|Snoozed", L"Today at noon|Once",
                                             L"Weekdays at nine|Weekdays", L"Monthly rent|Monthly"};
    std::vector<std::wstring> rows;
    for (int row = 0; row < ListView_GetItemCount(list); ++row)
        rows.push_back(ListCell(list, row, CComingUpDlg::kNoteColumn) + L"|" +
                       ListCell(list, row, CComingUpDlg::kRepeatColumn));
    EXPECT_EQ(rows, expected);
    EXPECT_NE(ListCell(list, 2, CComingUpDlg::kDayColumn).find(L"13"), std::wstring::npos) << "Thursday the 13th";

    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(dlg.GetHwnd(), WM_COMMAND, IDOK, 0);
    m_reminders.OpenById(dlg.m_chosen);
    EXPECT_EQ(m_opened, std::vector<std::u16string>{u"Today at noon"});
}
