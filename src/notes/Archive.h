#pragma once
// A byte archive in the notes file's encoding: little-endian integers with no
// padding, strings with the 1/3/7-byte length prefix. Reading checks every
// length against the bytes that remain and throws ArchiveError instead of
// reading past the end or allocating more than the input could hold.
//
// Texts are UTF-16 in memory. A text that the ANSI code page holds whole is
// stored in it, as it always was; any other is stored in the UTF-16 form
// (0xFF, u16 0xFFFE, then a second length prefix counting 16-bit units),
// which every reader of the file accepts.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct ArchiveError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class INoteFileReader;

class CArchive {
public:
    // A storing archive that appends to its own buffer.
    CArchive();
    // A loading archive over bytes that the caller keeps alive.
    explicit CArchive(std::span<const uint8_t> input);
    // A loading archive that pulls the file in pieces as it reads, so that it
    // holds no more of the file than one piece beyond what it has read.
    static constexpr size_t kWindowBytes = 64 * 1024;  // smaller requests get 128
    explicit CArchive(INoteFileReader& source, size_t windowBytes = kWindowBytes);

    bool IsStoring() const { return m_storing; }
    // Storing: writes into this buffer's storage from its start.
    void AdoptBuffer(std::vector<uint8_t>&& buffer)
    {
        m_out = std::move(buffer);
        m_out.clear();
    }

    void WriteU8(uint8_t v);
    void WriteU16(uint16_t v);
    void WriteU32(uint32_t v);
    void WriteI32(int32_t v) { WriteU32(static_cast<uint32_t>(v)); }
    void WriteU64(uint64_t v)
    {
        WriteU32(static_cast<uint32_t>(v));
        WriteU32(static_cast<uint32_t>(v >> 32));
    }
    void WriteBytes(const void* data, size_t size);
    void WriteString(std::u16string_view s);

    // Inline: a record is mostly small integers, read one by one.
    uint8_t ReadU8()
    {
        Need(1);
        return m_in[m_readPos++];
    }
    uint16_t ReadU16() { return U16At(ReadInPlace(2)); }
    uint32_t ReadU32() { return U32At(ReadInPlace(4)); }
    // The next size bytes (at most kMaxInPlaceBytes) where they lie; valid
    // until the next read. For fixed runs of fields, decoded with the helpers
    // below.
    static constexpr size_t kMaxInPlaceBytes = 128;
    const uint8_t* ReadInPlace(size_t size)
    {
        Need(size);
        const uint8_t* p = m_in.data() + m_readPos;
        m_readPos += size;
        return p;
    }
    static uint16_t U16At(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
    static uint32_t U32At(const uint8_t* p)
    {
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    }
    static int32_t I32At(const uint8_t* p) { return static_cast<int32_t>(U32At(p)); }
    static uint64_t U64At(const uint8_t* p) { return U32At(p) | static_cast<uint64_t>(U32At(p + 4)) << 32; }
    void ReadBytes(void* data, size_t size);
    std::u16string ReadString();
    // Reads into an existing string, reusing its storage.
    void ReadString(std::u16string& out);

    // Storing a record field by field, each in its type's width.
    void Write(uint16_t v) { WriteU16(v); }
    void Write(uint32_t v) { WriteU32(v); }
    void Write(int32_t v) { WriteI32(v); }
    void Write(std::u16string_view s) { WriteString(s); }

    // The bytes written so far (storing) and what is left to read (loading).
    const std::vector<uint8_t>& Buffer() const { return m_out; }
    std::vector<uint8_t> TakeBuffer() { return std::move(m_out); }
    uint64_t Remaining() const { return (m_in.size() - m_readPos) + m_sourceLeft; }

private:
    // Makes size bytes readable in m_in from m_readPos on.
    void Need(size_t size)
    {
        if (size > m_in.size() - m_readPos)
            Pull(size);
    }
    void Pull(size_t size);
    // size bytes in one piece: in place when they fit the window, otherwise
    // copied into spill.
    const uint8_t* Take(size_t size, std::vector<uint8_t>& spill);
    [[noreturn]] static void ThrowEndOfInput();
    uint64_t ReadStringLength(bool* wide);
    void WriteLength(size_t length);

    bool m_storing;
    std::vector<uint8_t> m_out;
    // Loading: m_in is the window being read (the caller's bytes, or
    // m_window filled from m_source); m_sourceLeft counts what the source
    // still holds beyond it.
    std::span<const uint8_t> m_in;
    size_t m_readPos = 0;
    INoteFileReader* m_source = nullptr;
    uint64_t m_sourceLeft = 0;
    std::vector<uint8_t> m_window;
    std::vector<uint8_t> m_spill;
    std::string m_narrow;  // reused for texts outside ASCII
};
