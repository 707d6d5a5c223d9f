#include "mainwnd/NewNoteStyleSetting.h"

#include <windows.h>

#include <cstring>

#include "app/CNotesApp.h"
#include "framework/DisplayScale.h"
#include "framework/LogFontA.h"
#include "framework/ScopedHandles.h"
#include "mainwnd/MainWndModel.h"

namespace {

// The LOGFONT of a 12-point Arial font as the screen realises the request.
// Its height is for 96 DPI, as every note stores it; a note window scales it
// to its display.
LogFont PointFontLogFont()
{
    LOGFONTA request{};
    request.lfHeight = -MulDiv(120, DisplayScale::kBaseDpi, 720);
    request.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(request.lfFaceName, "Arial");
    UniqueFont font(CreateFontIndirectA(&request));
    LOGFONTA readBack = request;
    if (font)
        GetObjectA(font, sizeof readBack, &readBack);
    return FromLogFontA(readBack);
}

}  // namespace

NewNoteStyleSetting::NewNoteStyleSetting(int screenColorCount)
    : m_style{DefaultNoteBackColor(screenColorCount), 0, PointFontLogFont()}
{
}

void NewNoteStyleSetting::Load()
{
    const auto& app = CNotesApp::GetApp();
    if (app.ProfileFile().empty())
        return;
    m_style = ReadNoteStyle([&](const char* key) { return app.GetProfileString(kStyleSection, key); }, m_style);
}

void NewNoteStyleSetting::UseFrom(const CNote& note)
{
    m_style = NoteStyle{note.m_crBack, note.m_crText, note.m_logFont};
    const auto& app = CNotesApp::GetApp();
    if (!app.ProfileFile().empty())
        WriteNoteStyle([&](const char* key, const std::string& value) {
            app.WriteProfileString(kStyleSection, key, value);
        }, m_style);
}

void NewNoteStyleSetting::ApplyTo(CNote& note) const
{
    note.m_crBack = m_style.back;
    note.m_crText = m_style.text;
    note.m_logFont = m_style.font;
}
