#pragma once
// The application object: one running copy, the files beside the executable,
// the note list for the life of the process, the main window's modal run,
// the final save, and help.
#include <windows.h>

#include <string>

#include "framework/CWinAppBase.h"
#include "notes/CNoteList.h"

class CNotesApp : public CWinAppBase {
public:
    static constexpr const char* kMutexName = "SkinDlg";
    static constexpr const char* kUnreadableNotesMessage = "Unable to open configuration file: ";
    static constexpr const char* kHelpMissingMessage = "The help file could not be found:";
    static constexpr const char* kHelpUnopenableMessage = "The help file could not be opened:";

    CNotesApp();
    ~CNotesApp() override;

    static CNotesApp& GetApp() { return *static_cast<CNotesApp*>(CWinAppBase::Get()); }

    bool InitInstance() override;
    int ExitInstance() override;
    void ShowHelp() override;
    // Writes the auto-start option back: at most once, and only in a run
    // that read it. The exit step calls it, and so does the main window when
    // Windows ends the session, after which the exit step may never come.
    void SaveAutoRunSetting();

    CNoteList m_notes;
    HICON m_hTrayIcon = nullptr;
    std::string m_strNotesPath;
    std::string m_strHelpPath;

protected:
    // Runs the main window until it closes. Replaceable for tests.
    virtual void RunMainWindow();
    // The auto-start option: read after loading, written back at exit.
    virtual void ReadAutoRunSetting();
    virtual void WriteAutoRunSetting();
    // Shows the help file's default topic; false when the viewer could not
    // open it. Replaceable for tests.
    virtual bool OpenHelpViewer(const std::string& path);

private:
    HANDLE m_hMutex = nullptr;
    bool m_bSettingsRead = false;
    bool m_bSettingsWritten = false;
    bool m_bHelpShown = false;
};
