// The scheduling dialog on its real templates: refusals and what they leave
// behind, the groups of the When list, the disable rule of both pages, the
// alarm controls, and the way in from a note window.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ScheduleTestNotes.h"
#include "WinTestUtil.h"
#include "app/CNotesApp.h"
#include "framework/WideText.h"
#include "mainwnd/MainWindowNoteHost.h"
#include "notes/Archive.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"
#include "schedule/CNWSchedDlg.h"
#include "schedule/IsDue.h"
#include "schedule/RecurrenceBlock.h"
#include "schedule/ScheduleForm.h"

namespace {

using namespace schedtest;

// Receives what the dialog posts to the main window.
class MainStandIn : public CWindowBase {
public:
    MainStandIn()
    {
        WNDCLASSEXA wc{};
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VelumoTestSchedMain";
        RegisterClassOnce(wc);
        CreateEx(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr);
    }
    std::vector<LPARAM> m_changed;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_NOTE_CHANGED && wParam == 0)
            m_changed.push_back(lParam);
        return DefaultProc(msg, wParam, lParam);
    }
};

std::vector<uint8_t> Stored(CNote& note)
{
    CArchive ar;
    note.Serialize(ar);
    return ar.TakeBuffer();
}

bool Enabled(HWND page, int id)
{
    return IsWindowEnabled(GetDlgItem(page, id)) != FALSE;
}

bool Visible(HWND page, int id)
{
    return IsWindowVisible(GetDlgItem(page, id)) != FALSE;
}

std::string Text(HWND page, int id)
{
    char text[MAX_PATH] = {};
    GetDlgItemTextA(page, id, text, sizeof text);
    return text;
}

// Public: the case tables act on the fixture from lambdas.
class ScheduleDialogTest : public testing::Test {
public:
    void SetUp() override
    {
        g_strLastSoundFile.clear();
        m_app.m_hMainWnd = m_main.GetHwnd();
        m_note = AddNote();
    }
    void TearDown() override
    {
        m_dlg.reset();
        PumpPending();
    }

    CNote* AddNote()
    {
        auto note = std::make_unique<CNote>();
        note->m_bVisible = 0;
        return m_app.m_notes.GetAt(m_app.m_notes.Add(note));
    }

