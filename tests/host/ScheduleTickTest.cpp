// The scheduler pass on one note: what it changes and what it asks of the
// world, in order. (Several notes in one pass: the Windows tests.)
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ScheduleTestNotes.h"
#include "schedule/SchedulePass.h"

namespace {

using namespace schedtest;

// Records every request as "<what> <note text>".
class RecordingActions : public IScheduleActions {
public:
    CNoteWnd* CreateNoteWindow(CNote& note) override
    {
        m_log.push_back("window " + Utf8FromUtf16(note.m_strText));
        if (m_failWindows)
            return nullptr;
        // Only the pointer's presence matters to the pass.
        return reinterpret_cast<CNoteWnd*>(&m_windowToken);
    }
    void NoteShown(CNote& note) override { m_log.push_back("shown " + Utf8FromUtf16(note.m_strText)); }
    bool SoundFileExists(const std::u16string& path) override
    {
        return m_existingFiles.count(Utf8FromUtf16(path)) != 0;
    }
    void PlayAlarm(const std::u16string& path) override { m_log.push_back("play " + Utf8FromUtf16(path)); }

    std::vector<std::string> m_log;
    std::set<std::string> m_existingFiles;
    bool m_failWindows = false;

private:
    int m_windowToken = 0;
};

const NoteTime kNow = Local(2024, 6, 12, 14, 0);  // a Wednesday afternoon

using Log = std::vector<std::string>;

}  // namespace

TEST(ScheduleTick, WhatEachNoteAsksFor)
{
    const struct {
        const char* label;
        std::function<void(CNote&)> setup;
        bool failWindows;
        Log expected;
        bool modified;
    } cases[] = {
        {"due and hidden", nullptr, false, {"shown N", "window N"}, true},
        {"due, visible, with a window: no message", [](CNote& n) {
             n.m_bVisible = 1;
             n.m_pWnd = reinterpret_cast<CNoteWnd*>(&n);
         },
         false, {}, true},
        {"due, visible, window lost: one new window", [](CNote& n) { n.m_bVisible = 1; }, false, {"window N"}, true},
        {"due and hidden, window cannot be made: still stamped", nullptr, true, {"shown N", "window N"}, true},
        {"due, visible, window cannot be made: tried twice", [](CNote& n) { n.m_bVisible = 1; }, true,
         {"window N", "window N"}, true},
        {"due with its alarm", [](CNote& n) {
             n.m_bAlarm = 1;
             n.m_strSoundFile = u"here.wav";
         },
         false, {"shown N", "window N", "play here.wav"}, true},
        {"alarm file missing: still brought up", [](CNote& n) {
             n.m_bAlarm = 1;
             n.m_strSoundFile = u"gone.wav";
         },
         false, {"shown N", "window N"}, true},
        {"alarm on, no file named", [](CNote& n) { n.m_bAlarm = 1; }, false, {"shown N", "window N"}, true},
        {"alarm off, file there", [](CNote& n) { n.m_strSoundFile = u"here.wav"; }, false, {"shown N", "window N"},
         true},
        {"in the scheduling dialog: left alone", [](CNote& n) {
             n.m_bInSchedDialog = 1;
             n.m_bVisible = 1;
         },
         false, {}, false},
        {"already shown today", [](CNote& n) { n.m_tLastShown = PassDay(); }, false, {}, false},
        {"not due, visible without a window: only the window",
         [](CNote& n) {
             n.m_bSchedDisabled = 1;
             n.m_bVisible = 1;
         },
         false, {"window N"}, false},
        {"not due, hidden", [](CNote& n) { n.m_bSchedDisabled = 1; }, false, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CNoteList list;
        CNote* note = list.GetAt(list.Add(MakeDueNote("N", "")));
        if (c.setup)
            c.setup(*note);
        list.m_bModified = 0;
        const NoteTime lastShownBefore = note->m_tLastShown;
        RecordingActions actions;
        actions.m_existingFiles = {"here.wav"};
        actions.m_failWindows = c.failWindows;

        RunSchedulePass(list, kNow, actions);

        EXPECT_EQ(actions.m_log, c.expected);
        EXPECT_EQ(list.m_bModified, c.modified ? 1u : 0u);
        EXPECT_EQ(note->m_tLastShown, c.modified ? PassDay() : lastShownBefore);
        note->m_pWnd = nullptr;
    }
}

TEST(ScheduleTick, StartUpGivesWindowsOnlyToVisibleNotesOutsideTheirDialog)
{
    CNoteList list;
    CNote* due = list.GetAt(list.Add(MakeDueNote("due", "")));
    due->m_bVisible = 0;
    list.GetAt(list.Add(MakeDueNote("shown", "")))->m_bVisible = 1;
    CNote* busy = list.GetAt(list.Add(MakeDueNote("busy", "")));
    busy->m_bVisible = 1;
    busy->m_bInSchedDialog = 1;
    list.m_bModified = 0;
    RecordingActions actions;

    GiveWindowsToVisibleNotes(list, actions);

    EXPECT_EQ(actions.m_log, Log{"window shown"}) << "due notes wait for the pass";
    EXPECT_EQ(list.m_bModified, 0u);
    for (NotePos pos = list.GetHeadPosition(); pos; pos = CNoteList::GetNext(pos))
        list.GetAt(pos)->m_pWnd = nullptr;
}

// The computer was off when a one-time note fell due: the first pass days
// later brings it up with its alarm, and no pass after that does.
TEST(ScheduleTick, AMissedOneTimeNoteComesUpOnceWithItsAlarm)
{
    CNoteList list;
    CNote* note = list.GetAt(list.Add(MakeDueNote("N", "here.wav")));  // due from 13:30 on PassDay
    RecordingActions actions;
    actions.m_existingFiles = {"here.wav"};
    const struct {
        const char* label;
        NoteTime now;
        Log expected;
    } passes[] = {
        {"two days on, before its time of day", Local(2024, 6, 14, 7, 0), {"shown N", "window N", "play here.wav"}},
        {"later that day", Local(2024, 6, 14, 15, 0), {}},
        {"the next day at its time", Local(2024, 6, 15, 13, 30), {}},
    };
    for (const auto& pass : passes) {
        SCOPED_TRACE(pass.label);
        actions.m_log.clear();
        RunSchedulePass(list, pass.now, actions);
        EXPECT_EQ(actions.m_log, pass.expected);
        EXPECT_EQ(note->m_tLastShown, Local(2024, 6, 14));
    }
    note->m_pWnd = nullptr;
}
