#include "notes/RtfRunReader.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/HexDigit.h"

namespace {

// The groups whose contents are never text: font and colour tables,
// pictures, objects, document information and the like.
constexpr std::string_view kSkippedDestinations[] = {
    "fonttbl", "colortbl", "stylesheet", "info", "pict", "object", "objdata", "header", "footer",
    "headerl", "headerr", "headerf", "footerl", "footerr", "footerf", "footnote", "listtable",
    "listoverridetable", "rsidtbl", "generator", "xmlnstbl", "themedata", "colorschememapping",
    "latentstyles", "datastore", "fldinst", "bkmkstart", "bkmkend", "shp", "shpinst", "nonshppict",
    "filetbl", "revtbl", "pgdsctbl", "mmathPr", "fchars", "lchars", "pntext", "pntxta", "pntxtb"};

// Bytes 0x80 to 0x9F of the Western code page RTF text nearly always uses;
// the rest of the byte range is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

char16_t FromByte(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char16_t(byte);
}

struct GroupState {
    uint8_t formats = 0;
    bool skip = false;
    int unicodeSkip = 1;  // \ucN: how many fallback characters follow each \u
};

class Parser {
public:
    Parser(std::string_view rtf, uint8_t plain) : m_in(rtf), m_plain(plain) {}
    RtfRunReader::Result Run();

private:
    void ControlWord();
    void ControlSymbol(char c);
    void Apply(std::string_view word, bool hasParam, long param);
    void Emit(char16_t c);
    void SkipFallback();
    GroupState& State() { return m_stack.back(); }

