#pragma once
// A shortcut field (the common controls' hotkey control) that reports every
// change of what it holds to its dialog as EN_CHANGE. The control itself says
// nothing when a key empties it (Backspace, Delete, Space, Tab, Enter, Esc
// show "None" silently), so a dialog relying on it alone keeps showing what
// it said of the shortcut before.
#include "framework/CSubclassedWindow.h"

class CHotkeyField : public CSubclassedWindow {
protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
