#pragma once
// The look new notes get: a 12-point Arial on the screen's default paper
// until the user makes a note's look the default ("Use as default for new
// notes" in its menu), which the settings file keeps from then on.
#include "notes/NoteStyle.h"

class NewNoteStyleSetting {
public:
    // screenColorCount: what the screen reports as NUMCOLORS; the paper
    // colour depends on it.
    explicit NewNoteStyleSetting(int screenColorCount);

    // The style the settings file keeps, where it has one.
    void Load();
    const NoteStyle& Style() const { return m_style; }
    // The note's look becomes the default, in the settings file too.
    void UseFrom(const CNote& note);
    void ApplyTo(CNote& note) const;

private:
    NoteStyle m_style;
};
