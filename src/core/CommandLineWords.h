#pragma once
// The words of a command line as the system's own splitting gives them
// (CommandLineToArgvW), without the library that holds it: that library and
// what it pulls in cost every start of the program a good share of its time,
// for a few words read once.
#include <string>
#include <string_view>
#include <vector>

// The arguments after the program's name. The name ends at its closing quote
// or at the first blank, with no escapes; after it, blanks (space, tab) part
// the words unless quoted, 2n backslashes before a quote give n and the quote
// opens or closes, 2n+1 give n and a plain quote, and a quote doubled inside
// quotes is a plain one.
std::vector<std::u16string> CommandLineArguments(std::u16string_view line);