    // Opens the real dialog (modeless, so the test can act on it).
    void Open(CNote* note = nullptr)
    {
        m_dlg = std::make_unique<CNWSchedDlg>(note ? *note : *m_note, m_host);
        m_hwnd = m_dlg->CreateModeless(nullptr);
        ASSERT_NE(m_hwnd, nullptr);
        ShowWindow(m_hwnd, SW_SHOW);
        PumpPending();
        m_sched = m_dlg->SchedulePage().GetHwnd();
        ASSERT_NE(m_sched, nullptr) << "the first page has its window at once";
    }
    HWND ShowEventPage()
    {
        EXPECT_TRUE(m_dlg->Sheet().SetActivePage(1));
        PumpPending();
        return m_dlg->EventPage().GetHwnd();
    }
    void SetWhen(int kind)
    {
        HWND list = GetDlgItem(m_sched, IDC_SP_WHEN);
        SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(kind), 0);
        SendMessageA(m_sched, WM_COMMAND, MAKEWPARAM(IDC_SP_WHEN, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    static void Click(HWND page, int id) { SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0); }
    static void Type(HWND page, int id, const std::string& text) { SetDlgItemTextA(page, id, text.c_str()); }
    static void SetDate(HWND page, int id, NoteTime t)
    {
        LocalDateTime l;
        ASSERT_TRUE(ToLocal(t, l));
        SYSTEMTIME st{};
        st.wYear = static_cast<WORD>(l.year);
        st.wMonth = static_cast<WORD>(l.month);
        st.wDay = static_cast<WORD>(l.day);
        st.wHour = static_cast<WORD>(l.hour);
        st.wMinute = static_cast<WORD>(l.minute);
        SendDlgItemMessageA(page, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    }
    // A change of a picker as the user makes it: the picker tells the page.
    static void UserSetsPicker(HWND page, int id, const SYSTEMTIME* st)
    {
        HWND picker = GetDlgItem(page, id);
        SYSTEMTIME none{};
        SendMessageA(picker, DTM_SETSYSTEMTIME, st ? GDT_VALID : GDT_NONE,
                     reinterpret_cast<LPARAM>(st ? st : &none));
        NMDATETIMECHANGE change{};
        change.nmhdr.hwndFrom = picker;
        change.nmhdr.idFrom = static_cast<UINT_PTR>(id);
        change.nmhdr.code = DTN_DATETIMECHANGE;
        change.dwFlags = st ? GDT_VALID : GDT_NONE;
        if (st)
            change.st = *st;
        SendMessageA(page, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
    }
    // Presses a dialog button; true when the dialog is still open.
    bool Press(int id)
    {
        SendMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(m_hwnd, id)));
        PumpPending();
        return IsWindow(m_hwnd) != FALSE;
    }

    CNotesApp m_app;
    MainStandIn m_main;
    MainWindowNoteHost m_host{m_app.m_notes, m_main.GetHwnd()};
    CNote* m_note = nullptr;
    std::unique_ptr<CNWSchedDlg> m_dlg;
    HWND m_hwnd = nullptr;
    HWND m_sched = nullptr;
};

// What a message box said, and where the focus went after it.
struct Refusal {
    std::string caption;
    std::string text;
    int focusId;  // 0: not checked
};

TEST_F(ScheduleDialogTest, RefusedOkKeepsTheDialogOpenAndCancelLeavesTheNote)
{
    const NoteTime now = CurrentNoteTime();
    struct Case {
        const char* label;
        std::function<void(ScheduleDialogTest&)> act;
        Refusal expected;
    } cases[] = {
        {"weekly without a day", [](ScheduleDialogTest& t) { t.SetWhen(kWeekly); },
         {ScheduleWarning::kCaption, ScheduleWarning::kNoDay, 0}},
        {"monthly without a month", [](ScheduleDialogTest& t) { t.SetWhen(kMonthly); },
         {ScheduleWarning::kCaption, ScheduleWarning::kNoMonth, 0}},
        {"0 days typed under Daily, then Weekly",
         [](ScheduleDialogTest& t) {
             t.SetWhen(kDaily);
             Type(t.m_sched, IDC_SP_DAYS, "0");
             t.SetWhen(kWeekly);
             Click(t.m_sched, IDC_SP_SUNDAY + 1);
         },
         {"Velumo", "Please enter an integer between 1 and 99.", IDC_SP_DAYS}},
        {"no number in the weeks field",
         [](ScheduleDialogTest& t) { Type(t.m_sched, IDC_SP_WEEKS, "x"); },
         {"Velumo", "Please enter an integer.", IDC_SP_WEEKS}},
        {"one time, starting yesterday, with an ending date",
         [now](ScheduleDialogTest& t) {
             t.SetWhen(kDaily);
             SetDate(t.m_sched, IDC_SP_END_DATE, now + 86400);
             t.SetWhen(kOneTime);
             SetDate(t.m_sched, IDC_SP_START_DATE, now - 86400);
         },
         {ScheduleWarning::kCaption, ScheduleWarning::kStartBeforeToday, 0}},
        {"ending before the start",
         [now](ScheduleDialogTest& t) {
             t.SetWhen(kDaily);
             SetDate(t.m_sched, IDC_SP_START_DATE, now + 3 * 86400);
             SetDate(t.m_sched, IDC_SP_END_DATE, now + 86400);
         },
         {ScheduleWarning::kCaption, ScheduleWarning::kEndBeforeStart, 0}},
        {"lead time of 100 days",
         [](ScheduleDialogTest& t) {
             t.SetWhen(kDaily);
             Type(t.ShowEventPage(), IDC_EP_DAYS, "100");
         },
         {"Velumo", "Please enter an integer between 0 and 99.", IDC_EP_DAYS}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        SetSchedule(*m_note, kOneTime, now, now);
        const auto before = Stored(*m_note);
        Open();
        MessageBoxCloser closer;
        c.act(*this);
        EXPECT_TRUE(Press(IDOK)) << "a refused OK leaves the dialog open";
        const auto boxes = closer.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, c.expected.caption);
        EXPECT_EQ(boxes[0].text, c.expected.text);
        if (c.expected.focusId) {
            EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.expected.focusId);
        }
        EXPECT_EQ(m_note->m_bInSchedDialog, 1u);

        Click(m_hwnd, IDC_SCHED_DISABLE);  // the box, too, waits for OK
        EXPECT_FALSE(Press(IDCANCEL));
        EXPECT_EQ(Stored(*m_note), before) << "Cancel leaves the note as it was";
        EXPECT_EQ(m_note->m_bInSchedDialog, 0u);
        EXPECT_TRUE(m_main.m_changed.empty());
        m_dlg.reset();
    }
}

