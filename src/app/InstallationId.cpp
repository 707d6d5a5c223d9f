#include "app/InstallationId.h"

#include <string>

#include "notes/NoteIdSource.h"
#include "notes/NoteIdText.h"
#include "settings/CRegistry.h"

NoteId ReadInstallationId(const char* keyPath)
{
    CRegistry key;
    key.Open(keyPath);
    std::string stored;
    key.QueryString(InstallationIdKeys::kValue, stored);
    if (const auto kept = NoteIdFromText(stored))
        return *kept;
    const NoteId made = NoteIdSource::NewId();
    key.SetString(InstallationIdKeys::kValue, NoteIdToText(made));
    return made;
}
