#include "notewnd/NoteMenu.h"

#include <optional>
#include <vector>

#include "framework/ScopedHandles.h"
#include "notewnd/NoteLookDialogs.h"
#include "res/resource.h"

void TrackNoteMenu(HWND owner, const CNote* note, uint8_t formats)
{
    std::vector<UniqueBitmap> swatches;  // made before the menu, so they outlive it
    UniqueMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_NOTE_MENU)));
    HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
    if (!popup)
        return;
    if (note && note->m_bOnTop)
        CheckMenuItem(popup, ID_NOTE_ONTOP, MF_BYCOMMAND | MF_CHECKED);
    for (int id = ID_NOTE_FORMAT_FIRST; id <= ID_NOTE_FORMAT_LAST; ++id) {
        if (formats & (1 << (id - ID_NOTE_FORMAT_FIRST)))
            CheckMenuItem(popup, id, MF_BYCOMMAND | MF_CHECKED);
    }
    PrepareColourMenu(popup, note ? std::optional(note->m_crBack) : std::nullopt, swatches);
    SetForegroundWindow(owner);
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, at.x, at.y, 0, owner, nullptr);
}
