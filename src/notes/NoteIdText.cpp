#include "notes/NoteIdText.h"

#include "core/HexDigit.h"

std::string NoteIdToText(NoteId id)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(32, '0');
    for (int i = 0; i < 16; ++i) {
        text[15 - i] = kDigits[(id.hi >> (4 * i)) & 0xF];
        text[31 - i] = kDigits[(id.lo >> (4 * i)) & 0xF];
    }
    return text;
}

std::optional<NoteId> NoteIdFromText(std::string_view text)
{
    if (text.size() != 32)
        return std::nullopt;
    NoteId id;
    for (size_t i = 0; i < 32; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
            return std::nullopt;
        uint64_t& half = i < 16 ? id.hi : id.lo;
        half = (half << 4) | static_cast<uint64_t>(digit);
    }
    if (id.IsNull())
        return std::nullopt;
    return id;
}
