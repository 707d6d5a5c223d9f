#pragma once
// The words reminders show a user: a note's first line, a clock time, how a
// schedule repeats, and the tray balloon of the notes one pass brought up.
#include <span>
#include <string>

#include "notes/CNote.h"

// The note's first non-empty line, trimmed and cut to maxChars with an
// ellipsis; "(empty note)" when there is none.
std::u16string FirstLineOf(const CNote& note, size_t maxChars);

// "09:05": the local clock time of t; empty when t has no local reading.
std::u16string ClockTextOf(int64_t t);

// "Once", "Daily", "Every 3 days", "Weekdays", "Weekly", "Every 2 weeks",
// "Monthly": how the note's schedule repeats.
std::u16string RepeatTextOf(const CNote& note);

struct ReminderBalloonText {
    std::u16string title;
    std::u16string text;
};

// One balloon for every note a pass brought up: one note's first line and,
// below it, the time of its schedule; or the count of notes and a line for
// each that fits the balloon.
ReminderBalloonText MakeReminderBalloon(std::span<const CNote* const> notes);
