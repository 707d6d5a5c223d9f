#pragma once
// What the About box says, composed without a window.
#include <string>

// "Velumo 2.00": the product name as the About box, the Run entry and the
// window texts give it.
constexpr const char* kProductName = "Velumo 2.00";
// The product's home page, where the About box's link leads.
constexpr const char* kHomePageUrl = "https://www.tarkwen.com/velumo/";

// The About box's description: a heading line, then a question and a
// paragraph about the product, lines separated by "\r\n" as an edit control
// needs them.
std::string ComposeAboutText();
