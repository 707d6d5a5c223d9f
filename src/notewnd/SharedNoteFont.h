#pragma once
// A font shared by every note window showing the same description: a
// thousand notes in the new-note look hold one font object between them,
// not one each. The object is deleted when its last holder lets go, so a
// note whose font changes never takes another note's font with it.
#include <windows.h>

#include <memory>

class SharedNoteFont {
public:
    SharedNoteFont() = default;
    // Holds the font for the description, made when no one holds it yet;
    // Get() is null when it could not be made.
    explicit SharedNoteFont(const LOGFONTA& description);

    HFONT Get() const;

private:
    struct Entry;
    std::shared_ptr<const Entry> m_entry;
};
