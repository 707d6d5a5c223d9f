#pragma once
// The 60-byte font description stored with every note. Its layout is the
// platform's LOGFONTA, so the Windows layer can copy it byte for byte.
#include <cstdint>
#include <cstring>
#include <string>

struct LogFont {
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    char lfFaceName[32] = {};

    // Face name as text (the bytes up to the first NUL).
    std::string FaceName() const { return std::string(lfFaceName, strnlen(lfFaceName, sizeof lfFaceName)); }
    void SetFaceName(const std::string& name) {
        std::memset(lfFaceName, 0, sizeof lfFaceName);
        std::memcpy(lfFaceName, name.data(), name.size() < 31 ? name.size() : 31);
    }
    bool operator==(const LogFont&) const = default;
};
static_assert(sizeof(LogFont) == 60, "the stored font block is exactly 60 bytes");

constexpr uint8_t kDefaultCharset = 1;  // DEFAULT_CHARSET

// The note font: Arial, 12 points at the given screen resolution.
LogFont DefaultNoteFont(int logPixelsY);
