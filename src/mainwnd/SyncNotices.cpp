#include "mainwnd/SyncNotices.h"

#include <algorithm>

#include "framework/WideText.h"
#include "mainwnd/MainWndModel.h"
#include "notes/CNoteList.h"

void SyncNotices::UnreadableFileKept(const std::string& copyPath)
{
    Add("Your notes file was changed from elsewhere in a way Velumo cannot read. That version is kept as\r\n" +
        copyPath + "\r\nand your notes are saved as they are here.");
}

void SyncNotices::DamagedBinKept(const std::string& copyPath)
{
    Add("The file of your deleted notes was damaged. What was left of it is kept as\r\n" + copyPath +
        "\r\nand a new one is started, so the notes you delete can be brought back again.");
}

void SyncNotices::ListFullKept(const std::string& copyPath)
{
    Add("Velumo holds at most " + std::to_string(CNoteList::kMaxNotes) +
        " notes, so some notes from another computer could not come. That version of your notes is kept as\r\n" +
        copyPath);
}

void SyncNotices::CopiesMerged(const ConflictCopies::Found& found)
{
    if (found.notesCame == 1)
        Add("A note from a copy of your notes file that another computer left beside it is back on your desktop.");
    else if (found.notesCame > 1)
        Add(std::to_string(found.notesCame) +
            " notes from a copy of your notes file that another computer left beside it are back on your desktop.");
    for (const std::string& path : found.unreadable)
        Add("A copy of your notes left beside them by another computer cannot be read and stays where it is:\r\n" +
            path);
    for (const std::string& path : found.leftOut)
        ListFullKept(path);
}

void SyncNotices::Add(std::string text)
{
    if (std::find(m_waiting.begin(), m_waiting.end(), text) == m_waiting.end())
        m_waiting.push_back(std::move(text));
}

void SyncNotices::TellDue(HWND owner)
{
    if (m_bShowing || m_waiting.empty())
        return;
    std::string text;
    for (const std::string& part : m_waiting)
        text += (text.empty() ? "" : "\r\n\r\n") + part;
    m_waiting.clear();
    m_bShowing = true;
    // Paths are UTF-8: the wide call shows any folder name.
    MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(kMessageCaption).c_str(), MB_OK | MB_ICONINFORMATION);
    m_bShowing = false;
}
