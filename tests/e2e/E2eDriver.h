#pragma once
// Drives the real Velumo.exe from outside, as a user would: each driver owns
// a fresh folder holding a copy of the program and its skin, starts the
// program there, finds its windows, and reads what it wrote.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class E2eDriver {
public:
    static void SetProgramFolder(const std::string& folder);

    // copySkin false leaves the folder without Skins\skin.ini.
    explicit E2eDriver(bool copySkin = true);
    ~E2eDriver();
    E2eDriver(const E2eDriver&) = delete;
    E2eDriver& operator=(const E2eDriver&) = delete;

    const std::string& Folder() const { return m_folder; }
    std::string PathOf(const std::string& name) const { return m_folder + "\\" + name; }

    // Starts Velumo.exe in the folder with the given command-line tail.
    bool Start(const std::string& arguments = "");
    // Starts another copy and waits for it to end; its exit code, or -1.
    static int RunToEnd(const std::string& exe, const std::string& arguments, DWORD timeoutMs);
    std::string ExePath() const { return PathOf("Velumo.exe"); }

    // Top-level visible window of the program with this title (or any
    // title when empty), waiting up to timeoutMs.
    HWND WaitForWindow(const std::string& title, DWORD timeoutMs, const char* className = nullptr) const;
    // The text of a message box (its static text) and its caption.
    static std::string MessageBoxText(HWND box);
    static std::string WindowText(HWND hwnd);
    // Presses the message box's first button.
    static void Dismiss(HWND box);

    bool WaitForExit(DWORD timeoutMs);
    bool IsRunning() const;
    DWORD ExitCode() const;
    // Ends the program the way the user does (close the main window),
    // falling back to terminating it.
    void Stop();

    bool WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const;
    std::vector<uint8_t> ReadFile(const std::string& name) const;
    bool FileExists(const std::string& name) const;
    FILETIME LastWrite(const std::string& name) const;

    DWORD ProcessId() const { return m_pi.dwProcessId; }

private:
    std::string m_folder;
    PROCESS_INFORMATION m_pi{};
    DWORD m_exitCode = STILL_ACTIVE;
};
