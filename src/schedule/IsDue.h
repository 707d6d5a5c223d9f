#pragma once
// The due test: whether a note's schedule brings it up at this moment. It
// looks only at the present, today's date and the day the note was last
// brought up; there is no next-occurrence computation and no catch-up.
#include <cstdint>
#include <optional>

#include "notes/CNote.h"
#include "schedule/LocalTime.h"

// "Now" and "today" of one scheduler pass with everything the due test asks
// of them worked out once, so testing each note costs no more than its own
// fields need.
struct DueClock {
    // False when now cannot be read as a local time: nothing is due then.
    bool valid = false;
    int64_t now = 0;
    int64_t today = 0;       // today as given: the end of spans from the day last shown
    int64_t todayStart = 0;  // the first moment of today's date
    LocalDateTime nowLocal;
    LocalDateTime todayLocal;
    int64_t todayEnd = 0;        // the first moment of tomorrow
    int64_t markYearStart = 0;   // the local year 1980, the "confirmed, not yet shown" mark
    int64_t markYearEnd = 0;

    // Today taken as the local midnight of now's date.
    static DueClock At(NoteTime now);
    // With today given by the caller; only its local date is used, except as
    // the end of the spans measured from the day a note was last shown.
    static DueClock At(NoteTime now, NoteTime today);
};

// Local midnight of now's date (the first moment of that day); empty when now
// cannot be read as a local time.
std::optional<NoteTime> LocalToday(NoteTime now);

// 1980-01-01 00:00:00 local time: stored as the day last shown when a
// schedule is confirmed, it marks the note as not yet brought up since.
std::optional<NoteTime> ConfirmedScheduleMark();

// True when the note is due. Pure: reads the note and changes nothing.
bool IsDue(const CNote& note, const DueClock& clock);
bool IsDue(const CNote& note, NoteTime now, NoteTime today);
