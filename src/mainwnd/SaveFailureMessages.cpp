#include "mainwnd/SaveFailureMessages.h"

#include <cctype>

#include "framework/WideText.h"
#include "notes/NotesBackups.h"

void SaveFailureMessages::Feed(SaveOutcome outcome)
{
    if (m_notice.ShouldTell(outcome))
        m_bDue = true;
}

void SaveFailureMessages::TellDue(HWND owner, DWORD error)
{
    // One message at a time: saves go on failing while it is open.
    if (m_bDue && !m_bShowing) {
        m_bDue = false;
        m_bShowing = true;
        Show(owner, Text(error, "Your changes are kept, and saving them is tried again every few seconds."),
             MB_OK | MB_ICONEXCLAMATION);
        m_bShowing = false;
    }
    if (!m_bShowing && m_notes.TakeBackupFailure())
        Show(owner, BackupFailureText(m_notes.m_strPath), MB_OK | MB_ICONEXCLAMATION);
}

void SaveFailureMessages::SaveBeforeExit(HWND owner, const FailingSave& save)
{
    m_bShowing = true;
    for (std::optional<DWORD> error = save(); error; error = save()) {
        const std::string text = Text(*error, "Free the file and choose Retry, or choose Cancel to quit without "
                                              "saving your latest changes.");
        if (Show(owner, text, MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY) {
            // Given up: no later save may write them, should the file come
            // free before the program has ended.
            m_notes.m_bModified = 0;
            break;
        }
    }
    m_bShowing = false;
}

std::string SaveFailureMessages::Text(DWORD error, const char* advice) const
{
    wchar_t* system = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&system), 0, nullptr);
    std::string reason = length && system ? Utf8FromWide(std::wstring_view(system, length)) : std::string();
    if (system)
        LocalFree(system);
    while (!reason.empty() && std::isspace(static_cast<unsigned char>(reason.back())))
        reason.pop_back();
    if (reason.empty())
        reason = "System error " + std::to_string(error) + ".";
    return "Your notes could not be saved to\r\n" + m_notes.m_strPath + "\r\n\r\n" + reason + "\r\n\r\n" + advice;
}

int SaveFailureMessages::Show(HWND owner, const std::string& text, UINT flags)
{
    // Paths are UTF-8: the wide call shows any folder name.
    return MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(kMessageCaption).c_str(), flags);
}
