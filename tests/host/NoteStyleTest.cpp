#include <gtest/gtest.h>

#include <map>

#include "notes/NoteStyle.h"

namespace {

using Ini = std::map<std::string, std::string>;

NoteStyle Defaults()
{
    NoteStyle style;
    style.font = DefaultNoteFont(96);
    return style;
}

NoteStyle Read(const Ini& ini)
{
    return ReadNoteStyle([&](const char* key) {
        const auto it = ini.find(key);
        return it == ini.end() ? std::string() : it->second;
    }, Defaults());
}

TEST(NoteStyle, KeptStyleReadsBackTheSame)
{
    NoteStyle style;
    style.back = 0x00C8F0B4;
    style.text = 0x00102030;
    style.font.SetFaceName("Courier New");
    style.font.lfHeight = -20;
    style.font.lfWeight = 700;
    style.font.lfItalic = 1;
    style.font.lfCharSet = 0;
    Ini ini;
    WriteNoteStyle([&](const char* key, const std::string& value) { ini[key] = value; }, style);
    EXPECT_EQ(ini["Paper"], "#B4F0C8");  // written as #RRGGBB
    EXPECT_EQ(Read(ini), style);
}

// Each damaged value falls back on its own; the font's face and size only
// go together.
TEST(NoteStyle, DamagedValuesFallBackToTheDefaults)
{
    const Ini good = {{"Paper", "#B4F0C8"}, {"Ink", "#000080"}, {"Font", "Verdana"}, {"FontHeight", "-13"}};
    struct Case {
        const char* key;
        const char* value;
        bool paperKept, inkKept, fontKept;
    } cases[] = {
        {"Paper", "", false, true, true},
        {"Paper", "B4F0C8", false, true, true},
        {"Paper", "#B4F0CG", false, true, true},
        {"Paper", "#B4F0C8FF", false, true, true},
        {"Ink", "red", true, false, true},
        {"Font", "", true, true, false},
        {"Font", "A face name far longer than any font's own", true, true, false},
        {"FontHeight", "0", true, true, false},
        {"FontHeight", "-2", true, true, false},       // an unreadable size
        {"FontHeight", "-5000", true, true, false},
        {"FontHeight", "12pt", true, true, false},
        {"FontWeight", "99999", true, true, true},    // only the weight is dropped
    };
    for (const Case& c : cases) {
        Ini ini = good;
        if (*c.value)
            ini[c.key] = c.value;
        else
            ini.erase(c.key);
        const NoteStyle style = Read(ini);
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        EXPECT_EQ(style.back == 0x00C8F0B4, c.paperKept);
        EXPECT_EQ(style.text == 0x00800000, c.inkKept);
        EXPECT_EQ(style.font.FaceName() == "Verdana", c.fontKept);
        EXPECT_EQ(style.font.lfHeight, c.fontKept ? -13 : Defaults().font.lfHeight);
        EXPECT_EQ(style.font.lfWeight, 0);
    }
    EXPECT_EQ(Read({}), Defaults());
}

}  // namespace
