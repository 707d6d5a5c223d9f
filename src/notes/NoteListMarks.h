#pragma once
// Bulleted lists and checklists in a note are characters of its text: a
// line starting with "• " is a list item, "☐ " an open box, "☑ " a ticked
// one. So the note list, Find, the merge and every reader of the file see
// them as they are. These are the rules for the keys that make and end them.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class NoteListMarks {
public:
    enum class Mark { kNone, kBullet, kBox, kTicked };
    static constexpr size_t kMarkLength = 2;  // the sign and a space

    static Mark MarkOf(std::u16string_view line);
    // "• ", "☐ ", "☑ ", or nothing.
    static std::u16string_view TextOf(Mark mark);
    // A box ticked or unticked; any other mark stays.
    static Mark Toggled(Mark mark);

    // What a list command does to the lines it covers: every line gets the
    // mark (a line with another list mark loses that one); when all of them
    // have it already, they all lose it. For each line, in order: how many
    // units at its start go, and what comes in their place.
    struct LineStart {
        size_t remove = 0;
        std::u16string_view insert;
    };
    static std::vector<LineStart> ListCommand(const std::vector<Mark>& lines, Mark wanted);

    // Enter with the caret at the end of a list item: a new item (a ticked
    // one starts open), or, on an item with nothing after its mark, the end
    // of the list: its mark goes and no line is added.
    struct Enter {
        bool handled = false;     // false: Enter is an ordinary Enter here
        bool endsList = false;    // remove the mark, insert nothing
        std::u16string_view next; // else: after the line break, this
    };
    static Enter OnEnter(std::u16string_view line, size_t caretInLine);

    // True when a space typed at caretInLine turns "[]" before it into a box.
    static bool MakesBox(std::u16string_view line, size_t caretInLine);
};
