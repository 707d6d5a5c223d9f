// Snoozed notes: the pass brings the note back at its time, or at the first
// pass after it, without touching its schedule. (That the time travels with
// the note, through the file, the bin, the backups and the merge, is in
// NoteIdentityTest's table of trailer fields.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScheduleTestNotes.h"
#include "notes/CNoteList.h"
#include "schedule/RecurrenceBlock.h"
#include "schedule/SchedulePass.h"
#include "schedule/SnoozeChoice.h"

namespace {

using namespace schedtest;

const NoteTime kNow = Local(2024, 6, 12, 14, 0);  // a Wednesday afternoon

// Three hidden notes "a", "b", "c"; b, daily at 09:00 and shown today, is the
// one snoozed.
void FillThree(CNoteList& list, NoteTime snoozeUntil)
{
    for (const char* text : {"a", "b", "c"}) {
        auto note = std::make_unique<CNote>();
        note->m_strText = Utf16FromUtf8(text);
        note->m_bVisible = 0;
        list.Add(note);
    }
    CNote& b = *list.GetAt(1);
    SetSchedule(b, kDaily, Local(2024, 1, 1), Local(2024, 1, 1, 9, 0));
    RecurrenceBlock(b.m_recur).SetDaily(1, false);
    b.m_tLastShown = PassDay();
    b.m_tSnoozeUntil = snoozeUntil;
}

class UpCounter : public IScheduleActions {
public:
    CNoteWnd* CreateNoteWindow(CNote&) override { return nullptr; }
    void NoteShown(CNote&) override {}
    bool SoundFileExists(const std::u16string&) override { return true; }
    void PlayAlarm(const std::u16string&) override { ++alarms; }
    void NoteCameUp(CNote& note) override { up.push_back(Utf8FromUtf16(note.m_strText)); }
    std::vector<std::string> up;
    int alarms = 0;
};

}  // namespace

TEST(Snooze, TheNoteComesBackAtItsTimeOrAtTheFirstPassAfter)
{
    const NoteTime until = *SnoozeUntil(SnoozeChoice::kFiveMinutes, kNow);
    ASSERT_EQ(until, kNow + 300);
    const struct {
        const char* label;
        NoteTime passAt;
        bool restart;
        bool up;
    } cases[] = {
        {"a second early", until - 1, false, false},
        {"at its time", until, false, true},
        {"its time passed while the program was not running", until + 3600 + 7, true, true},
        {"after a restart, still early", until - 60, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CNoteList list;
        FillThree(list, until);
        if (c.restart) {
            ASSERT_TRUE(list.LoadFromBytes(list.StoreToBytes()));
        }
        const CNote& b = *list.GetAt(1);
        const std::unique_ptr<CNote> before = b.Clone();
        UpCounter actions;
        RunSchedulePass(list, c.passAt, actions);
        EXPECT_EQ(actions.up, c.up ? std::vector<std::string>{"b"} : std::vector<std::string>{});
        EXPECT_EQ(b.m_bVisible, c.up ? 1 : 0);
        EXPECT_EQ(b.m_tSnoozeUntil, c.up ? 0 : until);
        // The schedule and the day stamp stay as the snooze found them: the
        // next regular occurrence (09:00 tomorrow) still comes.
        EXPECT_EQ(b.m_tLastShown, before->m_tLastShown);
        EXPECT_EQ(b.m_recur, before->m_recur);
    }
}

TEST(Snooze, TomorrowKeepsTheClockTimeAcrossAChangeOfTheClocks)
{
    for (const NoteTime now : {Local(2024, 3, 9, 8, 30), Local(2024, 3, 30, 8, 30), Local(2024, 10, 26, 8, 30),
                               Local(2024, 11, 2, 8, 30), Local(2024, 4, 6, 8, 30), Local(2024, 10, 5, 8, 30)}) {
        const std::optional<NoteTime> until = SnoozeUntil(SnoozeChoice::kTomorrow, now);
        ASSERT_TRUE(until.has_value());
        LocalDateTime a, b;
        ASSERT_TRUE(ToLocal(now, a) && ToLocal(*until, b));
        SCOPED_TRACE(std::to_string(a.month) + "-" + std::to_string(a.day));
        EXPECT_EQ(DayNumber(b), DayNumber(a) + 1);
        EXPECT_EQ(b.hour * 60 + b.minute, 8 * 60 + 30);
    }
}
