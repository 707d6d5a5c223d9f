#include "app/CNotesApp.h"

#include <htmlhelp.h>

#include <ctime>

#include "app/AppPaths.h"
#include "app/RunningCopy.h"
#include "app/CorePlatformHooks.h"
#include "app/InstallationId.h"
#include "framework/WideText.h"
#include "mainwnd/CMainDlg.h"
#include "notes/DeletedNotesBin.h"
#include "notes/NoteFileStore.h"
#include "notes/NoteIdSource.h"
#include "notes/RuntimeRand.h"
#include "notewnd/NoteWindowHooks.h"
#include "res/resource.h"
#include "schedule/CNWSchedDlg.h"
#include "settings/AutoRun.h"

namespace {

// The time, the process and the milliseconds since the system started, mixed
// so that two starts a second apart begin far apart in the sequence.
uint32_t StartSeed()
{
    uint64_t x = (static_cast<uint64_t>(std::time(nullptr)) << 32) ^ (uint64_t{GetCurrentProcessId()} << 12) ^
                 GetTickCount();
    x = (x ^ (x >> 33)) * 0xFF51AFD7ED558CCDull;
    x = (x ^ (x >> 33)) * 0xC4CEB9FE1A85EC53ull;
    return static_cast<uint32_t>(x ^ (x >> 33));
}

}  // namespace

CNotesApp::CNotesApp() : CWinAppBase("Velumo") {}

CNotesApp::~CNotesApp()
{
    if (m_hMutex)
        CloseHandle(m_hMutex);
}

bool CNotesApp::InitInstance()
{
    // One copy at a time: a second one leaves quietly, touching no file,
    // after bringing the running copy's main window back into view.
    m_hMutex = CreateMutexA(nullptr, FALSE, kMutexName);
    if (!m_hMutex)
        return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        BringBackRunningCopy();
        return false;
    }

    InstallCorePlatformHooks();
    InstallNoteWindowHooks();
    InstallScheduleDialog();
    // New notes take their first places from this sequence: from a seed of
    // this start, a run does not put its new notes where the last run did.
    RuntimeRand::Reset(StartSeed());
    m_hTrayIcon = LoadIconA(Instance(), MAKEINTRESOURCEA(IDI_TRAY));

    const std::string exePath = ModulePath();
    // Absolute from the start: the current folder may change later (a file
    // dialog), and the saves must still reach the file named at start-up.
    m_strNotesPath = FullPathUtf8(NotesFilePath(exePath, Args()));
    m_strHelpPath = HelpFilePath(exePath);
    SetProfileFile(SettingsFilePath(exePath));
    // Before the first note is made or loaded: every change here carries it.
    NoteIdSource::SetInstallation(ReadInstallationId());

    if (!m_notes.Load(m_strNotesPath)) {
        AppMessageBox(kUnreadableNotesMessage + m_strNotesPath, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    // What a kill left of a save of the bin or of a backup, as Load does
    // for the notes file's own.
    m_notes.FileStore().RemoveLeftoverTemporary(CDeletedNotesBin::PathBeside(m_strNotesPath));
    RemoveLeftoverBackupTemporaries(m_notes.FileStore(), m_strNotesPath);

    ReadAutoRunSetting();
    m_bSettingsRead = true;

    RunMainWindow();
    m_notes.Save();
    return false;
}

int CNotesApp::ExitInstance()
{
    SaveAutoRunSetting();
    // Help windows run on this thread: close them before the process goes.
    if (m_bHelpShown)
        HtmlHelpW(nullptr, nullptr, HH_CLOSE_ALL, 0);
    return CWinAppBase::ExitInstance();
}

void CNotesApp::SaveAutoRunSetting()
{
    // Only a copy that got as far as reading the option writes it back.
    if (!m_bSettingsRead || m_bSettingsWritten)
        return;
    m_bSettingsWritten = true;
    WriteAutoRunSetting();
}

void CNotesApp::ReadAutoRunSetting()
{
    ReadAutoRun();
}

void CNotesApp::WriteAutoRunSetting()
{
    WriteAutoRun();
}

void CNotesApp::RunMainWindow()
{
    CMainDlg dlg(m_notes);
    dlg.DoModal(nullptr);
    m_hMainWnd = nullptr;
}

void CNotesApp::ShowHelp()
{
    // The viewer shows nothing at all for a missing file, so the user is told
    // which file is missing, or which one could not be shown, instead. The
    // box belongs to whatever window of ours asked for help.
    const char* problem = nullptr;
    if (!IsExistingFile(m_strHelpPath))
        problem = kHelpMissingMessage;
    else if (!OpenHelpViewer(m_strHelpPath))
        problem = kHelpUnopenableMessage;
    if (problem)
        AppMessageBox(std::string(problem) + "\r\n\r\n" + m_strHelpPath, MB_OK | MB_ICONEXCLAMATION,
                      GetActiveWindow());
}

bool CNotesApp::OpenHelpViewer(const std::string& path)
{
    m_bHelpShown = true;
    return HtmlHelpW(nullptr, WideFromUtf8(path).c_str(), HH_DISPLAY_TOPIC, 0) != nullptr;
}
