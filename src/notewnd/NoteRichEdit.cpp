#include "notewnd/NoteRichEdit.h"

#include <commctrl.h>
#include <richedit.h>

#include <shellapi.h>

#include <algorithm>
#include <string_view>

#include "framework/WideText.h"
#include "notes/ControlPositions.h"
#include "notes/NoteLinks.h"
#include "notes/RtfRunReader.h"

namespace {

// The vertical bar shows only while the text does not fit (no
// ES_DISABLENOSCROLL); lines wrap at the edge, so nothing scrolls sideways.
// Made hidden (no WS_VISIBLE): a shown control paints itself at once after
// every font, colour, text and format it is given, and a new note's box is
// given a dozen of them before anyone could see it.
constexpr DWORD kEditStyle = WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
// Typing, formats and pastes a user can take back one by one.
constexpr WPARAM kUndoSteps = 200;
constexpr UINT_PTR kSubclassId = 1;

void OpenWithShell(const std::u16string& address)
{
    ShellExecuteW(nullptr, L"open", WideChars(address), nullptr, nullptr, SW_SHOWNORMAL);
}

NoteRichEdit::LinkOpener s_openLink = &OpenWithShell;

// Half way between ink and paper: a ticked item is done, and looks it.
COLORREF Lighter(ColorRef ink, ColorRef paper)
{
    return RGB((GetRValue(ink) + GetRValue(paper)) / 2, (GetGValue(ink) + GetGValue(paper)) / 2,
               (GetBValue(ink) + GetBValue(paper)) / 2);
}

// The newest control the system has: MSFTEDIT.DLL's, else RICHED20.DLL's.
// Null when neither loads.
const wchar_t* RichEditClass()
{
    static const wchar_t* const name = []() -> const wchar_t* {
        if (LoadLibraryW(L"Msftedit.dll"))
            return MSFTEDIT_CLASS;
        if (LoadLibraryW(L"Riched20.dll"))
            return RICHEDIT_CLASSW;
        return nullptr;
    }();
    return name;
}

uint8_t FormatsOfFont(const LOGFONTA& lf)
{
    return static_cast<uint8_t>((lf.lfWeight >= FW_SEMIBOLD ? kFormatBold : 0) | (lf.lfItalic ? kFormatItalic : 0) |
                                (lf.lfUnderline ? kFormatUnderline : 0) | (lf.lfStrikeOut ? kFormatStrike : 0));
}

constexpr DWORD kFormatMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;

DWORD EffectsOf(uint8_t formats)
{
    return (formats & kFormatBold ? CFE_BOLD : 0) | (formats & kFormatItalic ? CFE_ITALIC : 0) |
           (formats & kFormatUnderline ? CFE_UNDERLINE : 0) | (formats & kFormatStrike ? CFE_STRIKEOUT : 0);
}

uint8_t FormatsOf(DWORD effects)
{
    return static_cast<uint8_t>((effects & CFE_BOLD ? kFormatBold : 0) | (effects & CFE_ITALIC ? kFormatItalic : 0) |
                                (effects & CFE_UNDERLINE ? kFormatUnderline : 0) |
                                (effects & CFE_STRIKEOUT ? kFormatStrike : 0));
}

struct StreamSource {
    const BYTE* data;
    size_t left;
};

DWORD CALLBACK ReadFromSource(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* got)
{
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    size_t n = std::min(source->left, static_cast<size_t>(size) & ~size_t{1});
    // A CR at the end of one piece and its LF at the start of the next would
    // be read as two line breaks.
    if (n < source->left && n >= 2 && source->data[n - 2] == '\r' && source->data[n - 1] == 0)
        n -= 2;
    std::copy(source->data, source->data + n, buffer);
    source->data += n;
    source->left -= n;
    *got = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK WriteToString(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written)
{
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(size));
    *written = size;
    return 0;
}

// The text as plain UTF-16 into the control, at the selection or over all
// of it: a stream of plain text is never read as rich text, whatever it
// starts with.
void StreamInText(HWND hwnd, const std::u16string& text, bool atSelection)
{
    StreamSource source{reinterpret_cast<const BYTE*>(text.data()), text.size() * sizeof(char16_t)};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadFromSource};
    SendMessageW(hwnd, EM_STREAMIN, SF_TEXT | SF_UNICODE | (atSelection ? SFF_SELECTION : 0),
                 reinterpret_cast<LPARAM>(&stream));
}

