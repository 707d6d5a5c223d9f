// A hidden note whose one-time schedule fell due earlier today comes up on
// the desktop at the first scheduler pass, and the file then records it.
#include <windows.h>

#include <gtest/gtest.h>

#include "E2eDriver.h"
#include "notes/CNoteList.h"
#include "schedule/IsDue.h"

TEST(SchedulerE2e, DueHiddenNoteComesUpAtTheFirstPass)
{
    const NoteTime now = CurrentNoteTime();
    const auto today = LocalToday(now);
    ASSERT_TRUE(today.has_value());
    if (now - *today < 120)
        GTEST_SKIP() << "too close to midnight for an 'earlier today' moment";

    CNoteList list;
    auto note = std::make_unique<CNote>();
    note->m_strText = u"Due this morning";
    note->m_bVisible = 0;
    note->m_bSchedDisabled = 0;
    note->m_nSchedKind = 0;  // one time
    note->m_tStartDate = now;
    note->m_tStartTime = now - 90;
    note->m_tLastShown = ConfirmedScheduleMark().value_or(0);
    ASSERT_TRUE(IsDue(*note, now + 5, *today)) << "the prepared schedule must be due";
    list.Add(note);

    E2eDriver app;
    ASSERT_TRUE(app.WriteFile("notes.dat", list.StoreToBytes()));
    ASSERT_TRUE(app.Start());
    ASSERT_NE(app.WaitForWindow("Velumo", 15000, "#32770"), nullptr);
    const DWORD shownAt = GetTickCount();

    // A note window: a tool window holding the note's edit control.
    HWND noteWindow = app.WaitForWindowWhere(
        [](HWND hwnd) {
            return (GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) && GetDlgItem(hwnd, 1016);
        },
        6000);
    ASSERT_NE(noteWindow, nullptr) << "the note did not come up";
    EXPECT_LT(GetTickCount() - shownAt, 4000u) << "it should come up at the first pass (~1.5 s)";
    char text[64] = {};
    GetDlgItemTextA(noteWindow, 1016, text, sizeof text);
    EXPECT_STREQ(text, "Due this morning");

    // The next save records it visible and stamped with today.
    std::unique_ptr<CNoteList> saved;
    const DWORD start = GetTickCount();
    for (;;) {
        saved = ParseNotes(app.ReadFile("notes.dat"));
        if ((saved && saved->m_nCount == 1 && saved->GetAt(0)->m_bVisible) || GetTickCount() - start > 9000)
            break;
        Sleep(200);
    }
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->m_nCount, 1);
    EXPECT_EQ(saved->GetAt(0)->m_bVisible, 1);
    EXPECT_EQ(saved->GetAt(0)->m_tLastShown, *today);
}
