#include "notes/Archive.h"

#include <cstring>

namespace {

std::string KeepLowCodeUnits(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text)
        out.push_back(c < 256 ? static_cast<char>(c) : '?');
    return out;
}

WideToAnsiFn g_wideToAnsi = &KeepLowCodeUnits;

// Length prefix values of the string encoding.
constexpr uint8_t kLongLength = 0xFF;
constexpr uint16_t kWideMarker = 0xFFFE;
constexpr uint16_t kHugeLength = 0xFFFF;

}  // namespace

void SetWideToAnsiConverter(WideToAnsiFn fn)
{
    g_wideToAnsi = fn ? fn : &KeepLowCodeUnits;
}

std::string WideToAnsi(const std::u16string& text)
{
    return g_wideToAnsi(text);
}

CArchive::CArchive() : m_storing(true) {}

CArchive::CArchive(std::span<const uint8_t> input) : m_storing(false), m_in(input) {}

void CArchive::WriteU8(uint8_t v)
{
    m_out.push_back(v);
}

void CArchive::WriteU16(uint16_t v)
{
    const uint8_t bytes[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    m_out.insert(m_out.end(), bytes, bytes + 2);
}

void CArchive::WriteU32(uint32_t v)
{
    const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                              static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    m_out.insert(m_out.end(), bytes, bytes + 4);
}

void CArchive::WriteBytes(const void* data, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(data);
    m_out.insert(m_out.end(), p, p + size);
}

void CArchive::WriteString(const std::string& s)
{
    const size_t length = s.size();
    if (length < kLongLength) {
        WriteU8(static_cast<uint8_t>(length));
    } else if (length < kWideMarker) {
        WriteU8(kLongLength);
        WriteU16(static_cast<uint16_t>(length));
    } else {
        WriteU8(kLongLength);
        WriteU16(kHugeLength);
        WriteU32(static_cast<uint32_t>(length));
    }
    WriteBytes(s.data(), length);
}

void CArchive::ThrowEndOfInput()
{
    throw ArchiveError("the notes file ends early");
}

void CArchive::ReadBytes(void* data, size_t size)
{
    Need(size);
    std::memcpy(data, m_in.data() + m_readPos, size);
    m_readPos += size;
}

// Reads one length prefix. A UTF-16 marker is followed by a second prefix
// that counts 2-byte characters; a second marker there is malformed.
uint64_t CArchive::ReadStringLength(bool* wide)
{
    *wide = false;
    for (int prefix = 0; prefix < 2; ++prefix) {
        uint8_t b = ReadU8();
        if (b < kLongLength)
            return b;
        uint16_t w = ReadU16();
        if (w == kWideMarker) {
            if (*wide)
                throw ArchiveError("malformed string length");
            *wide = true;
            continue;
        }
        if (w < kHugeLength)
            return w;
        return ReadU32();
    }
    throw ArchiveError("malformed string length");
}

std::string CArchive::ReadString()
{
    std::string s;
    ReadString(s);
    return s;
}

void CArchive::ReadString(std::string& out)
{
    bool wide = false;
    const uint64_t length = ReadStringLength(&wide);
    if (!wide) {
        Need(length);  // before allocating: never more than the input holds
        out.assign(reinterpret_cast<const char*>(m_in.data() + m_readPos), static_cast<size_t>(length));
        m_readPos += static_cast<size_t>(length);
        return;
    }
    if (length > Remaining() / 2)
        throw ArchiveError("the notes file ends early");
    std::u16string text(static_cast<size_t>(length), u'\0');
    for (auto& c : text)
        c = ReadU16();
    out = WideToAnsi(text);
}
