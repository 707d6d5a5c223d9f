// A hidden note whose one-time schedule fell due before the program started
// comes up on the desktop at the first scheduler pass, and the file then
// records it: earlier today, or days ago while the program was not running.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "E2eDriver.h"
#include "notes/CNoteList.h"
#include "schedule/IsDue.h"

namespace {

void ComesUpAtTheFirstPass(const char16_t* text, NoteTime startDate, NoteTime startTime, NoteTime now,
                           NoteTime today)
{
    CNoteList list;
    auto note = std::make_unique<CNote>();
    note->m_strText = text;
    note->m_bVisible = 0;
    note->m_bSchedDisabled = 0;
    note->m_nSchedKind = 0;  // one time
    note->m_tStartDate = startDate;
    note->m_tStartTime = startTime;
    note->m_tLastShown = ConfirmedScheduleMark().value_or(0);
    ASSERT_TRUE(IsDue(*note, now + 5, today)) << "the prepared schedule must be due";
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
    char shown[64] = {};
    GetDlgItemTextA(noteWindow, 1016, shown, sizeof shown);
    EXPECT_EQ(std::u16string(shown, shown + strlen(shown)), text);

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
    EXPECT_EQ(saved->GetAt(0)->m_tLastShown, today);
}

}  // namespace

TEST(SchedulerE2e, DueHiddenNoteComesUpAtTheFirstPass)
{
    const NoteTime now = CurrentNoteTime();
    const auto today = LocalToday(now);
    ASSERT_TRUE(today.has_value());
    // An "earlier today" moment, and a clock time still ahead today, need
    // room on both sides of now.
    if (now - *today < 120 || now + 3600 - *today >= 86400)
        GTEST_SKIP() << "too close to midnight";
    const struct {
        const char* label;
        const char16_t* text;
        NoteTime startDate;
        NoteTime startTime;
    } rows[] = {
        {"earlier today", u"Due this morning", now, now - 90},
        // Its clock time is still ahead today: only the missed day brings it up.
        {"three days ago, while the program was not running", u"Due while away", now - 3 * 86400, now + 3600},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        ComesUpAtTheFirstPass(row.text, row.startDate, row.startTime, now, *today);
    }
}
