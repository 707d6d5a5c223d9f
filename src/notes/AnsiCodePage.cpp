#include "notes/AnsiCodePage.h"

#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Sixteen characters at a time where SSE2 is there (every x86-64 build): the
// notes file is mostly ASCII text, and this is most of loading and saving it.
bool WidenAscii(const uint8_t* in, size_t n, char16_t* out)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        if (_mm_movemask_epi8(bytes) != 0)
            return false;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    for (; i < n; ++i) {
        if (in[i] & 0x80)
            return false;
        out[i] = in[i];
    }
    return true;
}

bool NarrowAscii(const char16_t* in, size_t n, uint8_t* out)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i notAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    for (; i + 16 <= n; i += 16) {
        const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8));
        const __m128i high = _mm_and_si128(_mm_or_si128(lo, hi), notAscii);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, zero)) != 0xFFFF)
            return false;
        // Every unit is below 0x80 here, so the saturating pack is exact.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i) {
        if (in[i] >= 0x80)
            return false;
        out[i] = static_cast<uint8_t>(in[i]);
    }
    return true;
}