TEST_F(ScheduleDialogTest, OkWritesTheScheduleArmsItAndTellsTheMainWindow)
{
    const NoteTime now = CurrentNoteTime();
    const NoteTime today = LocalToday(now).value();
    Open();
    EXPECT_FALSE(IsDlgButtonChecked(m_hwnd, IDC_SCHED_DISABLE)) << "a new note opens enabled";
    EXPECT_EQ(m_note->m_bInSchedDialog, 1u);
    // One time, starting yesterday, without an ending date: accepted.
    SetDate(m_sched, IDC_SP_START_DATE, now - 86400);
    m_note->m_recur.fill(0x11);
    m_app.m_notes.m_bModified = 0;

    EXPECT_FALSE(Press(IDOK));
    EXPECT_EQ(m_note->m_nSchedKind, 0u);
    EXPECT_LT(m_note->m_tStartDate, today);
    EXPECT_EQ(m_note->m_bHasEndDate, 0);
    EXPECT_EQ(m_note->m_bSchedDisabled, 0);
    EXPECT_EQ(m_note->m_bSchedNew, 0);
    EXPECT_EQ(m_note->m_tLastShown, Mark1980());
    EXPECT_EQ(m_note->m_recur[0], 0x11) << "one time writes nothing of the block";
    EXPECT_EQ(m_note->m_bInSchedDialog, 0u);
    EXPECT_EQ(m_app.m_notes.m_bModified, 1u);
    EXPECT_EQ(m_main.m_changed, std::vector<LPARAM>{reinterpret_cast<LPARAM>(m_note->m_pos)});
}

TEST_F(ScheduleDialogTest, StoredCountsOutOfRangeLoadAsOne)
{
    struct Case {
        Kind kind;
        int field;
    } cases[] = {{kDaily, IDC_SP_DAYS}, {kWeekly, IDC_SP_WEEKS}, {kMonthly, IDC_SP_MONTH_DAY}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        SetSchedule(*m_note, c.kind, CurrentNoteTime(), CurrentNoteTime());
        m_note->m_recur.fill(0);
        m_note->m_recur[c.kind == kMonthly ? 10 : 0] = 150;
        Open();
        EXPECT_EQ(Text(m_sched, c.field), "1");
        EXPECT_TRUE(Visible(m_sched, c.field));
        m_dlg.reset();
    }
}

