// A reminder on the real program: a note scheduled for the coming minute
// comes up (with its balloon, where the shell shows one), is snoozed from its
// own menu with real mouse and keys, stays away through a restart, and comes
// back at the first pass once its time has passed.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "E2eDriver.h"
#include "notes/CNoteList.h"
#include "schedule/IsDue.h"

namespace {

HWND NoteWindow(const E2eDriver& app, DWORD timeoutMs)
{
    return app.WaitForWindow("", timeoutMs, "VelumoNoteWnd");
}

// The note as the file now holds it, once the file holds it so.
std::unique_ptr<CNoteList> WaitForSaved(const E2eDriver& app, const std::function<bool(const CNote&)>& accept)
{
    std::unique_ptr<CNoteList> saved;
    WaitFor(
        [&] {
            saved = ParseNotes(app.ReadFile("notes.dat"));
            return saved && saved->m_nCount == 1 && accept(*saved->GetAt(0));
        },
        12000, 200);
    return saved;
}

}  // namespace

TEST(RemindersE2e, ADueNoteIsSnoozedFromItsMenuAndComesBackAfterARestart)
{
    const NoteTime now = CurrentNoteTime();
    const auto today = LocalToday(now);
    ASSERT_TRUE(today.has_value());
    // The coming minute, and the rest of the test, must stay on today's date.
    if (now + 600 - *today >= 86400)
        GTEST_SKIP() << "too close to midnight";
    const NoteTime startTime = (now / 60 + 1) * 60;
    CNoteList list;
    auto note = std::make_unique<CNote>();
    note->m_strText = u"Take the cake out";
    note->m_bVisible = 0;
    note->m_rcWindow = NoteRect{300, 300, 500, 450};
    note->m_bSchedDisabled = 0;
    note->m_bSchedNew = 0;
    note->m_nSchedKind = 0;  // one time
    note->m_tStartDate = now;
    note->m_tStartTime = startTime;
    note->m_tLastShown = ConfirmedScheduleMark().value_or(0);
    list.Add(note);

    E2eDriver app;
    ASSERT_NE(app.StartOn(list.StoreToBytes()), nullptr);
    EXPECT_EQ(NoteWindow(app, 500), nullptr) << "not due yet";

    // Up within a pass (5 s) of its minute.
    const DWORD waitMs = static_cast<DWORD>(startTime - CurrentNoteTime() + 12) * 1000;
    HWND window = NoteWindow(app, waitMs);
    ASSERT_NE(window, nullptr) << "the note did not come up";
    EXPECT_GE(CurrentNoteTime(), startTime);

    // Right button on the note, then Snooze (z), 5 minutes (5).
    ASSERT_TRUE(OpenMenuAt(window, POINT{400, 370}));
    const NoteTime snoozedAt = CurrentNoteTime();
    PressKeys({'Z'});
    Sleep(300);
    PressKeys({'5'});
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(window); }, 5000)) << "snoozing hides the note";

    const auto snoozed = WaitForSaved(app, [](const CNote& n) { return n.m_tSnoozeUntil != 0; });
    ASSERT_NE(snoozed, nullptr);
    const CNote& saved = *snoozed->GetAt(0);
    EXPECT_EQ(saved.m_bVisible, 0);
    EXPECT_GE(saved.m_tSnoozeUntil, snoozedAt + 300);
    EXPECT_LE(saved.m_tSnoozeUntil, snoozedAt + 305);
    EXPECT_EQ(saved.m_tLastShown, *today) << "the day it came up, not the snooze";
    EXPECT_EQ(saved.m_tStartTime, startTime) << "the schedule is left alone";

    // A restart before the time: it stays away.
    app.Stop();
    ASSERT_TRUE(app.Start());
    ASSERT_NE(app.WaitForWindow("Velumo", 15000, "#32770"), nullptr);
    EXPECT_EQ(NoteWindow(app, 4000), nullptr) << "still snoozed after a restart";
    app.Stop();

    // Its time passes while the program is not running (the file is moved
    // on rather than the test waiting five minutes): back at the first pass.
    std::unique_ptr<CNoteList> later = ParseNotes(app.ReadFile("notes.dat"));
    ASSERT_NE(later, nullptr);
    ASSERT_NE(later->GetAt(0)->m_tSnoozeUntil, 0);
    later->GetAt(0)->m_tSnoozeUntil = CurrentNoteTime() - 60;
    ASSERT_NE(app.StartOn(later->StoreToBytes()), nullptr);
    EXPECT_NE(NoteWindow(app, 6000), nullptr) << "back at the first pass";
    const auto back = WaitForSaved(app, [](const CNote& n) { return n.m_bVisible != 0; });
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetAt(0)->m_tSnoozeUntil, 0);
    EXPECT_EQ(back->GetAt(0)->m_tLastShown, *today);
    app.Stop();
}
