#pragma once
// Reads rich text (RTF) down to what a note keeps of it: the plain text, its
// line breaks as CR LF, and runs of bold, italic, underline and
// strike-through. Fonts, sizes, colours, pictures, embedded objects and
// every other destination are skipped whole; table cells become tabs and
// rows lines. Never fails: what it cannot read is left out.
#include <string>
#include <string_view>

#include "notes/TextFormatRun.h"

class RtfRunReader {
public:
    struct Result {
        std::u16string text;
        TextFormatRuns runs;  // the stretches whose formats are not plain's
    };
    // plain: the formats of text that needs no run (those of the note's own
    // font); a stretch with other formats, none included, gets a run.
    static Result Read(std::string_view rtf, uint8_t plain = 0);
};