    std::string_view m_in;
    uint8_t m_plain;
    size_t m_at = 0;
    std::vector<GroupState> m_stack{GroupState{}};
    bool m_destinationNext = false;  // the group just opened may be one to skip
    bool m_starred = false;
    RtfRunReader::Result m_out;
};

RtfRunReader::Result Parser::Run()
{
    while (m_at < m_in.size()) {
        const char c = m_in[m_at++];
        if (c == '{') {
            m_stack.push_back(State());
            m_destinationNext = true;
            m_starred = false;
            continue;
        }
        const bool opening = m_destinationNext;
        m_destinationNext = false;
        if (c == '}') {
            if (m_stack.size() > 1)
                m_stack.pop_back();
        } else if (c == '\\') {
            m_destinationNext = opening;  // a group's first word decides what it is
            if (m_at < m_in.size() && std::isalpha(static_cast<unsigned char>(m_in[m_at])))
                ControlWord();
            else if (m_at < m_in.size())
                ControlSymbol(m_in[m_at++]);
            m_destinationNext = m_destinationNext && opening;
        } else if (c != '\r' && c != '\n' && !State().skip) {
            Emit(FromByte(static_cast<unsigned char>(c)));
        }
    }
    return std::move(m_out);
}

void Parser::ControlWord()
{
    const size_t start = m_at;
    while (m_at < m_in.size() && std::isalpha(static_cast<unsigned char>(m_in[m_at])))
        ++m_at;
    const std::string_view word = m_in.substr(start, m_at - start);
    bool negative = false;
    if (m_at < m_in.size() && m_in[m_at] == '-') {
        negative = true;
        ++m_at;
    }
    long param = 0;
    bool hasParam = false;
    while (m_at < m_in.size() && std::isdigit(static_cast<unsigned char>(m_in[m_at]))) {
        param = std::min(param * 10 + (m_in[m_at++] - '0'), 10000000L);
        hasParam = true;
    }
    if (negative)
        param = -param;
    if (m_at < m_in.size() && m_in[m_at] == ' ')
        ++m_at;
    const bool opening = m_destinationNext;
    m_destinationNext = false;
    if (opening && (m_starred || std::find(std::begin(kSkippedDestinations), std::end(kSkippedDestinations), word) !=
                                     std::end(kSkippedDestinations))) {
        State().skip = true;
        return;
    }
    Apply(word, hasParam, param);
}

void Parser::ControlSymbol(char c)
{
    if (c == '*') {
        m_starred = true;  // an optional destination: skipped, since none is kept
        return;
    }
    m_destinationNext = false;
    if (State().skip)
        return;
    const int high = c == '\'' && m_at + 1 < m_in.size() ? HexDigitValue(m_in[m_at]) : -1;
    const int low = high >= 0 ? HexDigitValue(m_in[m_at + 1]) : -1;
    if (low >= 0) {
        Emit(FromByte(static_cast<unsigned char>(high * 16 + low)));
        m_at += 2;
    } else if (c == '\\' || c == '{' || c == '}') {
        Emit(char16_t(c));
    } else if (c == '~') {
        Emit(u'\u00A0');
    } else if (c == '_') {
        Emit(u'\u2011');
    } else if (c == '\r' || c == '\n') {
        Emit(u'\r');
        Emit(u'\n');
    }
}

void Parser::Apply(std::string_view word, bool hasParam, long param)
{
    GroupState& state = State();
    const bool on = !hasParam || param != 0;
    const auto set = [&](uint8_t format, bool value) {
        state.formats = value ? state.formats | format : state.formats & ~format;
    };
    if (word == "bin") {
        m_at = std::min(m_in.size(), m_at + static_cast<size_t>(std::max(param, 0L)));
    } else if (word == "uc") {
        state.unicodeSkip = static_cast<int>(std::clamp(param, 0L, 8L));
    } else if (state.skip) {
        return;
    } else if (word == "b") {
        set(kFormatBold, on);
    } else if (word == "i") {
        set(kFormatItalic, on);
    } else if (word == "strike" || word == "striked") {
        set(kFormatStrike, on);
    } else if (word == "ulnone") {
        set(kFormatUnderline, false);
    } else if (word.starts_with("ul") && word.find_first_not_of("ulbdashotwvyhe") == std::string_view::npos) {
        set(kFormatUnderline, on);  // \ul and its kinds (\uld, \ulw, \uldb, ...)
    } else if (word == "plain") {
        state.formats = 0;
    } else if (word == "par" || word == "line" || word == "row" || word == "sect" || word == "page") {
        Emit(u'\r');
        Emit(u'\n');
    } else if (word == "tab" || word == "cell") {
        Emit(u'\t');
    } else if (word == "u" && hasParam) {
        Emit(static_cast<char16_t>(param < 0 ? param + 65536 : param));
        SkipFallback();
    } else if (word == "emdash" || word == "endash") {
        Emit(word == "emdash" ? u'\u2014' : u'\u2013');
    } else if (word == "lquote" || word == "rquote") {
        Emit(word == "lquote" ? u'\u2018' : u'\u2019');
    } else if (word == "ldblquote" || word == "rdblquote") {
        Emit(word == "ldblquote" ? u'\u201C' : u'\u201D');
    } else if (word == "bullet") {
        Emit(u'\u2022');
    }
}

void Parser::SkipFallback()
{
    // The characters after \u stand in for it with readers that do not know
    // it; each is one byte, one \'hh or one control word.
    for (int left = State().unicodeSkip; left > 0 && m_at < m_in.size(); --left) {
        const char c = m_in[m_at];
        if (c == '{' || c == '}')
            return;
        if (c != '\\') {
            ++m_at;
            continue;
        }
        if (m_in.substr(m_at, 2) == "\\'") {
            m_at = std::min(m_in.size(), m_at + 4);
            continue;
        }
        ++m_at;
        while (m_at < m_in.size() && std::isalnum(static_cast<unsigned char>(m_in[m_at])))
            ++m_at;
        if (m_at < m_in.size() && m_in[m_at] == ' ')
            ++m_at;
    }
}

void Parser::Emit(char16_t c)
{
    const uint8_t formats = State().formats;
    const auto at = static_cast<uint32_t>(m_out.text.size());
    m_out.text.push_back(c);
    if (formats == m_plain)
        return;
    TextFormatRuns& runs = m_out.runs;
    if (!runs.empty() && runs.back().formats == formats && runs.back().start + runs.back().length == at)
        ++runs.back().length;
    else
        runs.push_back({at, 1, formats});
}

}  // namespace

RtfRunReader::Result RtfRunReader::Read(std::string_view rtf, uint8_t plain)
{
    return Parser(rtf, plain).Run();
}
