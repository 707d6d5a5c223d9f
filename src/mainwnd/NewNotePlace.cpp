#include "mainwnd/NewNotePlace.h"

#include <vector>

#include "framework/DisplayScale.h"
#include "framework/MonitorWorkArea.h"
#include "framework/WindowDpi.h"
#include "mainwnd/NotePlacement.h"

NoteRect NewNotePlace(const CNoteList& notes, const NoteRect& wanted)
{
    std::vector<NoteRect> shown;
    for (NotePos p = notes.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
        const CNote* note = notes.GetAt(p);
        if (note->m_bVisible)
            shown.push_back(note->m_rcWindow);
    }
    // The work area is in the pixels of the screen the note comes up on; the
    // steps and the places are 96-DPI units like every stored place.
    const DisplayScale scale(DpiForStoredRect(wanted));
    const NoteRect pixels = scale.ToPixels(wanted);
    const RECT area = WorkAreaUnder(RECT{pixels.left, pixels.top, pixels.right, pixels.bottom})
                          .value_or(WorkAreaNear(POINT{pixels.left, pixels.top}));
    return PlaceClearOfNotes(wanted, shown, scale.ToBase(NoteRect{area.left, area.top, area.right, area.bottom}));
}
