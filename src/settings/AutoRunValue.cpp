#include "settings/AutoRunValue.h"

int AutoRunFromText(std::string_view text)
{
    return text == "TRUE" ? 1 : 0;
}

const char* AutoRunText(int autoRun)
{
    return autoRun == 1 ? "TRUE" : "FALSE";
}

std::string RunEntryCommand(const std::string& exePath)
{
    // A quote inside the path could not be quoted again; Windows paths never
    // hold one, so such a path is refused rather than written broken.
    if (exePath.empty() || exePath.find('"') != std::string::npos)
        return {};
    return "\"" + exePath + "\"";
}
