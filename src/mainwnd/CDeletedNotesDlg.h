#pragma once
// "Deleted notes": the bin's notes, newest first, with the date each was
// deleted; the user picks the ones to bring back.
#include <vector>

#include "framework/CDialogBase.h"
#include "notes/DeletedNotesBin.h"

class CDeletedNotesDlg : public CDialogBase {
public:
    explicit CDeletedNotesDlg(const CDeletedNotesBin& bin);

    // After OK: the chosen notes as indexes into the bin's entries, highest
    // first, so that taking them out one after another keeps the rest valid.
    std::vector<size_t> m_chosen;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    const CDeletedNotesBin& m_bin;
};
