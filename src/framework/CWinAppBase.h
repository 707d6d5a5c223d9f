#pragma once
// The application object: start and exit hooks, the settings (profile) file,
// message boxes with the program's title, and the help hook.
#include <windows.h>

#include <string>
#include <vector>

class CWinAppBase {
public:
    explicit CWinAppBase(std::string title);
    virtual ~CWinAppBase();
    CWinAppBase(const CWinAppBase&) = delete;
    CWinAppBase& operator=(const CWinAppBase&) = delete;

    // The one application object of the process.
    static CWinAppBase* Get() { return s_app; }

    // Start hook, exit hook, then the exit code: what WinMain runs.
    int Run(HINSTANCE instance, std::vector<std::string> args);

    // Start: true to run a message loop after it (the program never does).
    virtual bool InitInstance() = 0;
    virtual int ExitInstance() { return 0; }
    // Help requests from every window end here.
    virtual void ShowHelp() {}

    // Paths and texts here are UTF-8; the calls behind them are the wide ones.
    // The settings file that the profile calls read and write.
    void SetProfileFile(std::string path) { m_profileFile = std::move(path); }
    const std::string& ProfileFile() const { return m_profileFile; }
    int GetProfileInt(const char* section, const char* key, int defaultValue) const;
    bool WriteProfileInt(const char* section, const char* key, int value) const;
    // Texts in UTF-8; an empty text when the key is missing.
    std::string GetProfileString(const char* section, const char* key) const;
    bool WriteProfileString(const char* section, const char* key, const std::string& value) const;

    // A message box captioned with the program's title.
    int AppMessageBox(const std::string& text, UINT flags, HWND owner = nullptr) const;

    const std::vector<std::string>& Args() const { return m_args; }
    HINSTANCE Instance() const { return m_instance; }
    HWND m_hMainWnd = nullptr;

    // The executable's full path.
    static std::string ModulePath();
    // The arguments after the program name, as UTF-8, so that a notes path
    // in any script reaches the file functions whole.
    static std::vector<std::string> ArgumentsOf(const wchar_t* commandLine);

private:
    static CWinAppBase* s_app;
    std::string m_title;
    std::string m_profileFile;
    std::vector<std::string> m_args;
    HINSTANCE m_instance = nullptr;
};
