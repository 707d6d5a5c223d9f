#include "settings/CRegistry.h"

#include <cstring>

void CRegistry::Open(const std::string& path)
{
    Close();
    m_strPath = path;
    HKEY key = nullptr;
    if (RegOpenKeyExA(m_hRoot, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        key = nullptr;
        if (RegCreateKeyExA(m_hRoot, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
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
    return RegSetValueExA(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

LONG CRegistry::QueryString(const char* name, std::string& out)
{
    if (!m_hKey)
        return ERROR_INVALID_HANDLE;
    // One byte more than the registry may fill: a value stored without its
    // terminating zero still ends inside the buffer.
    char buffer[kMaxValueBytes + 1] = {};
    DWORD size = kMaxValueBytes;
    DWORD type = 0;
    const LONG status = RegQueryValueExA(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (status != ERROR_SUCCESS)
        return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;  // a number or binary data is no text
    out.assign(buffer, strnlen(buffer, size));
    return status;
}

LONG CRegistry::DeleteValue(const char* name)
{
    if (!m_hKey)
        return ERROR_INVALID_HANDLE;
    return RegDeleteValueA(m_hKey, name);
}
