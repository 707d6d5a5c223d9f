#pragma once
// The text rules of a dialog's number fields, apart from the dialog: what
// reads as an integer, and the framework's messages when a field refuses.
#include <string>

inline constexpr const char* kEnterIntegerMessage = "Please enter an integer.";
// "%1" and "%2" stand for the bounds.
inline constexpr const char* kEnterIntegerRangeMessage = "Please enter an integer between %1 and %2.";
std::string IntegerRangeMessage(int minValue, int maxValue);

// Decimal text with an optional sign and blanks around it, fitting an int.
// False (value untouched) for anything else.
bool ParseIntField(const std::string& text, int& value);
