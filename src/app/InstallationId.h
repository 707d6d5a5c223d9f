#pragma once
// This installation's id, which every note changed here carries as the
// computer that changed it last: made once, at the first start, and kept in
// the settings file (Velumo.ini, [Sync] Installation, 32 hexadecimal digits).
#include "notes/NoteIdentity.h"

class CWinAppBase;

struct InstallationIdKeys {
    static constexpr const char* kSection = "Sync";
    static constexpr const char* kKey = "Installation";
};

// The id in the application's settings file. A missing or odd value (not 32
// hexadecimal digits) is replaced by a new id, written back; when the file
// cannot be written, the new id still serves this run.
NoteId ReadInstallationId(const CWinAppBase& app);
