// A picker's reading as the note keeps it, at both ends of what a time value
// holds: the part the schedule uses (date, or clock time) must survive in
// every zone of the suite.
#include <gtest/gtest.h>

#include "schedule/PickerValue.h"

TEST(PickerValue, KeepsThePartThatCounts)
{
    const struct {
        const char* label;
        int y, mo, d, h, mi;
        PickerPart part;
        bool storable;
    } rows[] = {
        {"an ordinary date", 2024, 6, 12, 14, 5, PickerPart::Date, true},
        {"an ordinary time", 2024, 6, 12, 14, 5, PickerPart::TimeOfDay, true},
        // Past the last second of a time value in zones west of UTC.
        {"the picker's last day, in the evening", 2038, 1, 18, 23, 30, PickerPart::Date, true},
        {"an evening time on the picker's last day", 2038, 1, 18, 23, 30, PickerPart::TimeOfDay, true},
        {"a time on a day past the last", 2038, 1, 19, 23, 30, PickerPart::TimeOfDay, true},
        {"the first day of 1970 at midnight", 1970, 1, 1, 0, 0, PickerPart::Date, true},
        {"a time on the last day of 1969", 1969, 12, 31, 12, 0, PickerPart::TimeOfDay, true},
        {"a date past any zone's last day", 2038, 1, 20, 0, 0, PickerPart::Date, false},
        {"a date before any zone's first day", 1969, 12, 30, 12, 0, PickerPart::Date, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        LocalDateTime reading;
        reading.year = row.y;
        reading.month = row.mo;
        reading.day = row.d;
        reading.hour = row.h;
        reading.minute = row.mi;
        const std::optional<NoteTime> t = NoteTimeForPicker(reading, row.part);
        ASSERT_EQ(t.has_value(), row.storable);
        if (!t)
            continue;
        LocalDateTime back;
        ASSERT_TRUE(ToLocal(*t, back));
        if (row.part == PickerPart::Date) {
            EXPECT_EQ(DateKey(back), DateKey(reading));
        } else {
            EXPECT_EQ(back.hour, row.h);
            EXPECT_EQ(back.minute, row.mi);
        }
    }
}
