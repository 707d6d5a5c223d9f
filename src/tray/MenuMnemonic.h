#pragma once
// Menu mnemonics: the letter after "&" in an item's text ("E&xit" is
// chosen with X). "&&" stands for a plain ampersand and marks nothing.
#include <string_view>
#include <vector>

// The mnemonic of a menu text in upper case, or 0 when it has none.
char MenuMnemonic(std::string_view text);

// The index of the one text whose mnemonic is key (compared in upper case);
// -1 when no text or more than one text has it.
int FindMnemonicItem(const std::vector<std::string_view>& texts, char key);
