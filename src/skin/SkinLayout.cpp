#include "skin/SkinLayout.h"

#include <limits>

const std::array<const char*, 6> g_skinButtonLayout = {
    "BUTTON_LOGO,19,18,101,94,Velumo,FALSE",
    "BUTTON_ADDNOTE,19,139,101,19,Add a note,FALSE",
    "BUTTON_DELNOTE,19,164,101,19,Delete the selected note,FALSE",
    "BUTTON_CALENDAR,19,189,101,19,Shedule the selected Notes,FALSE",
    "BUTTON_MINMIZE,517,221,17,22,Minmize the window,FALSE",
    "BUTTON_HELP,19,214,101,19,Get Help,FALSE",
};

namespace {

// The runtime's white space in the "C" locale; bytes above 127 are text.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void Trim(std::string& text)
{
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    size_t begin = 0;
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    text = text.substr(begin, end - begin);
}

int32_t ClampToInt32(int64_t value)
{
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace

std::string NextSkinField(std::string& rest)
{
    std::string field;
    const size_t comma = rest.find(',');
    if (comma == std::string::npos) {
        field = rest;
    } else {
        field = rest.substr(0, comma);
        rest.erase(0, comma + 1);
    }
    Trim(rest);
    return field;
}

int32_t SkinFieldToInt(const std::string& field)
{
    size_t i = 0;
    while (i < field.size() && IsBlank(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    // Accumulated one past the 32-bit range at most, so it never overflows.
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = value * 10 + (field[i] - '0');
        if (value > limit)
            value = limit;
    }
    return ClampToInt32(negative ? -value : value);
}

bool ReadSkinButtonRow(const std::string& row, SkinButtonRow& out)
{
    if (row.empty())
        return false;
    std::string rest = row;
    out.name = NextSkinField(rest);
    const int32_t x = SkinFieldToInt(NextSkinField(rest));
    const int32_t y = SkinFieldToInt(NextSkinField(rest));
    const int32_t width = SkinFieldToInt(NextSkinField(rest));
    const int32_t height = SkinFieldToInt(NextSkinField(rest));
    out.left = x;
    out.top = y;
    out.right = ClampToInt32(int64_t{x} + width);
    out.bottom = ClampToInt32(int64_t{y} + height);
    out.tooltip = NextSkinField(rest);
    const std::string flag = NextSkinField(rest);
    out.latching = !flag.empty() && flag[0] == 'T';
    return true;
}
