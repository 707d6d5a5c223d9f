#pragma once
// This installation's id, which every note changed here carries as the
// computer that changed it last: made once, at the first start, and kept in
// the user's registry (HKCU\Software\Velumo\Sync, Installation, 32
// hexadecimal digits). Not in Velumo.ini beside the program: two copies run
// from one folder, or a program folder synced whole, would share one id, and
// each would take the other's changes for its own earlier ones.
#include "notes/NoteIdentity.h"

struct InstallationIdKeys {
    static constexpr const char* kKeyPath = "Software\\Velumo\\Sync";
    static constexpr const char* kValue = "Installation";
};

// The id under HKEY_CURRENT_USER\keyPath. A missing or odd value (not 32
// hexadecimal digits) is replaced by a new id, written back; when the key
// cannot be written, the new id still serves this run.
NoteId ReadInstallationId(const char* keyPath = InstallationIdKeys::kKeyPath);
