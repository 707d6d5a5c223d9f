#include "schedule/ReminderText.h"

#include "core/LocalTime.h"
#include "schedule/RecurrenceBlock.h"

namespace {

// What the shell shows of a balloon's text at most.
constexpr size_t kBalloonChars = 255;
constexpr size_t kBalloonLineChars = 60;

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t';
}

std::u16string Number(int n)
{
    std::u16string digits;
    for (const char c : std::to_string(n))
        digits += static_cast<char16_t>(c);
    return digits;
}

// "First line, 09:00" for a note with a schedule (the time on a line of its
// own for a lone note, so that a narrow balloon still shows it); the line
// alone otherwise (a note snoozed without one).
std::u16string BalloonLine(const CNote& note, const char16_t* beforeTime)
{
    std::u16string line = FirstLineOf(note, kBalloonLineChars);
    if (!note.m_bSchedDisabled) {
        const std::u16string at = ClockTextOf(note.m_tStartTime);
        if (!at.empty())
            line += beforeTime + at;
    }
    return line;
}

}  // namespace

std::u16string FirstLineOf(const CNote& note, size_t maxChars)
{
    const std::u16string& text = note.m_strText;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find_first_of(u"\r\n", at);
        if (end == std::u16string::npos)
            end = text.size();
        size_t first = at;
        size_t last = end;
        while (first < last && IsSpace(text[first]))
            ++first;
        while (last > first && IsSpace(text[last - 1]))
            --last;
        if (first < last) {
            if (last - first <= maxChars)
                return text.substr(first, last - first);
            return text.substr(first, maxChars > 0 ? maxChars - 1 : 0) + u"\u2026";
        }
        at = end + 1;
    }
    return u"(empty note)";
}

std::u16string ClockTextOf(int64_t t)
{
    LocalDateTime local;
    if (!ToLocal(t, local))
        return {};
    const auto twoDigits = [](int n) { return (n < 10 ? u"0" : u"") + Number(n); };
    return twoDigits(local.hour) + u":" + twoDigits(local.minute);
}

std::u16string RepeatTextOf(const CNote& note)
{
    const RecurrenceView recur(note.m_recur);
    switch (note.m_nSchedKind) {
    case 1:
        if (recur.Weekdays())
            return u"Weekdays";
        return recur.EveryDays() > 1 ? u"Every " + Number(recur.EveryDays()) + u" days" : u"Daily";
    case 2: return recur.EveryWeeks() > 1 ? u"Every " + Number(recur.EveryWeeks()) + u" weeks" : u"Weekly";
    case 3: return u"Monthly";
    default: return u"Once";
    }
}

ReminderBalloonText MakeReminderBalloon(std::span<const CNote* const> notes)
{
    ReminderBalloonText balloon{u"Reminder", {}};
    if (notes.size() == 1) {
        balloon.text = BalloonLine(*notes[0], u"\n");
        return balloon;
    }
    balloon.text = Number(static_cast<int>(notes.size())) + u" notes are due";
    for (const CNote* note : notes) {
        const std::u16string line = u"\n" + BalloonLine(*note, u", ");
        // The count says how many there are; the lines that do not fit are
        // left out whole rather than cut in the middle.
        if (balloon.text.size() + line.size() > kBalloonChars)
            break;
        balloon.text += line;
    }
    return balloon;
}
