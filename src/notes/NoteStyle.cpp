#include "notes/NoteStyle.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "notes/AnsiCodePage.h"
#include "core/UnicodeText.h"

namespace {

// Colours are kept as the web writes them, "#RRGGBB".
std::optional<ColorRef> ParseColor(const std::string& text)
{
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + 7, value, 16);
    if (error != std::errc() || end != text.data() + 7)
        return std::nullopt;
    const unsigned r = (value >> 16) & 0xFF, g = (value >> 8) & 0xFF, b = value & 0xFF;
    return static_cast<ColorRef>(r | (g << 8) | (b << 16));
}

std::string FormatColor(ColorRef color)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    return text;
}

std::optional<int> ParseInt(const std::string& text, int low, int high)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < low || value > high)
        return std::nullopt;
    return value;
}

template <typename T>
void ReadInt(const StyleReader& read, const char* key, int low, int high, T& field)
{
    if (const auto value = ParseInt(read(key), low, high))
        field = static_cast<T>(*value);
}

}  // namespace

const PaperChoice kPaperChoices[kPaperChoiceCount] = {
    {kDefaultPaperColor, "&Yellow"},  // the paper every note starts with
    {0x00B4F0C8, "&Green"},
    {0x00FFDCB4, "&Blue"},
    {0x00DCC8FF, "&Pink"},
    {0x00FFC8DC, "&Lilac"},
    {0x00FFFFFF, "&White"},
};

bool IsReadableFontHeight(int32_t height)
{
    const int32_t size = height < 0 ? -height : height;
    return size >= 8 && size <= 192;  // 6 to 144 points at 96 dots per inch
}

NoteStyle ReadNoteStyle(const StyleReader& read, const NoteStyle& defaults)
{
    NoteStyle style = defaults;
    if (const auto back = ParseColor(read("Paper")))
        style.back = *back;
    if (const auto text = ParseColor(read("Ink")))
        style.text = *text;
    // The face and its size go together: a size alone means nothing for
    // another face.
    // The face is kept in UTF-8 and stored in the font in the ANSI code
    // page; a face without an ANSI form cannot be asked for by name.
    std::string face;
    if (!AnsiCodePage().Narrow(Utf16FromUtf8(read("Font")), face))
        face.clear();
    const auto height = ParseInt(read("FontHeight"), -192, 192);
    if (!face.empty() && face.size() < sizeof style.font.lfFaceName && height && IsReadableFontHeight(*height)) {
        style.font = LogFont{};
        style.font.SetFaceName(face);
        style.font.lfHeight = *height;
        style.font.lfCharSet = kDefaultCharset;
        ReadInt(read, "FontWeight", 0, 1000, style.font.lfWeight);
        ReadInt(read, "FontItalic", 0, 1, style.font.lfItalic);
        ReadInt(read, "FontUnderline", 0, 1, style.font.lfUnderline);
        ReadInt(read, "FontStrikeOut", 0, 1, style.font.lfStrikeOut);
        ReadInt(read, "FontCharSet", 0, 255, style.font.lfCharSet);
    }
    return style;
}

void WriteNoteStyle(const StyleWriter& write, const NoteStyle& style)
{
    const LogFont& font = style.font;
    write("Paper", FormatColor(style.back));
    write("Ink", FormatColor(style.text));
    std::u16string face;
    AnsiCodePage().Widen(font.FaceName(), face);
    write("Font", Utf8FromUtf16(face));
    write("FontHeight", std::to_string(font.lfHeight));
    write("FontWeight", std::to_string(font.lfWeight));
    write("FontItalic", std::to_string(font.lfItalic ? 1 : 0));
    write("FontUnderline", std::to_string(font.lfUnderline ? 1 : 0));
    write("FontStrikeOut", std::to_string(font.lfStrikeOut ? 1 : 0));
    write("FontCharSet", std::to_string(font.lfCharSet));
}
