#include "notes/NoteListMarks.h"

#include <algorithm>

NoteListMarks::Mark NoteListMarks::MarkOf(std::u16string_view line)
{
    if (line.size() < kMarkLength || line[1] != u' ')
        return Mark::kNone;
    switch (line[0]) {
    case u'\u2022': return Mark::kBullet;
    case u'\u2610': return Mark::kBox;
    case u'\u2611': return Mark::kTicked;
    default: return Mark::kNone;
    }
}

std::u16string_view NoteListMarks::TextOf(Mark mark)
{
    switch (mark) {
    case Mark::kBullet: return u"\u2022 ";
    case Mark::kBox: return u"\u2610 ";
    case Mark::kTicked: return u"\u2611 ";
    case Mark::kNone: break;
    }
    return {};
}

NoteListMarks::Mark NoteListMarks::Toggled(Mark mark)
{
    return mark == Mark::kBox ? Mark::kTicked : mark == Mark::kTicked ? Mark::kBox : mark;
}

std::vector<NoteListMarks::LineStart> NoteListMarks::ListCommand(const std::vector<Mark>& lines, Mark wanted)
{
    // A ticked box counts as being on a checklist.
    const auto has = [wanted](Mark m) { return m == wanted || (wanted == Mark::kBox && m == Mark::kTicked); };
    const bool all = !lines.empty() && std::all_of(lines.begin(), lines.end(), has);
    std::vector<LineStart> starts;
    starts.reserve(lines.size());
    for (Mark mark : lines) {
        const size_t markLength = mark == Mark::kNone ? 0 : kMarkLength;
        if (all)
            starts.push_back({markLength, {}});
        else if (has(mark))
            starts.push_back({0, {}});
        else
            starts.push_back({markLength, TextOf(wanted)});
    }
    return starts;
}

NoteListMarks::Enter NoteListMarks::OnEnter(std::u16string_view line, size_t caretInLine)
{
    const Mark mark = MarkOf(line);
    if (mark == Mark::kNone || caretInLine != line.size() || caretInLine < kMarkLength)
        return {};
    if (line.size() == kMarkLength)
        return {true, true, {}};
    return {true, false, TextOf(mark == Mark::kTicked ? Mark::kBox : mark)};
}

bool NoteListMarks::MakesBox(std::u16string_view line, size_t caretInLine)
{
    return caretInLine == 2 && line.substr(0, 2) == u"[]";
}
