#pragma once
// A small wrapper over one key under HKEY_CURRENT_USER: open (or create), set
// and read strings, delete a value, close. Each call answers the registry's
// status code (ERROR_SUCCESS, 0, when it worked). Key paths, names and texts
// are UTF-8 here and go to the registry as UTF-16.
#include <windows.h>

#include <string>

class CRegistry {
public:
    // Values longer than this (in the registry's UTF-16, terminating zero
    // included) cannot be read.
    static constexpr DWORD kMaxValueBytes = 200;

    CRegistry() = default;
    ~CRegistry() { Close(); }
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // Opens root\path with all access, creating the key when it cannot be
    // opened. A key still open from before is closed first.
    void Open(const std::string& path);
    void Close();

    LONG SetString(const char* name, const std::string& text);
    // On success the text read replaces out; otherwise out is left as it was
    // (a missing value, one too long for kMaxValueBytes, no open key).
    LONG QueryString(const char* name, std::string& out);
    LONG DeleteValue(const char* name);

private:
    HKEY m_hRoot = HKEY_CURRENT_USER;
    HKEY m_hKey = nullptr;
};
