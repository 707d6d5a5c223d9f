// What note windows tell the main window, as the main window receives it:
// its own messages, sent where the main window must act before the note
// window goes on, posted where it reads the note afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "WinTestUtil.h"
#include "mainwnd/MainWindowNoteHost.h"
#include "notewnd/CNoteWnd.h"
#include "res/resource.h"

namespace {

struct Seen {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Seen&) const = default;
};

// Records the main window's messages about notes.
class MainStandIn : public CWindowBase {
public:
    MainStandIn()
    {
        WNDCLASSEXA wc{};
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VelumoTestNoteHostMain";
        RegisterClassOnce(wc);
        CreateEx(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr);
    }
    std::vector<Seen> m_seen;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_NOTE_CHANGED || msg == WM_COMMAND || msg == WM_NOTE_STYLE_DEFAULT)
            m_seen.push_back({msg, wParam, lParam});
        return DefaultProc(msg, wParam, lParam);
    }
};

class MainWindowNoteHostTest : public testing::Test {
protected:
    void TearDown() override
    {
        while (NotePos p = m_notes.GetHeadPosition())
            m_notes.Remove(p);
        PumpPending();
    }

    CNoteList m_notes;
    MainStandIn m_main;
    MainWindowNoteHost m_host{m_notes, m_main.GetHwnd()};
};

TEST_F(MainWindowNoteHostTest, EachCallReachesTheMainWindowAsItsOwnMessage)
{
    const auto pos = reinterpret_cast<NotePos>(0x1234);  // carried, never followed
    const LPARAM at = reinterpret_cast<LPARAM>(pos);
    struct Row {
        const char* label;
        std::function<void(INoteHost&)> call;
        std::vector<Seen> messages;
        bool sent;
        bool saveNeeded;
    } rows[] = {
        {"changed", [=](INoteHost& h) { h.NoteChanged(pos); }, {{WM_NOTE_CHANGED, NOTE_REFRESHED, at}}, false, true},
        {"moved", [](INoteHost& h) { h.NoteMoved(); }, {}, false, true},
        {"deleted", [=](INoteHost& h) { h.NoteDeleted(pos); }, {{WM_NOTE_CHANGED, NOTE_DELETED, at}}, true, false},
        {"undo the last delete", [](INoteHost& h) { h.UndoLastDelete(); }, {{WM_COMMAND, ID_UNDO_DELETE, 0}}, false,
         false},
        {"style for new notes", [=](INoteHost& h) { h.UseAsNewNoteStyle(pos); }, {{WM_NOTE_STYLE_DEFAULT, 0, at}},
         true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        m_main.m_seen.clear();
        m_notes.m_bModified = 0;
        row.call(m_host);
        EXPECT_EQ(m_main.m_seen.size(), row.sent ? 1u : 0u) << "sent: handled before the call returns";
        PumpPending();
        EXPECT_TRUE(m_main.m_seen == row.messages);
        EXPECT_EQ(m_notes.m_bModified, row.saveNeeded ? 1u : 0u);
    }
}

TEST_F(MainWindowNoteHostTest, WithoutAMainWindowOnlyTheListIsMarked)
{
    // A message to no window would land in this thread's own queue.
    MainWindowNoteHost host(m_notes);
    const auto pos = reinterpret_cast<NotePos>(0x1234);
    host.NoteChanged(pos);
    host.NoteDeleted(pos);
    host.UndoLastDelete();
    host.UseAsNewNoteStyle(pos);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m_notes.m_bModified, 1u);
}

TEST_F(MainWindowNoteHostTest, TypingInANoteWindowPostsItsRowRefresh)
{
    auto owned = std::make_unique<CNote>();
    owned->m_rcWindow = {100, 100, 300, 250};
    CNote* note = m_notes.GetAt(m_notes.Add(owned));
    note->m_pWnd = CNoteWnd::Create(note, false, m_host);
    ASSERT_NE(note->m_pWnd, nullptr);
    PumpPending();
    m_main.m_seen.clear();
    m_notes.m_bModified = 0;

    SendMessageA(note->m_pWnd->GetEdit(), WM_CHAR, 'H', 1);
    EXPECT_EQ(m_notes.m_bModified, 1u);
    EXPECT_TRUE(m_main.m_seen.empty()) << "posted, not sent";
    PumpPending();
    EXPECT_TRUE(m_main.m_seen ==
                (std::vector<Seen>{{WM_NOTE_CHANGED, NOTE_REFRESHED, reinterpret_cast<LPARAM>(note->m_pos)}}));
}

}  // namespace
