#pragma once
// The system's ANSI code page, in which the notes file keeps every string
// that fits in it. The Windows build installs the system's own conversion;
// until then Windows-1252 (Western European) stands in, so the host build
// reads and writes what a Western European system would.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class IAnsiCodePage {
public:
    virtual ~IAnsiCodePage() = default;
    // Puts the text's ANSI bytes into out and returns true when every
    // character has a byte form that reads back as the same character;
    // false otherwise (out then holds nothing useful).
    virtual bool Narrow(std::u16string_view text, std::string& out) const = 0;
    // Puts the text of ANSI bytes into out.
    virtual void Widen(std::string_view bytes, std::u16string& out) const = 0;
};

// The code page in use; the object must outlive its use. nullptr restores
// the default.
void SetAnsiCodePage(const IAnsiCodePage* codePage);
const IAnsiCodePage& AnsiCodePage();

// Windows-1252, the default above.
const IAnsiCodePage& WesternAnsiCodePage();

// Plain ASCII reads the same in every ANSI code page, so the common case
// skips the conversion. Each copies while it checks and returns false at the
// first character outside ASCII (out then holds an unspecified prefix).
bool WidenAscii(const uint8_t* in, size_t n, char16_t* out);
bool NarrowAscii(const char16_t* in, size_t n, uint8_t* out);
