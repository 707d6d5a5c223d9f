#include "notes/Archive.h"

#include <algorithm>
#include <cstring>

#include "notes/AnsiCodePage.h"
#include "notes/NoteFileStore.h"

namespace {

// Length prefix values of the string encoding.
constexpr uint8_t kLongLength = 0xFF;
constexpr uint16_t kWideMarker = 0xFFFE;
constexpr uint16_t kHugeLength = 0xFFFF;

}  // namespace

CArchive::CArchive() : m_storing(true) {}

CArchive::CArchive(std::span<const uint8_t> input) : m_storing(false), m_in(input) {}

CArchive::CArchive(INoteFileReader& source, size_t windowBytes)
    : m_storing(false), m_source(&source), m_sourceLeft(source.Size())
{
    // Room for the longest run read in place; longer reads copy.
    windowBytes = std::max(windowBytes, kMaxInPlaceBytes);
    m_window.resize(static_cast<size_t>(std::min<uint64_t>(m_sourceLeft, windowBytes)));
    m_in = std::span<const uint8_t>(m_window.data(), 0);
}

void CArchive::Pull(size_t size)
{
    if (size > Remaining())
        ThrowEndOfInput();
    if (size > m_window.size())
        throw ArchiveError("read larger than the window");  // Take copies those
    // Keep the unread tail, then top the window up from the file.
    const size_t kept = m_in.size() - m_readPos;
    if (kept > 0 && m_in.data() + m_readPos != m_window.data())
        std::memmove(m_window.data(), m_in.data() + m_readPos, kept);
    size_t filled = kept;
    while (filled < size) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(m_window.size() - filled, m_sourceLeft));
        size_t got = 0;
        if (!m_source->Read(m_window.data() + filled, want, got) || got == 0 || got > want)
            throw ArchiveError("the notes file could not be read");
        filled += got;
        m_sourceLeft -= got;
    }
    m_in = std::span<const uint8_t>(m_window.data(), filled);
    m_readPos = 0;
}

const uint8_t* CArchive::Take(size_t size, std::vector<uint8_t>& spill)
{
    if (size <= m_window.size() || !m_source) {
        Need(size);
        const uint8_t* p = m_in.data() + m_readPos;
        m_readPos += size;
        return p;
    }
    spill.resize(size);
    ReadBytes(spill.data(), size);
    return spill.data();
}

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

void CArchive::WriteLength(size_t length)
{
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
}

void CArchive::WriteString(std::u16string_view s)
{
    // Most texts are plain ASCII: written as they are checked.
    const size_t mark = m_out.size();
    WriteLength(s.size());
    const size_t at = m_out.size();
    m_out.resize(at + s.size());
    if (NarrowAscii(s.data(), s.size(), m_out.data() + at))
        return;
    m_out.resize(mark);
    if (AnsiCodePage().Narrow(s, m_narrow)) {
        WriteLength(m_narrow.size());
        WriteBytes(m_narrow.data(), m_narrow.size());
        return;
    }
    // Something the code page would lose: keep every unit.
    WriteU8(kLongLength);
    WriteU16(kWideMarker);
    WriteLength(s.size());
    const size_t wideAt = m_out.size();
    m_out.resize(wideAt + 2 * s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        m_out[wideAt + 2 * i] = static_cast<uint8_t>(s[i]);
        m_out[wideAt + 2 * i + 1] = static_cast<uint8_t>(s[i] >> 8);
    }
}

void CArchive::ThrowEndOfInput()
{
    throw ArchiveError("the notes file ends early");
}

void CArchive::ReadBytes(void* data, size_t size)
{
    if (size <= m_window.size() || !m_source) {
        Need(size);
        std::memcpy(data, m_in.data() + m_readPos, size);
        m_readPos += size;
        return;
    }
    if (size > Remaining())
        ThrowEndOfInput();
    auto* out = static_cast<uint8_t*>(data);
    const size_t inWindow = std::min(size, m_in.size() - m_readPos);
    std::memcpy(out, m_in.data() + m_readPos, inWindow);
    m_readPos += inWindow;
    out += inWindow;
    size -= inWindow;
    // Whatever the window lacked comes straight from the file.
    while (size > 0) {
        size_t got = 0;
        if (!m_source->Read(out, size, got) || got == 0 || got > size)
            throw ArchiveError("the notes file could not be read");
        out += got;
        size -= got;
        m_sourceLeft -= got;
    }
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

std::u16string CArchive::ReadString()
{
    std::u16string s;
    ReadString(s);
    return s;
}

void CArchive::ReadString(std::u16string& out)
{
    bool wide = false;
    const uint64_t length = ReadStringLength(&wide);
    // Before allocating: never more than the input holds.
    if (length > (wide ? Remaining() / 2 : Remaining()))
        ThrowEndOfInput();
    const size_t n = static_cast<size_t>(length);
    if (wide) {
        const uint8_t* p = Take(2 * n, m_spill);
        out.resize(n);
        for (size_t i = 0; i < n; ++i)
            out[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
        return;
    }
    const uint8_t* bytes = Take(n, m_spill);
    out.resize(n);
    if (!WidenAscii(bytes, n, out.data()))
        AnsiCodePage().Widen(std::string_view(reinterpret_cast<const char*>(bytes), n), out);
}
