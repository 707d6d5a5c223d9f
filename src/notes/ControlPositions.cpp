#include "notes/ControlPositions.h"

#include <algorithm>

ControlPositions::ControlPositions(std::u16string_view text)
{
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == u'\n' && text[i - 1] == u'\r')
            m_breaks.push_back(static_cast<uint32_t>(i));
    }
}

uint32_t ControlPositions::ToControl(uint32_t textPosition) const
{
    // Every LF before the position is a character the control does not have.
    const auto before = std::lower_bound(m_breaks.begin(), m_breaks.end(), textPosition) - m_breaks.begin();
    return textPosition - static_cast<uint32_t>(before);
}

uint32_t ControlPositions::ToText(uint32_t controlPosition) const
{
    // The k-th LF lies at control position breaks[k] - k, after its CR.
    size_t low = 0, high = m_breaks.size();
    while (low < high) {
        const size_t mid = (low + high) / 2;
        if (m_breaks[mid] - mid <= controlPosition)
            low = mid + 1;
        else
            high = mid;
    }
    return controlPosition + static_cast<uint32_t>(low);
}

std::u16string ControlPositions::WithCrLf(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            out += u"\r\n";
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}
