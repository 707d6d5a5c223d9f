#pragma once
// Positions in a note's stored text, where a line break is CR LF, against
// positions in the rich edit control showing it, where it is one character.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ControlPositions {
public:
    explicit ControlPositions(std::u16string_view text);
    uint32_t ToControl(uint32_t textPosition) const;
    uint32_t ToText(uint32_t controlPosition) const;
    // The text with every line break, whether CR, LF or CR LF, as CR LF:
    // the form the control hands back, so positions stay true.
    static std::u16string WithCrLf(std::u16string_view text);

private:
    std::vector<uint32_t> m_breaks;  // text positions of the LF of each CR LF
};
