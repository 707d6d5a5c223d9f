#include "mainwnd/MainWndModel.h"

#include <algorithm>

ColorRef DefaultNoteBackColor(int screenColorCount)
{
    return screenColorCount == 256 ? 0x0000FFFF : kDefaultPaperColor;
}

std::u16string RowTextOf(const std::u16string& noteText, size_t length)
{
    std::u16string text = noteText.substr(0, length);
    if (text.size() < noteText.size() && !text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF)
        text.pop_back();
    std::replace_if(text.begin(), text.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; }, u' ');
    return text;
}

int VisImageOf(const CNote& note)
{
    return note.m_bVisible ? kImageTicked : kImageUnticked;
}

int SchdImageOf(const CNote& note)
{
    return note.m_bSchedDisabled ? kImageBlank : kImageClock;
}

bool IsInDragBand(int x, int y)
{
    return x >= 1 && x < 659 && y >= 1 && y < 58;
}

int RowToSelectAfterDelete(int highestDeletedRow, int rowsLeft)
{
    return std::min(highestDeletedRow, rowsLeft - 1);
}

bool SaveFailureNotice::ShouldTell(SaveOutcome outcome)
{
    // Nothing to save says nothing about the file: the streak goes on.
    if (outcome == SaveOutcome::kNothingToSave)
        return false;
    const bool startsStreak = outcome == SaveOutcome::kFailed && !m_bFailing;
    m_bFailing = outcome == SaveOutcome::kFailed;
    return startsStreak;
}
