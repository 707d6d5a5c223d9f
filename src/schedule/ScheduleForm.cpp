#include "schedule/ScheduleForm.h"

#include "schedule/RecurrenceBlock.h"

namespace {

// The days and weeks fields are read as unsigned numbers cut to 16 bits.
int16_t Low16(int value)
{
    return static_cast<int16_t>(static_cast<uint16_t>(value));
}

}  // namespace

const char* ScheduleFormWarning(const ScheduleForm& form, NoteTime today)
{
    using namespace ScheduleWarning;
    if (form.hasEndDate) {
        if (form.startDate < today && form.kind == 0)
            return kStartBeforeToday;
        if (form.endDate < form.startDate)
            return kEndBeforeStart;
    }
    switch (form.kind) {
    case 1:
        if (form.every && (Low16(form.everyDays) < 1 || Low16(form.everyDays) > 99))
            return kDays;
        break;
    case 2:
        if (Low16(form.everyWeeks) < 1 || Low16(form.everyWeeks) > 52)
            return kWeeks;
        if (form.dayMask == 0)
            return kNoDay;
        break;
    case 3:
        if (form.monthMask == 0)
            return kNoMonth;
        break;
    default:
        break;
    }
    return nullptr;
}

void ApplyScheduleForm(const ScheduleForm& form, CNote& note)
{
    if (form.hasEndDate) {
        note.m_bHasEndDate = 1;
        note.m_tEndDate = form.endDate;
    } else {
        note.m_bHasEndDate = 0;
    }
    note.m_tStartDate = form.startDate;
    note.m_tStartTime = form.startTime;
    note.m_nSchedKind = form.kind;

    RecurrenceBlock block(note.m_recur);
    switch (form.kind) {
    case 1:
        block.SetDaily(Low16(form.everyDays), !form.every);
        break;
    case 2:
        block.SetWeekly(Low16(form.everyWeeks), form.dayMask);
        break;
    case 3:
        if (form.onThe)
            block.SetMonthlyByWeekday(form.ordinal, static_cast<int16_t>(form.weekday), form.monthMask);
        else
            block.SetMonthlyByDay(static_cast<int16_t>(form.monthDay), form.monthMask);
        break;
    default:
        break;
    }
}