// A stored time that a picker cannot show (before 1970, past the pickers'
// last day) leaves the picker on another value: OK keeps the stored one,
// unless the user changed that picker.
TEST_F(ScheduleDialogTest, StoredTimesThePickersCannotShowSurviveOk)
{
    const NoteTime now = CurrentNoteTime();
    SYSTEMTIME ten{};
    ten.wYear = 2024;
    ten.wMonth = 6;
    ten.wDay = 12;
    ten.wHour = 10;
    const struct {
        const char* label;
        std::function<void(CNote&)> stored;
        std::function<void(HWND)> user;
        std::function<void(const CNote&)> check;
    } cases[] = {
        {"a start time before 1970", [](CNote& n) { n.m_tStartTime = -5; }, nullptr,
         [](const CNote& n) { EXPECT_EQ(n.m_tStartTime, -5); }},
        {"a start date before 1970", [](CNote& n) { n.m_tStartDate = -86400 * 400; }, nullptr,
         [](const CNote& n) { EXPECT_EQ(n.m_tStartDate, -86400 * 400); }},
        {"the last end date a time value holds",
         [](CNote& n) {
             n.m_bHasEndDate = 1;
             n.m_tEndDate = INT32_MAX;
         },
         nullptr,
         [](const CNote& n) {
             EXPECT_EQ(n.m_bHasEndDate, 1);
             EXPECT_EQ(n.m_tEndDate, INT32_MAX);
         }},
        {"a start time before 1970, changed by the user", [](CNote& n) { n.m_tStartTime = -5; },
         [&ten](HWND page) { UserSetsPicker(page, IDC_SP_START_TIME, &ten); },
         [](const CNote& n) {
             LocalDateTime t;
             ASSERT_TRUE(ToLocal(n.m_tStartTime, t));
             EXPECT_EQ(t.hour * 100 + t.minute, 1000);
         }},
        {"an end date before 1970, a later one picked by the user",
         [](CNote& n) {
             n.m_bHasEndDate = 1;
             n.m_tEndDate = -86400;
         },
         [](HWND page) {
             SYSTEMTIME later{};
             later.wYear = 2037;
             later.wMonth = 3;
             later.wDay = 4;
             UserSetsPicker(page, IDC_SP_END_DATE, &later);
         },
         [](const CNote& n) {
             EXPECT_EQ(n.m_bHasEndDate, 1);
             LocalDateTime end;
             ASSERT_TRUE(ToLocal(n.m_tEndDate, end));
             EXPECT_EQ(DateKey(end), 20370304);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        SetSchedule(*m_note, kDaily, now, now);
        RecurrenceBlock(m_note->m_recur).SetDaily(1, false);
        m_note->m_bHasEndDate = 0;
        c.stored(*m_note);
        Open();
        if (c.user)
            c.user(m_sched);
        MessageBoxCloser closer;
        EXPECT_FALSE(Press(IDOK)) << "OK is accepted";
        EXPECT_TRUE(closer.Boxes().empty());
        c.check(*m_note);
        m_dlg.reset();
    }
}

TEST_F(ScheduleDialogTest, SwitchingKindsKeepsEachGroupAndStoresOnlyTheSelectedOne)
{
    m_note->m_recur.fill(0x11);
    Open();
    for (int id : {IDC_SP_EVERY, IDC_SP_EVERY_LABEL, IDC_SP_ON_THE})
        EXPECT_FALSE(Visible(m_sched, id)) << "One Time Only shows no group";
    EXPECT_FALSE(Enabled(m_sched, IDC_SP_END_DATE));

    SetWhen(kDaily);
    Type(m_sched, IDC_SP_DAYS, "5");
    EXPECT_TRUE(Enabled(m_sched, IDC_SP_END_DATE));
    SetWhen(kWeekly);
    EXPECT_FALSE(Visible(m_sched, IDC_SP_DAYS));
    EXPECT_TRUE(Visible(m_sched, IDC_SP_WEEKS));
    Type(m_sched, IDC_SP_WEEKS, "3");
    Click(m_sched, IDC_SP_SUNDAY + 1);  // Monday
    SetWhen(kMonthly);
    EXPECT_FALSE(Visible(m_sched, IDC_SP_WEEKS));
    EXPECT_TRUE(Visible(m_sched, IDC_SP_JANUARY));
    SetWhen(kDaily);
    EXPECT_FALSE(Visible(m_sched, IDC_SP_JANUARY));
    EXPECT_EQ(Text(m_sched, IDC_SP_DAYS), "5");
    SetWhen(kWeekly);
    EXPECT_EQ(Text(m_sched, IDC_SP_WEEKS), "3");
    EXPECT_TRUE(IsDlgButtonChecked(m_sched, IDC_SP_SUNDAY + 1));

    EXPECT_FALSE(Press(IDOK));
    EXPECT_EQ(m_note->m_nSchedKind, static_cast<uint32_t>(kWeekly));
    const RecurrenceView recur(m_note->m_recur);
    EXPECT_EQ(recur.EveryWeeks(), 3);
    EXPECT_EQ(recur.DayMask(), 1 << 1);
    for (size_t i = 4; i < kRecurBytes; ++i)
        EXPECT_EQ(m_note->m_recur[i], 0x11) << "byte " << i;
}

TEST_F(ScheduleDialogTest, DisableScheduleGreysBothPagesAndUncheckingRestores)
{
    SetSchedule(*m_note, kDaily, CurrentNoteTime(), CurrentNoteTime());
    RecurrenceBlock(m_note->m_recur).SetDaily(0, true);  // Weekdays
    m_note->m_bAlarm = 1;
    m_note->m_strSoundFile = u"C:\\alarm.wav";
    const auto before = Stored(*m_note);
    Open();
    EXPECT_FALSE(Enabled(m_sched, IDC_SP_DAYS)) << "Weekdays leaves the day count off";

    // The event page gets its window only after the click: it starts greyed.
    Click(m_hwnd, IDC_SCHED_DISABLE);
    EXPECT_EQ(m_note->m_bSchedDisabled, 0) << "the note waits for OK";
    const HWND event = ShowEventPage();
    const int schedIds[] = {IDC_SP_WHEN, IDC_SP_START_DATE, IDC_SP_START_TIME, IDC_SP_END_DATE,
                            IDC_SP_EVERY, IDC_SP_WEEKDAYS, IDC_SP_DAYS, IDC_SP_DAYS_SPIN};
    const int eventIds[] = {IDC_EP_ALARM, IDC_EP_DAYS, IDC_EP_DAYS_SPIN, IDC_EP_HOURS, IDC_EP_HOURS_SPIN,
                            IDC_EP_MINUTES, IDC_EP_MINUTES_SPIN, IDC_EP_SOUND_FILE, IDC_EP_BROWSE, IDC_EP_TEST};
    for (int id : schedIds)
        EXPECT_FALSE(Enabled(m_sched, id)) << id;
    for (int id : eventIds)
        EXPECT_FALSE(Enabled(event, id)) << id;

    Click(m_hwnd, IDC_SCHED_DISABLE);
    for (int id : {IDC_SP_WHEN, IDC_SP_START_DATE, IDC_SP_START_TIME, IDC_SP_END_DATE, IDC_SP_EVERY,
                   IDC_SP_WEEKDAYS})
        EXPECT_TRUE(Enabled(m_sched, id)) << id;
    EXPECT_FALSE(Enabled(m_sched, IDC_SP_DAYS)) << "Weekdays is still checked";
    for (int id : eventIds)
        EXPECT_TRUE(Enabled(event, id)) << id;

    Click(m_hwnd, IDC_SCHED_DISABLE);
    EXPECT_FALSE(Press(IDCANCEL));
    EXPECT_EQ(Stored(*m_note), before) << "Cancel after the clicks leaves the note as it was";
}

TEST_F(ScheduleDialogTest, AlarmOffKeepsThePathAndTheLastSoundIsProposedToTheNext)
{
    // A name outside every code page: the path must come through whole.
    const std::u16string bell = u"C:\\missing\\bell \u2603.wav";
    m_note->m_bAlarm = 1;
    m_note->m_strSoundFile = bell;
    Open();
    HWND event = ShowEventPage();
    const auto soundField = [&event] { return GetWindowTextUtf16(GetDlgItem(event, IDC_EP_SOUND_FILE)); };
    EXPECT_TRUE(soundField() == bell);
    {
        MessageBoxCloser closer;
        Click(event, IDC_EP_TEST);
        ASSERT_EQ(closer.Boxes().size(), 1u);
        EXPECT_EQ(closer.Boxes()[0].text, CNWEventPage::kInvalidWaveMessage);
        EXPECT_EQ(closer.Boxes()[0].caption, "Velumo");
    }
    Click(event, IDC_EP_ALARM);
    for (int id : {IDC_EP_SOUND_FILE, IDC_EP_BROWSE, IDC_EP_TEST})
        EXPECT_FALSE(Enabled(event, id)) << id;
    EXPECT_TRUE(soundField() == bell);
    EXPECT_FALSE(Press(IDOK));
    EXPECT_EQ(m_note->m_bAlarm, 0);
    EXPECT_TRUE(m_note->m_strSoundFile == bell);

    CNote* next = AddNote();
    Open(next);
    event = ShowEventPage();
    EXPECT_TRUE(soundField() == bell);
    EXPECT_FALSE(Press(IDCANCEL));
    EXPECT_TRUE(next->m_strSoundFile.empty()) << "only proposed";
}

// The file dialog's library loads with its first use: "..." must still open
// it, in the folder of the sound, and Cancel keeps the field.
TEST_F(ScheduleDialogTest, BrowseOpensTheFileDialogCancelKeepsTheSoundAndAFolderIsNoSound)
{
    const std::u16string bell = u"C:\\windows\\bell.wav";
    m_note->m_bAlarm = 1;
    m_note->m_strSoundFile = bell;
    Open();
    HWND event = ShowEventPage();
    static std::string seenTitle;
    seenTitle.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = FindWindowA("#32770", CNWEventPage::kBrowseTitle);
        if (!dialog || !seenTitle.empty())
            return;
        seenTitle = CNWEventPage::kBrowseTitle;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Click(event, IDC_EP_BROWSE);
    KillTimer(nullptr, timer);
    EXPECT_EQ(seenTitle, CNWEventPage::kBrowseTitle);
    EXPECT_TRUE(GetWindowTextUtf16(GetDlgItem(event, IDC_EP_SOUND_FILE)) == bell);

    // A folder is no wave file, though it exists.
    SetDlgItemTextA(event, IDC_EP_SOUND_FILE, "C:\\windows");
    {
        MessageBoxCloser closer;
        Click(event, IDC_EP_TEST);
        ASSERT_EQ(closer.Boxes().size(), 1u);
        EXPECT_EQ(closer.Boxes()[0].text, CNWEventPage::kInvalidWaveMessage);
    }
    EXPECT_FALSE(Press(IDCANCEL));
}

TEST_F(ScheduleDialogTest, NoteMenuRunsTheDialogModallyWhileTheNoteIsBusy)
{
    InstallScheduleDialog();
    m_note->m_bVisible = 1;
    m_note->m_pWnd = CNoteWnd::Create(m_note, false, m_host);
    ASSERT_NE(m_note->m_pWnd, nullptr);
    const HWND noteHwnd = m_note->m_pWnd->GetHwnd();
    PumpPending();

    static struct {
        CNote* note;
        HWND owner;
        bool busy;
        bool disabledOwner;
        bool sawDialog;
    } s_seen;
    s_seen = {m_note, nullptr, false, false, false};
    // Runs inside the dialog's modal loop: looks, then confirms.
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = FindWindowA("#32770", CNWSchedDlg::kTitle);
        if (!dialog || !IsWindowVisible(dialog) || s_seen.sawDialog)
            return;
        s_seen.sawDialog = true;
        s_seen.owner = GetWindow(dialog, GW_OWNER);
        s_seen.busy = s_seen.note->m_pWnd->IsBusy() && s_seen.note->m_bInSchedDialog;
        s_seen.disabledOwner = !IsWindowEnabled(s_seen.owner);
        s_seen.note->m_pWnd->ShowContextMenu();  // only beeps
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(noteHwnd, WM_COMMAND, ID_NOTE_SCHEDULE, 0);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(s_seen.sawDialog);
    EXPECT_EQ(s_seen.owner, noteHwnd);
    EXPECT_TRUE(s_seen.busy);
    EXPECT_TRUE(s_seen.disabledOwner);
    EXPECT_FALSE(m_note->m_pWnd->IsBusy());
    EXPECT_TRUE(IsWindowEnabled(noteHwnd));
    EXPECT_EQ(m_note->m_bSchedNew, 0) << "confirmed with OK";
    EXPECT_EQ(m_note->m_bInSchedDialog, 0u);

    m_note->m_bInSchedDialog = 1;  // as while the note's dialog is open elsewhere
    EXPECT_EQ(OpenScheduleDialog(nullptr, *m_note, m_host), IDCANCEL) << "no second dialog for one note";
    m_note->m_bInSchedDialog = 0;
    CNoteWnd::SetScheduleDialogOpener(nullptr);
}

}  // namespace
