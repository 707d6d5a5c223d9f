#include "framework/NumberField.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

std::string IntegerRangeMessage(int minValue, int maxValue)
{
    std::string text = kEnterIntegerRangeMessage;
    const auto put = [&text](const char* marker, int value) {
        const size_t at = text.find(marker);
        if (at != std::string::npos)
            text.replace(at, 2, std::to_string(value));
    };
    put("%1", minValue);
    put("%2", maxValue);
    return text;
}

bool ParseIntField(const std::string& text, int& value)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    size_t digitsAt = i;
    if (digitsAt < text.size() && (text[digitsAt] == '+' || text[digitsAt] == '-'))
        ++digitsAt;
    size_t end = digitsAt;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    if (end == digitsAt)
        return false;
    for (size_t rest = end; rest < text.size(); ++rest)
        if (!IsBlank(text[rest]))
            return false;
    errno = 0;
    const long long parsed = std::strtoll(text.c_str() + i, nullptr, 10);
    if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    value = static_cast<int>(parsed);
    return true;
}
