#include "settings/CRegistry.h"

#include <cwchar>

#include "framework/WideText.h"

void CRegistry::Open(const std::string& path)
{
    Close();
    const std::wstring widePath = WideFromUtf8(path);
    HKEY key = nullptr;
    if (RegOpenKeyExW(m_hRoot, widePath.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        key = nullptr;
        if (RegCreateKeyExW(m_hRoot, widePath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            key = nullptr;
    }
    m_hKey = key;
}

void CRegistry::Close()
{
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

LONG CRegistry::SetString(const char* name, const std::string& text)
{
    if (!m_hKey)
        return ERROR_INVALID_HANDLE;
    const std::wstring wide = WideFromUtf8(text);
    return RegSetValueExW(m_hKey, WideFromUtf8(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                          static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

LONG CRegistry::QueryString(const char* name, std::string& out)
{
    if (!m_hKey)
        return ERROR_INVALID_HANDLE;
    // One character more than the registry may fill: a value stored without
    // its terminating zero still ends inside the buffer.
    wchar_t buffer[kMaxValueBytes / sizeof(wchar_t) + 1] = {};
    DWORD size = kMaxValueBytes;
    DWORD type = 0;
    const LONG status =
        RegQueryValueExW(m_hKey, WideFromUtf8(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (status != ERROR_SUCCESS)
        return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;  // a number or binary data is no text
    out = Utf8FromWide(std::wstring_view(buffer, wcsnlen(buffer, size / sizeof(wchar_t))));
    return status;
}

LONG CRegistry::DeleteValue(const char* name)
{
    if (!m_hKey)
        return ERROR_INVALID_HANDLE;
    return RegDeleteValueW(m_hKey, WideFromUtf8(name).c_str());
}
