#include "notewnd/SharedNoteFont.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

struct SharedFontEntry {
    LOGFONTA description;
    HFONT font;
    int holders;
};

namespace {

// A few looks in use at a time, usually one: a list is quicker than a map.
// Entries live on the heap so that holders keep their address.
std::vector<std::unique_ptr<SharedFontEntry>>& Entries()
{
    static std::vector<std::unique_ptr<SharedFontEntry>> entries;
    return entries;
}

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
    auto& entries = Entries();
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const auto& entry) {
        return SameDescription(entry->description, description);
    });
    if (found != entries.end()) {
        m_entry = found->get();
        ++m_entry->holders;
        return;
    }
    const HFONT font = CreateFontIndirectA(&description);
    if (!font)
        return;
    entries.push_back(std::make_unique<SharedFontEntry>(SharedFontEntry{description, font, 1}));
    m_entry = entries.back().get();
}

SharedNoteFont::SharedNoteFont(SharedNoteFont&& other) noexcept : m_entry(other.m_entry)
{
    other.m_entry = nullptr;
}

SharedNoteFont& SharedNoteFont::operator=(SharedNoteFont&& other) noexcept
{
    if (this != &other) {
        Release();
        m_entry = other.m_entry;
        other.m_entry = nullptr;
    }
    return *this;
}

SharedNoteFont::~SharedNoteFont()
{
    Release();
}

HFONT SharedNoteFont::Get() const
{
    return m_entry ? m_entry->font : nullptr;
}

void SharedNoteFont::Release()
{
    if (!m_entry || --m_entry->holders > 0) {
        m_entry = nullptr;
        return;
    }
    DeleteObject(m_entry->font);
    auto& entries = Entries();
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [this](const auto& entry) { return entry.get() == m_entry; }),
                  entries.end());
    m_entry = nullptr;
}
