#include "notewnd/SharedNoteFont.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

struct SharedNoteFont::Entry {
    Entry(const LOGFONTA& made, HFONT object) : description(made), font(object) {}
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;
    ~Entry() { DeleteObject(font); }

    const LOGFONTA description;
    const HFONT font;
};

namespace {

// Two descriptions make the same font: every field, and the face name up
// to its end (what follows it is not part of the description).
bool SameDescription(const LOGFONTA& a, const LOGFONTA& b)
{
    return std::memcmp(&a, &b, offsetof(LOGFONTA, lfFaceName)) == 0 &&
           std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

}  // namespace

SharedNoteFont::SharedNoteFont(const LOGFONTA& description)
{
    // A few looks in use at a time, usually one: a list is quicker than a
    // map. The list does not hold the fonts; their holders do.
    static std::vector<std::weak_ptr<const Entry>> entries;
    std::erase_if(entries, [](const auto& entry) { return entry.expired(); });
    for (const auto& known : entries) {
        if (auto entry = known.lock(); entry && SameDescription(entry->description, description)) {
            m_entry = std::move(entry);
            return;
        }
    }
    if (const HFONT font = CreateFontIndirectA(&description)) {
        m_entry = std::make_shared<const Entry>(description, font);
        entries.push_back(m_entry);
    }
}

HFONT SharedNoteFont::Get() const
{
    return m_entry ? m_entry->font : nullptr;
}
