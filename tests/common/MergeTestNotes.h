#pragma once
// Notes written as "text@x" for the merge and sync tests: a note with that
// text whose window's left edge is at x. With ids, the notes at one place
// of two lists are one note, as their ids make them, and "text@x#n" gives
// the note the id of the n-th place instead (from 1); without, they have
// none, as in a file of a reader of the plain format.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/UnicodeText.h"
#include "notes/CNoteList.h"

namespace mergetest {

enum class Ids { kNone, kByPlace };

inline void Fill(CNoteList& list, const std::vector<std::string>& notes, Ids ids)
{
    for (const std::string& written : notes) {
        const size_t at = written.find('@');
        const size_t hash = written.find('#');
        auto note = std::make_unique<CNote>();
        if (ids == Ids::kByPlace) {
            const uint64_t id = hash == std::string::npos ? static_cast<uint64_t>(list.m_nCount) + 1
                                                          : std::stoull(written.substr(hash + 1));
            note->m_identity = {NoteId{1, id}, 0, 0, {}};
        }
        note->m_strText = Utf16FromUtf8(written.substr(0, at));
        const int x = std::stoi(written.substr(at + 1));
        note->m_rcWindow = NoteRect{x, 0, x + 200, 150};
        list.Add(note);
    }
}

// "text@x" of a note.
inline std::string Written(const CNote& note)
{
    return Utf8FromUtf16(note.m_strText) + "@" + std::to_string(note.m_rcWindow.left);
}

}  // namespace mergetest
