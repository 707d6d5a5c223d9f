#include "framework/CWinAppBase.h"

#include <cstdio>

#include "framework/MessageLoop.h"

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
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (MessageLoop::PreTranslate(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return ExitInstance();
}

int CWinAppBase::GetProfileInt(const char* section, const char* key, int defaultValue) const
{
    // Negative values come back as the platform reads them (UINT to int).
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, m_profileFile.c_str()));
}

bool CWinAppBase::WriteProfileInt(const char* section, const char* key, int value) const
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WritePrivateProfileStringA(section, key, text, m_profileFile.c_str()) != 0;
}

int CWinAppBase::AppMessageBox(const std::string& text, UINT flags, HWND owner) const
{
    return MessageBoxA(owner, text.c_str(), m_title.c_str(), flags);
}

std::string CWinAppBase::ModulePath()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}
