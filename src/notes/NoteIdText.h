#pragma once
// A note id as people and settings files see it: 32 hexadecimal digits, the
// high half first.
#include <optional>
#include <string>
#include <string_view>

#include "notes/NoteIdentity.h"

std::string NoteIdToText(NoteId id);
// Exactly 32 hexadecimal digits (either case), not all zero; anything else
// is no id.
std::optional<NoteId> NoteIdFromText(std::string_view text);
