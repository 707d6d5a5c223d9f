#include "app/InstallationId.h"

#include "framework/CWinAppBase.h"
#include "notes/NoteIdSource.h"
#include "notes/NoteIdText.h"

NoteId ReadInstallationId(const CWinAppBase& app)
{
    if (const auto kept = NoteIdFromText(app.GetProfileString(InstallationIdKeys::kSection, InstallationIdKeys::kKey)))
        return *kept;
    const NoteId made = NoteIdSource::NewId();
    app.WriteProfileString(InstallationIdKeys::kSection, InstallationIdKeys::kKey, NoteIdToText(made));
    return made;
}
