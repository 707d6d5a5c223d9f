#include "framework/CWinAppBase.h"

#include <cstdio>
#include <iterator>

#include "core/CommandLineWords.h"
#include "core/UnicodeText.h"
#include "framework/MessageLoop.h"
#include "framework/WideText.h"

CWinAppBase* CWinAppBase::s_app = nullptr;

CWinAppBase::CWinAppBase(std::string title) : m_title(std::move(title))
{
    s_app = this;
}

CWinAppBase::~CWinAppBase()
{
    if (s_app == this)
        s_app = nullptr;
}

int CWinAppBase::Run(HINSTANCE instance, std::vector<std::string> args)
{
    m_instance = instance;
    m_args = std::move(args);
    if (InitInstance()) {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (MessageLoop::PreTranslate(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

int CWinAppBase::GetProfileInt(const char* section, const char* key, int defaultValue) const
{
    // Negative values come back as the platform reads them (UINT to int).
    return static_cast<int>(GetPrivateProfileIntW(WideFromUtf8(section).c_str(), WideFromUtf8(key).c_str(),
                                                  defaultValue, WideFromUtf8(m_profileFile).c_str()));
}

bool CWinAppBase::WriteProfileInt(const char* section, const char* key, int value) const
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WritePrivateProfileStringW(WideFromUtf8(section).c_str(), WideFromUtf8(key).c_str(),
                                      WideFromUtf8(text).c_str(), WideFromUtf8(m_profileFile).c_str()) != 0;
}

std::string CWinAppBase::GetProfileString(const char* section, const char* key) const
{
    wchar_t value[512] = {};
    GetPrivateProfileStringW(WideFromUtf8(section).c_str(), WideFromUtf8(key).c_str(), L"", value,
                             static_cast<DWORD>(std::size(value)), WideFromUtf8(m_profileFile).c_str());
    return Utf8FromWide(value);
}

bool CWinAppBase::WriteProfileString(const char* section, const char* key, const std::string& value) const
{
    return WritePrivateProfileStringW(WideFromUtf8(section).c_str(), WideFromUtf8(key).c_str(),
                                      WideFromUtf8(value).c_str(), WideFromUtf8(m_profileFile).c_str()) != 0;
}

int CWinAppBase::AppMessageBox(const std::string& text, UINT flags, HWND owner) const
{
    return MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(m_title).c_str(), flags);
}

std::vector<std::string> CWinAppBase::ArgumentsOf(const wchar_t* commandLine)
{
    std::vector<std::string> args;
    if (!commandLine)
        return args;
    for (const std::u16string& word : CommandLineArguments(reinterpret_cast<const char16_t*>(commandLine)))
        args.push_back(Utf8FromUtf16(word));
    return args;
}

std::string CWinAppBase::ModulePath()
{
    // Grown until the whole path fits: a deep folder is not cut short.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return Utf8FromWide(path);
        }
        if (path.size() >= 32768)  // the longest path the system has
            return Utf8FromWide(path);
        path.resize(path.size() * 2);
    }
}
