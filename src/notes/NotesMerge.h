#pragma once
// Two copies of the program on one notes file (a folder a sync service
// shares between two computers): when the file changed on disk, the notes
// this copy holds are merged with the file's instead of being written over
// it.
//
// A note is known by its id. The comparison is three-way, against the file
// as this copy last read or wrote it (the base), and each field group (text,
// look, place, schedule; NoteFieldGroups.h) is merged on its own:
// - a group changed on one side only takes that side's values; changed on
//   both to one value, that value;
// - changed on both to different values, the look, the place and the
//   schedule take the later change (the notes' change stamps); the text is
//   never thrown away: the note keeps this side's text and the other side's
//   version comes as a note of its own beside it (keepBoth);
// - a note deleted on one side goes on the other only when that side left
//   it as it was in the base; a note with changes there stays, with them;
// - a note missing from the other side's file was deleted there only when
//   a bin (the shared one, or a conflict copy's) holds its id: a sync client
//   that kept the other computer's file and put ours aside leaves out notes
//   that computer never saw, and those stay; likewise a note on disk that
//   this side's bin holds as it was deleted stays deleted, and the file is
//   written again without it (rewrite), so both sides agree;
// - a note added on either side comes to the other once: the same text
//   added on both computers makes two notes, as the users made two;
// - a note whose change stamp on disk is older than the base's is a stale
//   copy a sync service put back, not an undo made over there: it changes
//   nothing, and a file holding one deletes nothing either. Without a base
//   (a conflict copy), a version older than ours that this installation
//   made too is an earlier state of ours, edited since: it neither wins nor
//   comes as a version of its own; one newer than ours made by the same
//   installation that made ours simply wins.
// - a clash both computers met at once (each kept its own text in the note
//   and the other's beside it, as VersionIdOf names it) ends the same on
//   both: the note holds the later change (on a tie, the version whose id
//   orders first), the version beside it the other text, each text once.
//
// Notes without an id (a file of an older version, a reader of the plain
// format, an id section lost on the way) are paired by content as before
// ids existed: by their whole stored form, then a note that goes and a note
// that comes with the same place, else the same text, count as one note
// changed over there.
#include <memory>
#include <utility>
#include <vector>

#include "core/NoteRect.h"
#include "notes/CNote.h"

class CNoteList;
class NoteIdTable;

struct NotesMergePlan {
    std::vector<NotePos> remove;                           // local notes that go
    std::vector<std::pair<NotePos, const CNote*>> update;  // local note, its new form
    std::vector<const CNote*> add;                         // notes that come, in disk order
    // Local notes whose text the other side changed too: the note keeps its
    // own text, the other side's version comes beside it as a new note.
    std::vector<std::pair<NotePos, const CNote*>> keepBoth;
    // Local notes that hold, as the other version of a clash, the very text
    // their original now holds (both computers met the clash at once and
    // kept opposite texts): one text in two notes, so they go, and not into
    // the bin, as nobody deleted anything.
    std::vector<NotePos> sameAsOriginal;
    // The new forms update points to where groups of both sides were joined.
    std::vector<std::unique_ptr<CNote>> joined;
    // The other side's file holds notes that were deleted: it is written
    // again from the merged list even when nothing here changed.
    bool rewrite = false;

    bool Empty() const
    {
        return remove.empty() && update.empty() && add.empty() && keepBoth.empty() && sameAsOriginal.empty() &&
               !rewrite;
    }
};

// What local must do to hold the merge of itself and remote, both compared
// with base. The plan points into local, remote and itself.
// binned: the ids of the deleted notes both sides' bins hold (null: none),
// each with the fingerprint (NoteChangeStamps::Fingerprint) of the note as
// it went into the bin.
NotesMergePlan PlanNotesMerge(const CNoteList& base, const CNoteList& local, const CNoteList& remote,
                              const NoteIdTable* binned = nullptr);

// The id of the other side's version of a note whose text both sides
// changed: the same on every computer that keeps that version of that note,
// so that two computers resolving one clash make one note, not two.
NoteId VersionIdOf(const NoteId& original, const CNote& version);

// The fingerprint of a note's stored form, as binned holds it.
uint64_t StoredFingerprint(const CNote& note);

// Where the other side's version of a note goes: beside the original (right,
// else left, else below, else above) inside the work area of the original's
// screen, so that both are seen whole; when the screen has no room for that,
// moved down and right by a title bar's height, still on that screen.
NoteRect PlaceBesideOriginal(const NoteRect& original, const NoteRect& workArea);

// Where the other side's version of a note goes when other notes are about:
// beside the original as above, but never exactly over another note (the
// version an earlier clash on the same note put there, say), which would
// hide one of the two. From the spot beside the original it steps down and
// right, wrapping inside the work area; only when every such spot is taken
// does it go past the screen's edge. The same notes give the same place.
// occupied: the rectangles of the notes already there, the original's too.
NoteRect PlaceVersion(const NoteRect& original, const NoteRect& workArea, const std::vector<NoteRect>& occupied);
