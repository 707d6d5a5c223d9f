#include "mainwnd/SyncNotices.h"

#include <algorithm>

#include "core/UnicodeText.h"
#include "framework/WideText.h"
#include "mainwnd/MainWndModel.h"
#include "notes/CNoteList.h"
#include "tray/CSystemTray.h"

namespace {

constexpr const char16_t* kCopiesBalloonTitle = u"Notes from another computer";

// The copy lies beside the notes file: its name says which it is, and a
// whole path would not fit a balloon.
std::string NameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void SyncNotices::UnreadableFileKept(const std::string& copyPath)
{
    Add(m_waiting, "Your notes file was changed from elsewhere in a way Velumo cannot read. That version is kept as\r\n" +
                       copyPath + "\r\nand your notes are saved as they are here.");
}

void SyncNotices::DamagedBinKept(const std::string& copyPath)
{
    Add(m_waiting, "The file of your deleted notes was damaged. What was left of it is kept as\r\n" + copyPath +
                       "\r\nand a new one is started, so the notes you delete can be brought back again.");
}

void SyncNotices::ListFullKept(const std::string& copyPath)
{
    Add(m_waiting, "Velumo holds at most " + std::to_string(CNoteList::kMaxNotes) +
                       " notes, so some notes from another computer could not come. That version of your notes is "
                       "kept as\r\n" +
                       copyPath);
}

void SyncNotices::CopiesMerged(const ConflictCopies::Found& found)
{
    if (found.notesCame == 1)
        Add(m_forBalloon, "A note from a copy of your notes file that another computer left beside it is back on "
                          "your desktop.");
    else if (found.notesCame > 1)
        Add(m_forBalloon, std::to_string(found.notesCame) +
                              " notes from a copy of your notes file that another computer left beside it are back "
                              "on your desktop.");
    for (const std::string& path : found.unreadable)
        Add(m_forBalloon, "A copy of your notes left beside them by another computer cannot be read and stays where "
                          "it is: " +
                              NameOf(path));
    for (const std::string& path : found.leftOut)
        ListFullKept(path);
}

void SyncNotices::BothVersionsKept()
{
    Add(m_waiting, "A note was changed on two computers at once. Both versions are on the desktop, side by side: "
                   "keep the text you want and delete the other note.");
}

void SyncNotices::Add(std::vector<std::string>& to, std::string text)
{
    if (std::find(to.begin(), to.end(), text) == to.end())
        to.push_back(std::move(text));
}

void SyncNotices::TellDue(HWND owner, CSystemTray& tray, bool trayBusy)
{
    if (!m_forBalloon.empty() && !trayBusy) {
        std::string text;
        for (const std::string& part : m_forBalloon)
            text += (text.empty() ? "" : "\n") + part;
        const std::u16string wide = Utf16FromUtf8(text);
        if (tray.ShowBalloon(kCopiesBalloonTitle, wide))
            m_forBalloon.clear();
    }
    // No tray icon to show a balloon over: the balloon's part is told in the
    // one message, with the rest.
    const bool noBalloon = !m_forBalloon.empty() && !trayBusy;
    if (m_bShowing || (m_waiting.empty() && !noBalloon))
        return;
    std::string text;
    for (const std::string& part : m_waiting)
        text += (text.empty() ? "" : "\r\n\r\n") + part;
    if (noBalloon) {
        for (const std::string& part : m_forBalloon)
            text += (text.empty() ? "" : "\r\n\r\n") + part;
        m_forBalloon.clear();
    }
    m_waiting.clear();
    m_bShowing = true;
    // Paths are UTF-8: the wide call shows any folder name.
    MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(kMessageCaption).c_str(), MB_OK | MB_ICONINFORMATION);
    m_bShowing = false;
}
