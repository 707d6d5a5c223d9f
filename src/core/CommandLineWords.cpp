#include "core/CommandLineWords.h"

namespace {

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

// Past the program's name and the blanks after it.
size_t FirstArgumentAt(std::u16string_view line)
{
    size_t at = 0;
    if (!line.empty() && line[0] == u'"') {
        const size_t close = line.find(u'"', 1);
        at = close == std::u16string_view::npos ? line.size() : close + 1;
    } else {
        while (at < line.size() && !IsBlank(line[at]))
            ++at;
    }
    while (at < line.size() && IsBlank(line[at]))
        ++at;
    return at;
}

}  // namespace

std::vector<std::u16string> CommandLineArguments(std::u16string_view line)
{
    std::vector<std::u16string> words;
    size_t at = FirstArgumentAt(line);
    if (at >= line.size())
        return words;
    words.emplace_back();
    // Quotes seen in the current run, as the system counts them: 1 inside
    // quotes, 0 outside; a third quote in a row is a plain one.
    int quotes = 0;
    size_t backslashes = 0;
    while (at < line.size()) {
        const char16_t c = line[at];
        if (IsBlank(c) && quotes == 0) {
            while (at < line.size() && IsBlank(line[at]))
                ++at;
            if (at < line.size())
                words.emplace_back();
            backslashes = 0;
            continue;
        }
        std::u16string& word = words.back();
        if (c == u'\\') {
            word += c;
            ++backslashes;
            ++at;
            continue;
        }
        if (c == u'"') {
            // Each pair of backslashes before a quote stands for one.
            word.resize(word.size() - backslashes / 2);
            if (backslashes % 2 == 0) {
                ++quotes;
            } else {
                word.back() = u'"';
            }
            backslashes = 0;
            for (++at; at < line.size() && line[at] == u'"'; ++at) {
                if (++quotes == 3) {
                    word += u'"';
                    quotes = 0;
                }
            }
            if (quotes == 2)
                quotes = 0;
            continue;
        }
        word += c;
        backslashes = 0;
        ++at;
    }
    return words;
}
