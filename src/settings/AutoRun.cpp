#include "settings/AutoRun.h"

#include "framework/CWinAppBase.h"
#include "settings/AutoRunValue.h"
#include "settings/CRegistry.h"

int g_bAutoRun = 0;

void ReadAutoRun()
{
    std::string text;
    CRegistry registry;
    registry.Open(AutoRunKeys::kOptionKey);
    registry.QueryString(AutoRunKeys::kOptionValue, text);
    g_bAutoRun = AutoRunFromText(text);
    registry.Close();
}

void WriteAutoRun()
{
    CRegistry registry;
    registry.Open(AutoRunKeys::kOptionKey);
    registry.SetString(AutoRunKeys::kOptionValue, AutoRunText(g_bAutoRun));
    registry.Close();
    SetRunEntry(g_bAutoRun == 1);
}

void SetRunEntry(bool on)
{
    CRegistry registry;
    registry.Open(AutoRunKeys::kRunKey);
    if (!on) {
        registry.DeleteValue(AutoRunKeys::kRunValue);  // a missing value is fine
        return;
    }
    // The entry is rewritten from where the program runs now, so a moved
    // program updates it at its next exit.
    const std::string command = RunEntryCommand(CWinAppBase::ModulePath());
    if (!command.empty())
        registry.SetString(AutoRunKeys::kRunValue, command);
}
