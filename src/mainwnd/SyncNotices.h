#pragma once
// What the user hears of the notes file's travels between computers: a
// version that could not be read and was kept aside, a damaged bin started
// anew, sync clients' conflict copies merged back, notes a full list could
// not take. Gathered during a housekeeping pass and told after it, once the
// next pass is already due, so that nothing told holds up the merges and
// saves. Conflict copies merged back (and one that cannot be read) are told
// in a balloon over the tray icon, as a note changed on two computers is;
// the rest, which names a kept file the user may want, in a message. Where
// there is no tray icon, everything goes into that one message; what comes
// while it is open waits for the next.
#include <windows.h>

#include <string>
#include <vector>

#include "notes/ConflictCopies.h"

class CSystemTray;

class SyncNotices {
public:
    void UnreadableFileKept(const std::string& copyPath);
    void DamagedBinKept(const std::string& copyPath);
    void ListFullKept(const std::string& copyPath);
    void CopiesMerged(const ConflictCopies::Found& found);
    // Notes changed on two computers, both versions shown: told here only
    // where the tray had no balloon for it (MainDlgSyncView).
    void BothVersionsKept();

    // Everything gathered since the last time told: the balloon's part in
    // one balloon (in the message, where the tray shows none), unless
    // trayBusy (the tray shows another balloon of this pass: it waits for
    // the next); the rest in one message, never while such a message is open.
    void TellDue(HWND owner, CSystemTray& tray, bool trayBusy);
    bool IsWaiting() const { return !m_waiting.empty() || !m_forBalloon.empty(); }

private:
    static void Add(std::vector<std::string>& to, std::string text);

    std::vector<std::string> m_waiting;
    std::vector<std::string> m_forBalloon;
    bool m_bShowing = false;
};
