// Snoozed notes: the time a note comes back survives the notes file, the
// bin and the merge with another computer, and the pass brings the note back
// at that time, or at the first pass after it, without touching its schedule.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ScheduleTestNotes.h"
#include "notes/CNoteList.h"
#include "notes/DeletedNotesBin.h"
#include "notes/NotesMerge.h"
#include "schedule/RecurrenceBlock.h"
#include "schedule/SchedulePass.h"
#include "schedule/SnoozeChoice.h"

namespace {

using namespace schedtest;

const NoteTime kNow = Local(2024, 6, 12, 14, 0);  // a Wednesday afternoon

bool HoldsSnoozeSection(const std::vector<uint8_t>& bytes)
{
    static constexpr char kTag[] = "SNOZ";
    return std::search(bytes.begin(), bytes.end(), kTag, kTag + 4) != bytes.end();
}

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

std::vector<NoteTime> SnoozesOf(const CNoteList& list)
{
    std::vector<NoteTime> times;
    for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p))
        times.push_back(list.GetAt(p)->m_tSnoozeUntil);
    return times;
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

TEST(Snooze, TheTimeTravelsWithTheNote)
{
    const NoteTime until = kNow + 300;
    const struct {
        const char* label;
        NoteTime snooze;
        std::function<std::vector<NoteTime>(CNoteList&)> roundTrip;
        std::vector<NoteTime> expected;
    } cases[] = {
        {"through a restart", until,
         [](CNoteList& list) {
             CNoteList loaded;
             EXPECT_TRUE(HoldsSnoozeSection(list.StoreToBytes()));
             EXPECT_TRUE(loaded.LoadFromBytes(list.StoreToBytes()));
             return SnoozesOf(loaded);
         },
         {0, until, 0}},
        {"nothing snoozed: the file has no such section", 0,
         [](CNoteList& list) {
             EXPECT_FALSE(HoldsSnoozeSection(list.StoreToBytes()));
             CNoteList loaded;
             EXPECT_TRUE(loaded.LoadFromBytes(list.StoreToBytes()));
             return SnoozesOf(loaded);
         },
         {0, 0, 0}},
        {"found by id when the notes come in another order", until,
         [](CNoteList& list) {
             list.Add(list.Detach(list.GetHeadPosition()));  // a, b, c -> b, c, a
             CNoteList loaded;
             EXPECT_TRUE(loaded.LoadFromBytes(list.StoreToBytes()));
             return SnoozesOf(loaded);
         },
         {until, 0, 0}},
        {"through the bin and back", until,
         [](CNoteList& list) {
             CDeletedNotesBin bin, reread;
             for (NotePos p = list.GetHeadPosition(); p; p = CNoteList::GetNext(p))
                 bin.Add(*list.GetAt(p), kNow);
             EXPECT_TRUE(reread.LoadFromBytes(bin.StoreToBytes(), kNow));
             std::vector<NoteTime> times;
             for (const auto& entry : reread.Entries())
                 times.push_back(entry.note->m_tSnoozeUntil);
             return times;
         },
         {0, until, 0}},
        {"snoozed on the other computer: the merge brings it", until,
         [](CNoteList& remote) {
             CNoteList base, local;
             EXPECT_TRUE(base.LoadFromBytes(remote.StoreToBytes()));
             base.GetAt(1)->m_tSnoozeUntil = 0;
             EXPECT_TRUE(local.LoadFromBytes(base.StoreToBytes()));
             const NotesMergePlan plan = PlanNotesMerge(base, local, remote);
             EXPECT_EQ(plan.update.size(), 1u);
             for (const auto& [pos, merged] : plan.update)
                 local.GetAt(pos)->m_tSnoozeUntil = merged->m_tSnoozeUntil;
             return SnoozesOf(local);
         },
         {0, until, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CNoteList list;
        FillThree(list, c.snooze);
        EXPECT_EQ(c.roundTrip(list), c.expected);
    }
}

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
