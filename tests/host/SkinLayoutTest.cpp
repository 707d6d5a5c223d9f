// Reading skin descriptions: layout rows, the skin folder, the skin key and
// which face a button shows.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "skin/ButtonFace.h"
#include "skin/SkinKey.h"
#include "skin/SkinLayout.h"
#include "skin/SkinPaths.h"

TEST(SkinLayout, FieldsComeOffTheFrontOfTheRow)
{
    struct Case {
        const char* label;
        const char* row;
        std::vector<std::string> fields;  // asked for one after the other
        const char* rest;                 // what is left at the end
    } cases[] = {
        {"plain", "a,b,c", {"a", "b", "c"}, "c"},
        {"blank after a comma is trimmed away", "a,  b ,\tc", {"a", "b ", "c"}, "c"},
        {"blank before a comma stays", "tip  ,TRUE", {"tip  ", "TRUE"}, "TRUE"},
        {"missing fields repeat the last one", "x,7", {"x", "7", "7", "7"}, "7"},
        {"empty field between commas", "a,,b", {"a", "", "b"}, "b"},
        {"leading blank of the row stays in the first field", " a,b", {" a", "b"}, "b"},
        {"trailing blanks of the last field go", "a,b  ", {"a", "b"}, "b"},
        {"empty row", "", {"", ""}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::string rest = c.row;
        for (const auto& expected : c.fields)
            EXPECT_EQ(NextSkinField(rest), expected);
        EXPECT_EQ(rest, c.rest);
    }
}

TEST(SkinLayout, IntegerFields)
{
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"19", 19},        {"  42", 42},      {"-5", -5},       {"+8", 8},
        {"12px", 12},      {"px12", 0},       {"", 0},          {"- 3", 0},
        {"\t7 8", 7},      {"007", 7},        {"2147483647", 2147483647},
        {"99999999999", 2147483647},          {"-99999999999", -2147483647 - 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SkinFieldToInt(c.text), c.value);
    }
}

TEST(SkinLayout, Rows)
{
    struct Case {
        const char* label;
        const char* row;
        const char* name;
        int32_t left, top, right, bottom;
        const char* tooltip;
        bool latching;
    } cases[] = {
        {"false flag", "BUTTON_HELP,19,214,101,19,Get Help,FALSE", "BUTTON_HELP", 19, 214, 120, 233, "Get Help", false},
        {"upper-case T latches", "B,1,2,3,4,tip,TRUE", "B", 1, 2, 4, 6, "tip", true},
        {"only the first letter counts", "B,1,2,3,4,tip,Tomato", "B", 1, 2, 4, 6, "tip", true},
        {"lower-case true does not latch", "B,1,2,3,4,tip,true", "B", 1, 2, 4, 6, "tip", false},
        {"blank between comma and TRUE", "B,1,2,3,4,tip, TRUE", "B", 1, 2, 4, 6, "tip", true},
        {"empty flag", "B,1,2,3,4,tip,", "B", 1, 2, 4, 6, "tip", false},
        {"row ends after the height", "B,1,2,3,94", "B", 1, 2, 4, 96, "94", false},
        {"blank before the comma stays in the tooltip", "B,1,2,3,4,Add a note ,FALSE", "B", 1, 2, 4, 6,
         "Add a note ", false},
        {"blanks around numbers", "B, 5 , 6 ,7,8,t,F", "B", 5, 6, 12, 14, "t", false},
        {"negative place", "B,-10,-20,5,5,t,F", "B", -10, -20, -5, -15, "t", false},
        {"name only", "ALONE", "ALONE", 0, 0, 0, 0, "ALONE", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        SkinButtonRow row;
        ASSERT_TRUE(ReadSkinButtonRow(c.row, row));
        EXPECT_EQ(row.name, c.name);
        EXPECT_EQ(row.left, c.left);
        EXPECT_EQ(row.top, c.top);
        EXPECT_EQ(row.right, c.right);
        EXPECT_EQ(row.bottom, c.bottom);
        EXPECT_EQ(row.tooltip, c.tooltip);
        EXPECT_EQ(row.latching, c.latching);
    }
    SkinButtonRow untouched;
    untouched.name = "kept";
    EXPECT_FALSE(ReadSkinButtonRow("", untouched));
    EXPECT_EQ(untouched.name, "kept");
}

TEST(SkinLayout, SkinFolderOfFullPath)
{
    struct Case {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Program Files\\Velumo\\Skins\\skin.ini", "C:\\Program Files\\Velumo\\Skins\\"},
        {"C:\\skin.ini", "C:\\"},
        {"C:\\Skins\\", "C:\\Skins\\"},
        {"C:\\", "C:\\"},
        {"\\\\server\\share\\skin.ini", "\\\\server\\share\\"},
        {"C:\\a.b\\skin", "C:\\a.b\\"},
        {"skin.ini", "\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(SkinFolderOfFullPath(c.path), c.folder);
    }
    // Exactly one backslash between a drive's root and a picture's name.
    EXPECT_EQ(SkinFolderOfFullPath("D:\\skin.ini") + "main.bmp", "D:\\main.bmp");
}

TEST(SkinLayout, UnscrambleHeader)
{
    struct Case {
        const char* label;
        size_t size;
    } cases[] = {{"empty", 0}, {"shorter than the header", 37}, {"exactly the header", 100},
                 {"one past the header", 101}, {"a picture", 4000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<uint8_t> plain(c.size);
        std::iota(plain.begin(), plain.end(), uint8_t{0});
        std::vector<uint8_t> bytes = plain;
        UnscrambleHeader(bytes.data(), bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i) {
            const uint8_t expected = i < 100 ? static_cast<uint8_t>(plain[i] ^ 0x5A) : plain[i];
            ASSERT_EQ(bytes[i], expected) << "byte " << i;
        }
        UnscrambleHeader(bytes.data(), bytes.size());
        EXPECT_EQ(bytes, plain);
    }
    // "BM", the start of a bitmap file, as it lies on disk.
    uint8_t header[2] = {'B', 'M'};
    UnscrambleHeader(header, 2);
    EXPECT_EQ(header[0], 0x18);
    EXPECT_EQ(header[1], 0x17);
}

TEST(SkinLayout, ButtonFaceRuleOrder)
{
    struct Case {
        const char* label;
        ButtonFaceState state;
        ButtonFace face;
    } cases[] = {
        {"idle", {}, ButtonFace::Normal},
        {"hovered", {.highlighted = true}, ButtonFace::Over},
        {"pressed", {.selected = true}, ButtonFace::Down},
        {"pressed while hovered", {.highlighted = true, .selected = true}, ButtonFace::Down},
        {"disabled", {.disabled = true}, ButtonFace::Disabled},
        {"hover wins over disabled", {.highlighted = true, .disabled = true}, ButtonFace::Over},
        {"pressed wins over disabled", {.selected = true, .disabled = true}, ButtonFace::Down},
        {"latched, not hovered", {.latched = true}, ButtonFace::Down},
        {"latched and hovered", {.latched = true, .highlighted = true}, ButtonFace::Over},
        {"latching, not latched, pressed and hovered",
         {.latching = true, .highlighted = true, .selected = true}, ButtonFace::Normal},
        {"latching and latched", {.latching = true, .latched = true, .highlighted = true}, ButtonFace::Down},
        {"latching, disabled", {.latching = true, .disabled = true}, ButtonFace::Normal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ChooseButtonFace(c.state), c.face);
    }
}
