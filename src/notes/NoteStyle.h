#pragma once
// The look of a note (paper, ink and font) and its keeping in the settings
// file as text, so a user can read and mend it there. Every value that is
// missing, damaged or out of range falls back to the given default on its
// own; the rest of the style is kept.
#include <functional>
#include <string>

#include "notes/CNote.h"

struct NoteStyle {
    ColorRef back = kDefaultPaperColor;
    ColorRef text = kDefaultTextColor;
    LogFont font;
    bool operator==(const NoteStyle&) const = default;
};

// The settings-file section that keeps the look of new notes.
constexpr const char* kStyleSection = "Style";

// The papers offered in a note's menu, in menu order.
struct PaperChoice {
    ColorRef color;
    const char* name;
};
constexpr int kPaperChoiceCount = 6;
extern const PaperChoice kPaperChoices[kPaperChoiceCount];

// Reads a key's text; an empty text means the key is missing.
using StyleReader = std::function<std::string(const char* key)>;
using StyleWriter = std::function<void(const char* key, const std::string& value)>;

NoteStyle ReadNoteStyle(const StyleReader& read, const NoteStyle& defaults);
void WriteNoteStyle(const StyleWriter& write, const NoteStyle& style);

// A font height (logical units, negative for a character height) that a
// reader can read: 6 to 144 points at 96 dots per inch.
bool IsReadableFontHeight(int32_t height);
