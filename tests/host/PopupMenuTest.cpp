// Where a popup menu opens near the screen's edges, and which item a key
// chooses.
#include <gtest/gtest.h>

#include <climits>

#include "tray/MenuMnemonic.h"
#include "tray/PopupPlacement.h"

TEST(PopupPlacementTest, FlipsOnlyWhenTheFlipFits)
{
    const ScreenRect screen{0, 0, 1280, 1024};
    struct Row {
        const char* label;
        int x, y, w, h;
        PopupOrigin expected;
    } rows[] = {
        {"fits", 100, 100, 150, 230, {100, 100}},
        {"fits up to one pixel before the edges", 1129, 793, 150, 230, {1129, 793}},
        {"touches the right edge: flips left", 1130, 100, 150, 230, {980, 100}},
        {"near the right edge: flips left", 1250, 100, 150, 230, {1100, 100}},
        {"near the bottom edge: flips up", 100, 1000, 150, 230, {100, 770}},
        {"bottom-right corner: flips both", 1270, 1010, 150, 230, {1120, 780}},
        {"over right and bottom, no room above: stays", 1270, 500, 150, 600, {1270, 500}},
        {"bottom edge, no room left: up only", 50, 1000, 150, 230, {50, 770}},
        {"fits neither way: stays at the point", 100, 900, 1200, 950, {100, 900}},
        {"menu wider than the screen: stays", 10, 10, 1400, 100, {10, 10}},
        {"flips would touch the left and top edges: stays", 150, 1000, 150, 1000, {150, 1000}},
        {"extreme point does not wrap", INT_MAX - 10, INT_MAX - 10, 150, 230, {INT_MAX - 160, INT_MAX - 240}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(PlacePopup(r.x, r.y, r.w, r.h, screen), r.expected);
    }
    // A desktop that does not start at 0,0 (monitors left of the primary one).
    const ScreenRect shifted{-1280, -200, 1280, 1024};
    EXPECT_EQ(PlacePopup(-1200, 900, 150, 230, shifted), (PopupOrigin{-1200, 670}));
    EXPECT_EQ(PlacePopup(-1200, 100, 150, 230, shifted), (PopupOrigin{-1200, 100}));
}

TEST(MenuMnemonicTest, LetterAfterTheAmpersandChoosesTheOnlyItemWithIt)
{
    struct Row {
        const char* text;
        char expected;
    } rows[] = {
        {"E&xit", 'X'},       {"Add &note", 'N'},  {"&Help Topics           F1", 'H'},
        {"no mnemonic", 0},   {"ends in &", 0},    {"Salt && &Pepper", 'P'},
        {"&&only literal", 0}, {"&1st", '1'},      {"", 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(MenuMnemonic(r.text), r.expected);
    }

    const std::vector<std::string_view> tray{
        "Add &note", "&View note list...", "&Bring notes to top", "", "&Show all notes", "H&ide all notes",
        "", "&Options", "&Help", "&About", "", "E&xit"};
    struct Key {
        char key;
        int expected;
    } keys[] = {{'X', 11}, {'x', 11}, {'n', 0}, {'I', 5}, {'H', 8}, {'Z', -1}, {'&', -1}, {0, -1}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.key);
        EXPECT_EQ(FindMnemonicItem(tray, k.key), k.expected);
    }
    // Two items with one letter: neither is chosen.
    EXPECT_EQ(FindMnemonicItem({"&Save", "&Show", "E&xit"}, 'S'), -1);
}
