#include "mainwnd/SystemTextFold.h"

#include <windows.h>

#include <iterator>
#include <vector>

namespace {

bool IsSurrogate(uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// Lower case and the kinds of character in one call each over every
// character; the table is ready in a few milliseconds.
std::vector<char16_t> BuildTable()
{
    std::vector<wchar_t> all;
    for (uint32_t unit = 0x20; unit < 0x10000; ++unit)
        if (!IsSurrogate(unit))
            all.push_back(static_cast<wchar_t>(unit));
    const int n = static_cast<int>(all.size());

    std::vector<char16_t> table(0x10000);
    for (uint32_t unit = 0; unit < 0x10000; ++unit)
        table[unit] = static_cast<char16_t>(unit);

    // The user's lower case, by the rules of the user's language. Lower
    // casing keeps the length, so the result lines up with the input.
    std::vector<wchar_t> lower(all.size());
    if (LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING, all.data(), n, lower.data(), n,
                      nullptr, nullptr, 0) == n)
        for (int i = 0; i < n; ++i)
            table[all[i]] = static_cast<char16_t>(lower[i]);

    // Accents: the marks that sit on a letter drop out.
    std::vector<WORD> kinds(all.size());
    std::vector<bool> isMark(0x10000, false);
    if (GetStringTypeW(CT_CTYPE3, all.data(), n, kinds.data()))
        for (int i = 0; i < n; ++i)
            isMark[all[i]] = (kinds[i] & (C3_NONSPACING | C3_DIACRITIC)) != 0 && !(kinds[i] & C3_ALPHA);

    // A letter that decomposes into a base letter and marks is its base
    // letter. One character at a time: the system refuses a whole run that
    // holds a single character it has no form for.
    for (wchar_t c : all) {
        wchar_t parts[8];
        const int length = FoldStringW(MAP_COMPOSITE, &c, 1, parts, static_cast<int>(std::size(parts)));
        bool onlyMarksAfter = length > 1 && !isMark[parts[0]];
        for (int k = 1; k < length && onlyMarksAfter; ++k)
            onlyMarksAfter = isMark[parts[k]];
        if (onlyMarksAfter)
            table[c] = table[parts[0]];
    }
    for (uint32_t unit = 0; unit < 0x10000; ++unit)
        if (isMark[unit])
            table[unit] = 0;
    return table;
}

}  // namespace

const TextFold& SystemTextFold()
{
    static const TextFold fold([table = BuildTable()](char16_t unit) { return table[unit]; });
    return fold;
}
