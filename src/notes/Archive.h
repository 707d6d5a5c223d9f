#pragma once
// A byte archive in the notes file's encoding: little-endian integers with no
// padding, strings with the 1/3/7-byte length prefix. Reading checks every
// length against the bytes that remain and throws ArchiveError instead of
// reading past the end or allocating more than the input could hold.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

struct ArchiveError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Turns UTF-16 text into the ANSI code page. The Windows build installs the
// system's converter; the default keeps code units below 256 and writes '?'
// for the rest.
using WideToAnsiFn = std::string (*)(const std::u16string&);
void SetWideToAnsiConverter(WideToAnsiFn fn);
std::string WideToAnsi(const std::u16string& text);

class CArchive {
public:
    // A storing archive that appends to its own buffer.
    CArchive();
    // A loading archive over bytes that the caller keeps alive.
    explicit CArchive(std::span<const uint8_t> input);

    bool IsStoring() const { return m_storing; }

    void WriteU8(uint8_t v);
    void WriteU16(uint16_t v);
    void WriteU32(uint32_t v);
    void WriteI32(int32_t v) { WriteU32(static_cast<uint32_t>(v)); }
    void WriteBytes(const void* data, size_t size);
    void WriteString(const std::string& s);

    // Inline: a record is mostly small integers, read one by one.
    uint8_t ReadU8()
    {
        Need(1);
        return m_in[m_readPos++];
    }
    uint16_t ReadU16()
    {
        Need(2);
        const uint8_t* p = m_in.data() + m_readPos;
        m_readPos += 2;
        return static_cast<uint16_t>(p[0] | (p[1] << 8));
    }
    uint32_t ReadU32()
    {
        Need(4);
        const uint8_t* p = m_in.data() + m_readPos;
        m_readPos += 4;
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    }
    int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }
    void ReadBytes(void* data, size_t size);
    std::string ReadString();
    // Reads into an existing string, reusing its storage.
    void ReadString(std::string& out);

    // Writes the value when storing, reads it back into place when loading.
    void Exchange(uint16_t& v) { m_storing ? WriteU16(v) : void(v = ReadU16()); }
    void Exchange(uint32_t& v) { m_storing ? WriteU32(v) : void(v = ReadU32()); }
    void Exchange(int32_t& v) { m_storing ? WriteI32(v) : void(v = ReadI32()); }
    void Exchange(std::string& s) { m_storing ? WriteString(s) : ReadString(s); }
    void ExchangeBytes(void* data, size_t size) { m_storing ? WriteBytes(data, size) : ReadBytes(data, size); }

    // The bytes written so far (storing) and what is left to read (loading).
    const std::vector<uint8_t>& Buffer() const { return m_out; }
    std::vector<uint8_t> TakeBuffer() { return std::move(m_out); }
    size_t Remaining() const { return m_in.size() - m_readPos; }

private:
    void Need(size_t size) const
    {
        if (size > Remaining())
            ThrowEndOfInput();
    }
    [[noreturn]] static void ThrowEndOfInput();
    uint64_t ReadStringLength(bool* wide);

    bool m_storing;
    std::vector<uint8_t> m_out;
    std::span<const uint8_t> m_in;
    size_t m_readPos = 0;
};
