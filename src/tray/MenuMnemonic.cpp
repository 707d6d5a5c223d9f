#include "tray/MenuMnemonic.h"

namespace {

// Upper case for the ASCII letters; other characters compare as they are,
// whatever the locale of the process.
char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

char MenuMnemonic(std::string_view text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;  // a literal ampersand
            continue;
        }
        return UpperAscii(text[i + 1]);
    }
    return 0;
}

int FindMnemonicItem(const std::vector<std::string_view>& texts, char key)
{
    key = UpperAscii(key);
    if (key == 0)
        return -1;
    int found = -1;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (MenuMnemonic(texts[i]) != key)
            continue;
        if (found >= 0)
            return -1;  // ambiguous: choosing either would be a guess
        found = static_cast<int>(i);
    }
    return found;
}
