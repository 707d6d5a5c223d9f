#include "notes/AnsiCodePage.h"

#include <array>

namespace {

// Windows-1252 maps 0x80..0x9F to these characters; the five bytes it leaves
// undefined map to the control characters of the same value, as the system's
// conversion does, so every byte reads back as itself.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

class WesternCodePage final : public IAnsiCodePage {
public:
    bool Narrow(std::u16string_view text, std::string& out) const override
    {
        out.resize(text.size());
        for (size_t i = 0; i < text.size(); ++i) {
            const int byte = ByteOf(text[i]);
            if (byte < 0)
                return false;
            out[i] = static_cast<char>(byte);
        }
        return true;
    }

    void Widen(std::string_view bytes, std::u16string& out) const override
    {
        out.resize(bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            out[i] = b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
        }
    }

private:
    static int ByteOf(char16_t c)
    {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
            return c;
        for (size_t i = 0; i < kHighControls.size(); ++i) {
            if (kHighControls[i] == c)
                return static_cast<int>(0x80 + i);
        }
        return -1;
    }
};

const IAnsiCodePage* g_codePage = nullptr;

}  // namespace

const IAnsiCodePage& WesternAnsiCodePage()
{
    static const WesternCodePage codePage;
    return codePage;
}

void SetAnsiCodePage(const IAnsiCodePage* codePage)
{
    g_codePage = codePage;
}

const IAnsiCodePage& AnsiCodePage()
{
    return g_codePage ? *g_codePage : WesternAnsiCodePage();
}