std::string ClipboardBytes(UINT format)
{
    std::string bytes;
    HANDLE data = GetClipboardData(format);
    const void* p = data ? GlobalLock(data) : nullptr;
    if (!p)
        return bytes;
    bytes.assign(static_cast<const char*>(p), GlobalSize(data));
    GlobalUnlock(data);
    return bytes.substr(0, bytes.find('\0'));
}

std::u16string ClipboardText()
{
    std::u16string text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* p = data ? static_cast<const char16_t*>(GlobalLock(data)) : nullptr;
    if (!p)
        return text;
    text.assign(p, std::u16string_view(p, GlobalSize(data) / sizeof(char16_t)).find(u'\0'));
    GlobalUnlock(data);
    return text;
}

}  // namespace

void NoteRichEdit::SetLinkOpener(LinkOpener opener)
{
    s_openLink = opener ? opener : &OpenWithShell;
}

bool NoteRichEdit::Create(HWND parent, int id, const NoteRect& rc)
{
    const wchar_t* className = RichEditClass();
    if (!className)
        return false;
    m_hwnd = CreateWindowExW(0, className, L"", kEditStyle, rc.left, rc.top, rc.Width(), rc.Height(), parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!m_hwnd)
        return false;
    SendMessageW(m_hwnd, EM_EXLIMITTEXT, 0, kNoteTextLimit);
    SendMessageW(m_hwnd, EM_SETUNDOLIMIT, kUndoSteps, 0);
    SendMessageW(m_hwnd, EM_SETEVENTMASK, 0, ENM_CHANGE);
    // Addresses are drawn as links by the control itself, as they are typed,
    // loaded or pasted: its marks are part of its own typing, so Ctrl+Z takes
    // back text, never a mark alone (marks set from here are undo steps of
    // their own under Wine, which then put themselves back at every Ctrl+Z).
    // The marks are only drawn: Runs() never gives them, and a Ctrl+click
    // opens what NoteLinks allows, whatever the control marks.
    SendMessageW(m_hwnd, EM_AUTOURLDETECT, TRUE, 0);
    // Dropped objects and files would come in whole, pictures included:
    // text is brought in by paste only, which keeps nothing embedded.
    RevokeDragDrop(m_hwnd);
    SetWindowSubclass(m_hwnd, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

LRESULT CALLBACK NoteRichEdit::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR self)
{
    auto* edit = reinterpret_cast<NoteRichEdit*>(self);
    switch (msg) {
    case WM_PASTE: edit->Paste(false); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(edit->m_font);
    case WM_KEYDOWN:
        // Enter and Backspace act on the characters they send, as in an edit
        // control, so that a list can continue there.
        if ((wParam == VK_RETURN || wParam == VK_BACK) && !(GetKeyState(VK_CONTROL) & 0x8000))
            return 0;
        break;
    case WM_CHAR:
        if (wParam == ' ' && edit->OnSpace())
            return 0;
        if (wParam == '\r' || wParam == '\b') {
            edit->OnLineKey(static_cast<wchar_t>(wParam));
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        if (edit->OnPress({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}, wParam & MK_CONTROL))
            return 0;
        break;
    default: break;
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, &SubclassProc, kSubclassId);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void NoteRichEdit::SetLook(HFONT font, const LOGFONTA& logFont, ColorRef ink, ColorRef paper)
{
    // The font sets the formats of all the text: the runs go back on after.
    // A box still empty (a new window's) has none to keep, and reading its
    // rich text back would cost more than all the rest.
    const std::u16string text = m_bFilled ? Text() : std::u16string();
    const TextFormatRuns runs = text.empty() ? TextFormatRuns{} : Runs();
    const DWORD mask = static_cast<DWORD>(SendMessageW(m_hwnd, EM_SETEVENTMASK, 0, 0));
    SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    m_font = font;
    m_plainFormats = FormatsOfFont(logFont);
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_COLOR;
    cf.crTextColor = ink;
    SendMessageW(m_hwnd, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    SendMessageW(m_hwnd, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    SendMessageW(m_hwnd, EM_SETBKGNDCOLOR, 0, paper);
    m_ink = ink;
    m_paper = paper;
    if (!text.empty()) {
        ApplyRuns(text, runs, 0);
        ShowTicks(text);
    }
    // Taking back a new look one run at a time would make no sense to anyone.
    SendMessageW(m_hwnd, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageW(m_hwnd, EM_SETEVENTMASK, 0, mask);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void NoteRichEdit::SetContent(const std::u16string& text, const TextFormatRuns& runs)
{
    const DWORD mask = static_cast<DWORD>(SendMessageW(m_hwnd, EM_SETEVENTMASK, 0, 0));
    StreamInText(m_hwnd, text, false);
    const std::u16string shown = ControlPositions::WithCrLf(text);
    // A box filled for the first time holds text of the plain look only:
    // with no runs there is nothing to set, and setting it would lay the
    // text out again.
    if (m_bFilled || !runs.empty())
        ApplyRuns(shown, runs, 0);
    m_bFilled = true;
    ShowTicks(shown);  // and the caret to the start
    SendMessageW(m_hwnd, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageW(m_hwnd, EM_SETEVENTMASK, 0, mask);
}

std::u16string NoteRichEdit::Text() const
{
    GETTEXTLENGTHEX length{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const auto units = SendMessageW(m_hwnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (units <= 0)
        return {};
    std::u16string text(static_cast<size_t>(units) + 1, u'\0');
    GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(char16_t)), GT_USECRLF, 1200, nullptr, nullptr};
    const auto got = SendMessageW(m_hwnd, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                  reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, units)));
    return text;
}

int NoteRichEdit::Length() const
{
    GETTEXTLENGTHEX length{GTL_PRECISE | GTL_NUMCHARS, 1200};
    return static_cast<int>(SendMessageW(m_hwnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}

TextFormatRuns NoteRichEdit::Runs() const
{
    // One pass over the control's own rich text, rather than a question per
    // stretch: a long note with many runs is read in a few milliseconds.
    std::string rtf;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rtf), 0, &WriteToString};
    SendMessageW(m_hwnd, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    TextFormatRuns runs = RtfRunReader::Read(rtf, m_plainFormats).runs;
    // The control's last paragraph mark is in its rich text, not in the note.
    GETTEXTLENGTHEX length{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const auto units = static_cast<uint32_t>(
        std::max<LRESULT>(0, SendMessageW(m_hwnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0)));
    while (!runs.empty() && runs.back().start >= units)
        runs.pop_back();
    if (!runs.empty())
        runs.back().length = std::min(runs.back().length, units - runs.back().start);
    return runs;
}

void NoteRichEdit::SetFormats(LONG from, LONG to, uint8_t formats)
{
    CHARRANGE range{from, to};
    SendMessageW(m_hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = kFormatMask;
    cf.dwEffects = EffectsOf(formats);
    SendMessageW(m_hwnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
}

void NoteRichEdit::ApplyRuns(const std::u16string& text, const TextFormatRuns& runs, LONG offset)
{
    // Over the text put in at offset (its positions in text's own units):
    // plain first, then each run. The selection comes back as it was.
    CHARRANGE kept{};
    SendMessageW(m_hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    SendMessageW(m_hwnd, EM_HIDESELECTION, TRUE, 0);
    const ControlPositions positions(text);
    SetFormats(offset, offset + static_cast<LONG>(positions.ToControl(static_cast<uint32_t>(text.size()))),
               m_plainFormats);
    for (const TextFormatRun& run : runs) {
        SetFormats(offset + static_cast<LONG>(positions.ToControl(run.start)),
                   offset + static_cast<LONG>(positions.ToControl(run.start + run.length)), run.formats);
    }
    SendMessageW(m_hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    SendMessageW(m_hwnd, EM_HIDESELECTION, FALSE, 0);
}

uint8_t NoteRichEdit::SelectionFormats() const
{
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    SendMessageW(m_hwnd, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    // A format the selection only partly has is not the selection's.
    return FormatsOf(cf.dwEffects & cf.dwMask);
}

void NoteRichEdit::ToggleFormat(uint8_t format)
{
    const bool on = !(SelectionFormats() & format);
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = static_cast<DWORD>(EffectsOf(format));  // CFM_ and CFE_ bits of the four formats are the same
    cf.dwEffects = on ? cf.dwMask : 0;
    SendMessageW(m_hwnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
}

bool NoteRichEdit::Undo()
{
    if (!SendMessageW(m_hwnd, EM_CANUNDO, 0, 0))
        return false;
    SendMessageW(m_hwnd, EM_UNDO, 0, 0);
    return true;
}

bool NoteRichEdit::Redo()
{
    if (!SendMessageW(m_hwnd, EM_CANREDO, 0, 0))
        return false;
    SendMessageW(m_hwnd, EM_REDO, 0, 0);
    return true;
}

NoteRichEdit::KeyResult NoteRichEdit::HandleKey(const MSG& msg)
{
    const bool ctrl = GetKeyState(VK_CONTROL) & 0x8000, shift = GetKeyState(VK_SHIFT) & 0x8000;
    if (msg.message != WM_KEYDOWN || (GetKeyState(VK_MENU) & 0x8000))
        return KeyResult::kNotMine;
    if (msg.wParam == VK_INSERT && shift && !ctrl) {
        Paste(false);
        return KeyResult::kDone;
    }
    if (!ctrl)
        return KeyResult::kNotMine;
    static constexpr struct {
        WPARAM key;
        uint8_t format;
    } kFormatKeys[] = {{'B', kFormatBold}, {'I', kFormatItalic}, {'U', kFormatUnderline}, {'T', kFormatStrike}};
    for (const auto& [key, format] : kFormatKeys) {
        if (msg.wParam == key && !shift) {
            ToggleFormat(format);
            return KeyResult::kFormatChanged;
        }
    }
    switch (msg.wParam) {
    case 'Z':
        if (!shift)
            return Undo() ? KeyResult::kDone : KeyResult::kNothingToUndo;
        [[fallthrough]];
    case 'Y': Redo(); return KeyResult::kDone;
    case 'L':
    case 'C':
        if (!shift)
            return KeyResult::kNotMine;
        MarkLines(msg.wParam == 'L' ? NoteListMarks::Mark::kBullet : NoteListMarks::Mark::kBox);
        return KeyResult::kDone;
    case VK_RETURN: ToggleBox(Caret()); return KeyResult::kDone;
    case 'V': Paste(shift); return KeyResult::kDone;
    default: return KeyResult::kNotMine;
    }
}

void NoteRichEdit::Paste(bool plainOnly)
{
    if (GetWindowLongPtrW(m_hwnd, GWL_STYLE) & ES_READONLY)
        return;
    const UINT rtfFormat = RegisterClipboardFormatW(L"Rich Text Format");
    if (!OpenClipboard(m_hwnd))
        return;
    std::u16string text;
    TextFormatRuns runs;
    if (!plainOnly && IsClipboardFormatAvailable(rtfFormat)) {
        RtfRunReader::Result read = RtfRunReader::Read(ClipboardBytes(rtfFormat), m_plainFormats);
        text = std::move(read.text);
        runs = std::move(read.runs);
    } else {
        text = ControlPositions::WithCrLf(ClipboardText());
    }
    CloseClipboard();
    Insert(text, runs);
}

void NoteRichEdit::Insert(const std::u16string& text, const TextFormatRuns& runs)
{
    CHARRANGE at{};
    SendMessageW(m_hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&at));
    StreamInText(m_hwnd, text, true);
    ApplyRuns(text, runs, at.cpMin);
    const LONG end = at.cpMin + static_cast<LONG>(ControlPositions(text).ToControl(static_cast<uint32_t>(text.size())));
    SendMessageW(m_hwnd, EM_SETSEL, end, end);
    SendMessageW(m_hwnd, EM_SCROLLCARET, 0, 0);
    // A stream brings no change notification of its own.
    SendMessageW(GetParent(m_hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hwnd), EN_CHANGE),
                 reinterpret_cast<LPARAM>(m_hwnd));
}

LONG NoteRichEdit::Caret() const
{
    CHARRANGE at{};
    SendMessageW(m_hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&at));
    return at.cpMax;
}

NoteRichEdit::Paragraph NoteRichEdit::ParagraphAt(LONG position) const
{
    // Paragraphs, not the control's lines: a long item wraps over several.
    const std::u16string text = Text();
    const ControlPositions positions(text);
    const size_t at = std::min<size_t>(positions.ToText(static_cast<uint32_t>(std::max(position, 0L))), text.size());
    const size_t lineBreak = at == 0 ? std::u16string::npos : text.rfind(u'\n', at - 1);
    const size_t start = lineBreak == std::u16string::npos ? 0 : lineBreak + 1;
    const size_t end = std::min(text.find(u'\r', start), text.size());
    return {static_cast<LONG>(positions.ToControl(static_cast<uint32_t>(start))), text.substr(start, end - start)};
}

void NoteRichEdit::Replace(LONG from, LONG to, std::u16string_view with)
{
    const std::u16string text(with);
    SendMessageW(m_hwnd, EM_SETSEL, from, to);
    SendMessageW(m_hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void NoteRichEdit::MarkLines(NoteListMarks::Mark mark)
{
    CHARRANGE sel{};
    SendMessageW(m_hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    sel.cpMax = std::min<LONG>(sel.cpMax, Length());
    std::vector<Paragraph> lines{ParagraphAt(sel.cpMin)};
    while (lines.back().start + static_cast<LONG>(lines.back().text.size()) < sel.cpMax)
        lines.push_back(ParagraphAt(lines.back().start + static_cast<LONG>(lines.back().text.size()) + 1));
    std::vector<NoteListMarks::Mark> marks;
    for (const Paragraph& line : lines)
        marks.push_back(NoteListMarks::MarkOf(line.text));
    const auto starts = NoteListMarks::ListCommand(marks, mark);
    // From the last line up, so that the earlier lines' positions hold.
    for (size_t i = lines.size(); i-- > 0;)
        Replace(lines[i].start, lines[i].start + static_cast<LONG>(starts[i].remove), starts[i].insert);
    // The caret at the end of the last line, wherever its start went.
    LONG end = lines.back().start + static_cast<LONG>(lines.back().text.size());
    for (const auto& start : starts)
        end += static_cast<LONG>(start.insert.size()) - static_cast<LONG>(start.remove);
    SendMessageW(m_hwnd, EM_SETSEL, end, end);
}

bool NoteRichEdit::ToggleBox(LONG position)
{
    const Paragraph line = ParagraphAt(position);
    const NoteListMarks::Mark mark = NoteListMarks::MarkOf(line.text);
    if (mark != NoteListMarks::Mark::kBox && mark != NoteListMarks::Mark::kTicked)
        return false;
    CHARRANGE kept{};
    SendMessageW(m_hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    SendMessageW(m_hwnd, EM_HIDESELECTION, TRUE, 0);
    const NoteListMarks::Mark now = NoteListMarks::Toggled(mark);
    Replace(line.start, line.start + 1, NoteListMarks::TextOf(now).substr(0, 1));
    const LONG itemStart = line.start + static_cast<LONG>(NoteListMarks::kMarkLength);
    const LONG itemEnd = line.start + static_cast<LONG>(line.text.size());
    CHARRANGE item{itemStart, itemEnd};
    SendMessageW(m_hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&item));
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_STRIKEOUT | CFM_COLOR;
    cf.dwEffects = now == NoteListMarks::Mark::kTicked ? CFE_STRIKEOUT : 0;
    cf.crTextColor = now == NoteListMarks::Mark::kTicked ? Lighter(m_ink, m_paper) : m_ink;
    SendMessageW(m_hwnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    SendMessageW(m_hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    SendMessageW(m_hwnd, EM_HIDESELECTION, FALSE, 0);
    return true;
}

void NoteRichEdit::ShowTicks(const std::u16string& text)
{
    const ControlPositions positions(text);
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_COLOR;
    cf.crTextColor = Lighter(m_ink, m_paper);
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find(u'\r', start), text.size());
        if (NoteListMarks::MarkOf(std::u16string_view(text).substr(start, end - start)) ==
            NoteListMarks::Mark::kTicked) {
            CHARRANGE item{static_cast<LONG>(positions.ToControl(static_cast<uint32_t>(start + 2))),
                           static_cast<LONG>(positions.ToControl(static_cast<uint32_t>(end)))};
            SendMessageW(m_hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&item));
            SendMessageW(m_hwnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        }
        start = end + 2;
    }
    SendMessageW(m_hwnd, EM_SETSEL, 0, 0);
}

bool NoteRichEdit::OnEnter()
{
    CHARRANGE sel{};
    SendMessageW(m_hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    if (sel.cpMin != sel.cpMax)
        return false;
    const Paragraph line = ParagraphAt(sel.cpMin);
    const NoteListMarks::Enter enter = NoteListMarks::OnEnter(line.text, static_cast<size_t>(sel.cpMin - line.start));
    if (!enter.handled)
        return false;
    if (enter.endsList)
        Replace(line.start, line.start + static_cast<LONG>(NoteListMarks::kMarkLength), u"");
    else
        Replace(sel.cpMin, sel.cpMin, u"\r" + std::u16string(enter.next));
    return true;
}

bool NoteRichEdit::OnSpace()
{
    CHARRANGE sel{};
    SendMessageW(m_hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    const Paragraph line = ParagraphAt(sel.cpMin);
    if (sel.cpMin != sel.cpMax || !NoteListMarks::MakesBox(line.text, static_cast<size_t>(sel.cpMin - line.start)))
        return false;
    Replace(line.start, sel.cpMin, NoteListMarks::TextOf(NoteListMarks::Mark::kBox));
    return true;
}

bool NoteRichEdit::OnPress(POINT at, bool ctrl)
{
    POINTL point{at.x, at.y};
    const LONG position = static_cast<LONG>(SendMessageW(m_hwnd, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point)));
    const Paragraph line = ParagraphAt(position);
    if (ctrl) {
        const auto link = NoteLinks::LinkAt(line.text, static_cast<size_t>(std::max(0L, position - line.start)));
        if (!link)
            return false;
        s_openLink(NoteLinks::ToOpen(std::u16string_view(line.text).substr(link->start, link->length)));
        return true;
    }
    // Only a press on the box itself: the rest of the line places the caret.
    const NoteListMarks::Mark mark = NoteListMarks::MarkOf(line.text);
    if (mark != NoteListMarks::Mark::kBox && mark != NoteListMarks::Mark::kTicked)
        return false;
    POINTL left{}, right{};
    SendMessageW(m_hwnd, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&left), line.start);
    SendMessageW(m_hwnd, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&right), line.start + 1);
    if (at.x < left.x || at.x >= right.x || position > line.start + 1)
        return false;
    SetFocus(m_hwnd);
    return ToggleBox(line.start);
}

void NoteRichEdit::OnLineKey(wchar_t key)
{
    if (GetWindowLongPtrW(m_hwnd, GWL_STYLE) & ES_READONLY)
        return;
    CHARRANGE sel{};
    SendMessageW(m_hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    if (key == L'\r') {
        if (!OnEnter())
            Replace(sel.cpMin, sel.cpMax, u"\r");
    } else if (sel.cpMin != sel.cpMax) {
        Replace(sel.cpMin, sel.cpMax, u"");
    } else if (sel.cpMin > 0) {
        Replace(sel.cpMin - 1, sel.cpMin, u"");
    }
}
