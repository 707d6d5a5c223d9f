// The scheduling dialog of the real program: a note scheduled from its menu
// a minute ahead, hidden, comes back on its own; a refused OK and a click on
// "Disable schedule" followed by Cancel leave the notes file as it was.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <ctime>
#include <memory>

#include "E2eDriver.h"
#include "notes/CNoteList.h"
#include "schedule/IsDue.h"
#include "schedule/RecurrenceBlock.h"

namespace {

constexpr int kScheduleCommand = 32783;
constexpr int kHideCommand = 32779;
constexpr int kStartTimePicker = 1035;
constexpr int kDisableBox = 1023;
constexpr const char* kDialogTitle = "Scheduling properties";

bool IsNoteWindow(HWND hwnd)
{
    return (GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) && GetDlgItem(hwnd, 1016);
}

bool IsMessageBox(HWND hwnd)
{
    return GetDlgItem(hwnd, 0xFFFF) != nullptr;
}

// The page (a child dialog somewhere in the sheet) holding the control.
HWND ControlInDialog(HWND dialog, int id)
{
    struct Find {
        int id;
        HWND found;
    } find{id, nullptr};
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM lParam) {
            auto* f = reinterpret_cast<Find*>(lParam);
            if (GetDlgCtrlID(child) != f->id || !GetParent(child) || GetParent(child) == GetAncestor(child, GA_ROOT))
                return TRUE;
            f->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
}

void PressButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool WaitGone(HWND hwnd, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

SYSTEMTIME LocalReading(NoteTime t)
{
    const std::time_t value = t;
    const std::tm* local = std::localtime(&value);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(local->tm_year + 1900);
    st.wMonth = static_cast<WORD>(local->tm_mon + 1);
    st.wDay = static_cast<WORD>(local->tm_mday);
    st.wDayOfWeek = static_cast<WORD>(local->tm_wday);
    st.wHour = static_cast<WORD>(local->tm_hour);
    st.wMinute = static_cast<WORD>(local->tm_min);
    return st;
}

}  // namespace

TEST(ScheduleDialogE2e, NoteScheduledFromItsMenuComesBackWhenDue)
{
    const NoteTime now = CurrentNoteTime();
    const NoteTime today = LocalToday(now).value();
    if (today + 86400 - now < 240)
        GTEST_SKIP() << "too close to midnight for a schedule a minute ahead";

    CNoteList list;
    auto fresh = std::make_unique<CNote>();
    fresh->m_strText = u"Call back";
    list.Add(fresh);
    E2eDriver app;
    ASSERT_TRUE(app.WriteFile("notes.dat", list.StoreToBytes()));
    ASSERT_TRUE(app.Start());
    ASSERT_NE(app.WaitForWindow("Velumo", 15000, "#32770"), nullptr);
    HWND note = app.WaitForWindowWhere(IsNoteWindow, 10000);
    ASSERT_NE(note, nullptr);

    // "&Schedule" from the note's menu: One Time Only, today, a minute ahead.
    PostMessageA(note, WM_COMMAND, kScheduleCommand, 0);
    HWND dialog = app.WaitForWindow(kDialogTitle, 10000, "#32770");
    ASSERT_NE(dialog, nullptr);
    HWND picker = ControlInDialog(dialog, kStartTimePicker);
    ASSERT_NE(picker, nullptr);
    const NoteTime ahead = CurrentNoteTime() + 60;
    SYSTEMTIME start = LocalReading(ahead);
    const NoteTime due = ahead - ahead % 60;  // the start of that minute (zones are whole minutes)
    ASSERT_NE(app.SendWithData(picker, DTM_SETSYSTEMTIME, GDT_VALID, &start, sizeof start), 0);
    PressButton(dialog, IDOK);
    ASSERT_TRUE(WaitGone(dialog, 5000)) << "OK closes the dialog";

    PostMessageA(note, WM_COMMAND, kHideCommand, 0);
    ASSERT_TRUE(WaitGone(note, 5000)) << "the note hides";
    EXPECT_EQ(app.WaitForWindowWhere(IsNoteWindow, 1000), nullptr);

    // Due at the start of that minute; a pass runs every five seconds.
    HWND back = app.WaitForWindowWhere(IsNoteWindow, 90000);
    ASSERT_NE(back, nullptr) << "the note did not come back";
    EXPECT_GE(CurrentNoteTime(), due) << "not before its minute";

    std::unique_ptr<CNoteList> saved;
    const DWORD waitStart = GetTickCount();
    do {
        Sleep(300);
        saved = ParseNotes(app.ReadFile("notes.dat"));
    } while (!(saved && saved->m_nCount == 1 && saved->GetAt(0)->m_bVisible &&
               saved->GetAt(0)->m_tLastShown == today) &&
             GetTickCount() - waitStart < 12000);
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->m_nCount, 1);
    const CNote& stored = *saved->GetAt(0);
    EXPECT_EQ(stored.m_bVisible, 1);
    EXPECT_EQ(stored.m_tLastShown, today) << "stamped with the day it came up";
    EXPECT_EQ(stored.m_bSchedDisabled, 0);
    EXPECT_EQ(stored.m_bSchedNew, 0);
    EXPECT_EQ(stored.m_nSchedKind, 0u);
}

TEST(ScheduleDialogE2e, RefusedOkAndDisableClickThenCancelLeaveTheNotesFile)
{
    // A hidden weekly note without days whose schedule is off: never due, so
    // nothing but the dialog could change the file.
    CNoteList list;
    auto weekly = std::make_unique<CNote>();
    weekly->m_strText = u"Weekly";
    weekly->m_bVisible = 0;
    weekly->m_bSchedNew = 0;
    weekly->m_bSchedDisabled = 1;
    weekly->m_nSchedKind = 2;
    RecurrenceBlock(weekly->m_recur).SetWeekly(2, 0);
    list.Add(weekly);
    const auto original = list.StoreToBytes();

    E2eDriver app;
    ASSERT_TRUE(app.WriteFile("notes.dat", original));
    ASSERT_TRUE(app.Start());
    HWND main = app.WaitForWindow("Velumo", 15000, "#32770");
    ASSERT_NE(main, nullptr);
    HWND rows = GetDlgItem(main, 1000);
    ASSERT_TRUE(app.SelectRow(rows, 0, true));
    ASSERT_TRUE(E2eDriver::ClickChildAt(main, 19 + 50, 189 + 9, false)) << "BUTTON_CALENDAR";
    HWND dialog = app.WaitForWindow(kDialogTitle, 10000, "#32770");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendDlgItemMessageA(dialog, kDisableBox, BM_GETCHECK, 0, 0), BST_CHECKED);

    SendDlgItemMessageA(dialog, kDisableBox, BM_CLICK, 0, 0);
    PressButton(dialog, IDOK);
    HWND box = app.WaitForWindowWhere(IsMessageBox, 5000);
    ASSERT_NE(box, nullptr) << "OK with a week without days is refused";
    EXPECT_EQ(E2eDriver::WindowText(box), "RiviViro");
    EXPECT_EQ(E2eDriver::MessageBoxText(box), "Please select at least one day of the week to run the script");
    E2eDriver::Dismiss(box);
    ASSERT_TRUE(WaitGone(box, 5000));
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog stays open";
    PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(WaitGone(dialog, 5000));

    Sleep(7000);  // a housekeeping tick and its save, had anything changed
    EXPECT_EQ(app.ReadFile("notes.dat"), original);
}
