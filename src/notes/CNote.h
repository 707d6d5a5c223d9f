#pragma once
// One note: its text, look, window rectangle, flags and schedule. The note
// list owns every note; while a note is shown it has one note window.
#include <array>
#include <memory>
#include <cstdint>
#include <string>

#include "core/NoteRect.h"
#include "core/LogFont.h"
#include "notes/NoteIdentity.h"
#include "notes/TextFormatRun.h"

class CArchive;
class CNoteList;
class CNoteWnd;

// The links of the note list, kept in each note so that a note and its place
// are one allocation. Only the list touches them.
class NoteNode {
    friend class CNoteList;
    NoteNode* m_prevNode = nullptr;
    NoteNode* m_nextNode = nullptr;
};

// A note's place in the note list: stable from insertion until removal and
// carried across windows as a message parameter.
using NotePos = NoteNode*;

using NoteTime = int32_t;  // seconds since 1970-01-01 00:00:00 UTC
using ColorRef = uint32_t; // 0x00BBGGRR

constexpr ColorRef kDefaultPaperColor = 0x0080FFFF;  // pale yellow
constexpr ColorRef kDefaultTextColor = 0x00000000;
constexpr int kDefaultNoteWidth = 200;
constexpr int kDefaultNoteHeight = 150;
constexpr size_t kRecurBytes = 50;
inline constexpr const char16_t* kDefaultNoteText = u"(Your text goes here)";
// What the edit controls of a note's text take (their own default, 30,000,
// would silently cut long pastes): as much as a multi-line edit control
// holds; the file stores any length.
constexpr uint32_t kNoteTextLimit = 0x7FFFFFFE;

class CNote : public NoteNode {
public:
    // A new note: a new identity (NoteIdSource), made now by this
    // installation.
    CNote();
    // A note about to be read from a file: it takes its two draws of the
    // default place like any new note, but skips the defaults that the
    // stored record overwrites at once.
    struct ForLoading {};
    explicit CNote(ForLoading);
    virtual ~CNote();
    CNote(const CNote&) = delete;
    CNote& operator=(const CNote&) = delete;

    // Loads fields 1 to 22 from the archive, or stores them, in table order.
    virtual void Serialize(CArchive& ar);

    // Screen resolution used for the default font of new notes; the Windows
    // layer sets it from the screen at start-up (96 until then).
    static void SetScreenLogPixelsY(int dpi);
    // Destroys a note window when its note goes; installed by the Windows
    // layer, so the record itself stays free of window code.
    using WindowDestroyer = void (*)(CNoteWnd*);
    static void SetWindowDestroyer(WindowDestroyer fn);
    // Destroys the note's window, if it has one; the record stays.
    void CloseWindow();
    // A copy of the stored fields (not the window or the list place), made
    // through the file form, so it is exactly what a save and a load give.
    std::unique_ptr<CNote> Clone() const;

    uint16_t m_bSchedDisabled = 1;
    uint32_t m_nSchedKind = 0;
    NoteTime m_tStartTime;
    NoteTime m_tStartDate;
    uint16_t m_bHasEndDate = 0;
    NoteTime m_tEndDate;
    std::array<uint8_t, kRecurBytes> m_recur{};
    uint16_t m_bSchedNew = 1;
    uint16_t m_nNotifyDays = 0;
    uint16_t m_nNotifyHours = 0;
    uint16_t m_nNotifyMinutes = 0;
    uint16_t m_bAlwaysDisplay = 0;
    uint16_t m_bAlarm = 0;
    std::u16string m_strSoundFile;  // UTF-16, like the note's text
    LogFont m_logFont;
    ColorRef m_crText = kDefaultTextColor;
    ColorRef m_crBack = kDefaultPaperColor;
    std::u16string m_strText;       // UTF-16: every character typed or pasted
    uint16_t m_bOnTop = 0;
    uint16_t m_bVisible = 1;
    NoteRect m_rcWindow;
    NoteTime m_tLastShown;
    // Not part of the plain record: kept in the file's trailer, copied by
    // Clone.
    NoteIdentity m_identity;
    // Bold, italic, underline and strike-through over m_strText; kept in
    // the trailer, copied by Clone, merged with the text.
    TextFormatRuns m_formats;

    CNoteWnd* m_pWnd = nullptr;
    NotePos m_pos = nullptr;
    uint32_t m_bInSchedDialog = 0;
    // When a snoozed note comes back (0: not snoozed). Kept in the trailer
    // beside the identity and copied by Clone; never part of the schedule's
    // own fields, which a snooze leaves as they are. Beside the flag above:
    // the pass reads both of every note, from one cache line.
    NoteTime m_tSnoozeUntil = 0;

private:
    void DrawDefaultPlace();
    // Loading: the fields between the strings come in three fixed runs,
    // each checked against the input once.
    void Load(CArchive& ar);

    static int s_logPixelsY;
    static WindowDestroyer s_destroyWindow;
};

// Reads the clock as a stored time value.
NoteTime CurrentNoteTime();
