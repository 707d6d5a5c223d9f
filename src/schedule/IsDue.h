#pragma once
// The due test: whether a note's schedule brings it up at this moment. It
// looks only at the present, today's date and the day the note was last
// brought up (NextOccurrence.h asks it about the days ahead). The one catch-up is a
// one-time schedule whose moment passed while nothing ran: it still comes up
// once, later.
#include <cstdint>
#include <optional>

#include "notes/CNote.h"
#include "core/LocalTime.h"

// "Now" and "today" of one scheduler pass with everything the due test asks
// of them worked out once, so testing each note costs no more than its own
// fields need.
struct DueClock {
    // False when now cannot be read as a local time: nothing is due then.
    bool valid = false;
    int64_t now = 0;
    int64_t today = 0;       // today as given: what the pass stamps on a note it brings up
    int64_t todayStart = 0;  // the first moment of today's date
    LocalDateTime nowLocal;
    LocalDateTime todayLocal;
    int64_t todayDay = 0;        // today's date as a day number (DayNumber)
    int64_t todayEnd = 0;        // the first moment of tomorrow
    int64_t markYearStart = 0;   // the local year 1980, the "confirmed, not yet shown" mark
    int64_t markYearEnd = 0;
    // From steadyFrom up to todayEnd the local clock keeps one distance from
    // UTC, steadyOffset: the date of a moment in that span needs no
    // conversion through the runtime.
    int64_t steadyFrom = 0;
    int64_t steadyOffset = 0;

    // Today taken as the local midnight of now's date.
    static DueClock At(NoteTime now);
    // With today given by the caller; only its local date is used, except as
    // the value stamped on a note that comes up.
    static DueClock At(NoteTime now, NoteTime today);

    // The day number of t's local date; empty when t has no local reading.
    std::optional<int64_t> DayOf(int64_t t) const;
};

// Local midnight of now's date (the first moment of that day); empty when now
// cannot be read as a local time.
std::optional<NoteTime> LocalToday(NoteTime now);

// 1980-01-01 00:00:00 local time: stored as the day last shown when a
// schedule is confirmed, it marks the note as not yet brought up since.
std::optional<NoteTime> ConfirmedScheduleMark();

// The moment the note's schedule counts from: the start date at the start
// time, less the lead time; reading receives its local clock reading. Empty
// when the fields have no local reading.
std::optional<int64_t> OccurrenceMoment(const CNote& note, LocalDateTime& reading);

// True when the note is due. Pure: reads the note and changes nothing.
bool IsDue(const CNote& note, const DueClock& clock);
bool IsDue(const CNote& note, NoteTime now, NoteTime today);
