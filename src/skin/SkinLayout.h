#pragma once
// The compiled-in placement of the main window's skin buttons and the reading
// of its rows: "name,x,y,width,height,tooltip,flag".
#include <array>
#include <cstdint>
#include <string>

// Six rows, in the order that numbers the buttons (0 for the first).
extern const std::array<const char*, 6> g_skinButtonLayout;

// One row, read. right = x + width and bottom = y + height: the rectangle is
// both the button's place in the window and where its faces are cut from the
// skin pictures.
struct SkinButtonRow {
    std::string name;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    std::string tooltip;
    bool latching = false;
};

// Takes the next field off the front of rest. The field is the text before the
// first comma; without a comma it is all of rest, which then stays as it was,
// so every field asked for after the last one repeats it. rest is trimmed of
// white space on both ends afterwards, the field never is.
std::string NextSkinField(std::string& rest);

// Leading white space, an optional sign, then decimal digits up to the first
// other character; 0 without digits. Values beyond 32 bits stop at the limit.
int32_t SkinFieldToInt(const std::string& field);

// False for an empty row (it makes no button).
bool ReadSkinButtonRow(const std::string& row, SkinButtonRow& out);
