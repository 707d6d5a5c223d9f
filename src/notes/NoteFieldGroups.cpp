#include "notes/NoteFieldGroups.h"

namespace {

bool SameSchedule(const CNote& a, const CNote& b)
{
    return a.m_bSchedDisabled == b.m_bSchedDisabled && a.m_nSchedKind == b.m_nSchedKind &&
           a.m_tStartTime == b.m_tStartTime && a.m_tStartDate == b.m_tStartDate &&
           a.m_bHasEndDate == b.m_bHasEndDate && a.m_tEndDate == b.m_tEndDate && a.m_recur == b.m_recur &&
           a.m_bSchedNew == b.m_bSchedNew && a.m_nNotifyDays == b.m_nNotifyDays &&
           a.m_nNotifyHours == b.m_nNotifyHours && a.m_nNotifyMinutes == b.m_nNotifyMinutes &&
           a.m_bAlwaysDisplay == b.m_bAlwaysDisplay && a.m_bAlarm == b.m_bAlarm &&
           a.m_strSoundFile == b.m_strSoundFile && a.m_tLastShown == b.m_tLastShown &&
           a.m_tSnoozeUntil == b.m_tSnoozeUntil;
}

void CopySchedule(CNote& to, const CNote& from)
{
    to.m_bSchedDisabled = from.m_bSchedDisabled;
    to.m_nSchedKind = from.m_nSchedKind;
    to.m_tStartTime = from.m_tStartTime;
    to.m_tStartDate = from.m_tStartDate;
    to.m_bHasEndDate = from.m_bHasEndDate;
    to.m_tEndDate = from.m_tEndDate;
    to.m_recur = from.m_recur;
    to.m_bSchedNew = from.m_bSchedNew;
    to.m_nNotifyDays = from.m_nNotifyDays;
    to.m_nNotifyHours = from.m_nNotifyHours;
    to.m_nNotifyMinutes = from.m_nNotifyMinutes;
    to.m_bAlwaysDisplay = from.m_bAlwaysDisplay;
    to.m_bAlarm = from.m_bAlarm;
    to.m_strSoundFile = from.m_strSoundFile;
    to.m_tLastShown = from.m_tLastShown;
    to.m_tSnoozeUntil = from.m_tSnoozeUntil;
}

}  // namespace

bool SameFieldGroup(const CNote& a, const CNote& b, NoteFieldGroup group)
{
    switch (group) {
    case NoteFieldGroup::kText: return a.m_strText == b.m_strText && a.m_formats == b.m_formats;
    case NoteFieldGroup::kLook:
        return a.m_logFont == b.m_logFont && a.m_crText == b.m_crText && a.m_crBack == b.m_crBack;
    case NoteFieldGroup::kPlace:
        return a.m_rcWindow == b.m_rcWindow && a.m_bOnTop == b.m_bOnTop && a.m_bVisible == b.m_bVisible;
    case NoteFieldGroup::kSchedule: return SameSchedule(a, b);
    }
    return false;
}

bool SameFields(const CNote& a, const CNote& b)
{
    for (NoteFieldGroup group : kAllNoteFieldGroups) {
        if (!SameFieldGroup(a, b, group))
            return false;
    }
    return true;
}

void CopyFieldGroup(CNote& to, const CNote& from, NoteFieldGroup group)
{
    switch (group) {
    case NoteFieldGroup::kText:
        to.m_strText = from.m_strText;
        to.m_formats = from.m_formats;
        break;
    case NoteFieldGroup::kLook:
        to.m_logFont = from.m_logFont;
        to.m_crText = from.m_crText;
        to.m_crBack = from.m_crBack;
        break;
    case NoteFieldGroup::kPlace:
        to.m_rcWindow = from.m_rcWindow;
        to.m_bOnTop = from.m_bOnTop;
        to.m_bVisible = from.m_bVisible;
        break;
    case NoteFieldGroup::kSchedule: CopySchedule(to, from); break;
    }
}
