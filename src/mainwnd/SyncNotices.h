#pragma once
// What the user hears of the notes file's travels between computers: a
// version that could not be read and was kept aside, a damaged bin started
// anew, sync clients' conflict copies merged back, notes a full list could
// not take. Gathered during a housekeeping pass and told after it, once the
// next pass is already due, so a message left open never holds up the
// merges and saves; what comes while one is open waits for the next.
#include <windows.h>

#include <string>
#include <vector>

#include "notes/ConflictCopies.h"

class SyncNotices {
public:
    void UnreadableFileKept(const std::string& copyPath);
    void DamagedBinKept(const std::string& copyPath);
    void ListFullKept(const std::string& copyPath);
    void CopiesMerged(const ConflictCopies::Found& found);

    // Everything gathered since the last message, in one message; nothing
    // while such a message is open.
    void TellDue(HWND owner);
    bool IsWaiting() const { return !m_waiting.empty(); }

private:
    void Add(std::string text);

    std::vector<std::string> m_waiting;
    bool m_bShowing = false;
};
