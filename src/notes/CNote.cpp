#include "notes/CNote.h"

#include <cstddef>
#include <cstring>
#include <ctime>

#include "notes/Archive.h"
#include "notes/NoteIdSource.h"
#include "notes/RuntimeRand.h"

namespace {

// The fixed runs of a stored record, around its two strings.
constexpr size_t kScheduleRunBytes = 2 + 4 + 4 + 4 + 2 + 4 + kRecurBytes + 6 * 2;
constexpr size_t kLookRunBytes = 5 * 4 + 8 + 32 + 4 + 4;
constexpr size_t kPlaceRunBytes = 2 + 2 + 16 + 4;
static_assert(kScheduleRunBytes + kLookRunBytes + kPlaceRunBytes == 174, "a record is 174 bytes and two strings");
static_assert(kScheduleRunBytes <= CArchive::kMaxInPlaceBytes && kLookRunBytes <= CArchive::kMaxInPlaceBytes,
              "each run is read in place");
static_assert(sizeof(LogFont) == 60 && offsetof(LogFont, lfFaceName) == 28, "the stored font block");

}  // namespace

int CNote::s_logPixelsY = 96;
CNote::WindowDestroyer CNote::s_destroyWindow = nullptr;

NoteTime CurrentNoteTime()
{
    return static_cast<NoteTime>(std::time(nullptr));
}

LogFont DefaultNoteFont(int logPixelsY)
{
    LogFont font;
    font.lfHeight = -(logPixelsY * 120 / 720);
    font.lfCharSet = kDefaultCharset;
    font.SetFaceName("Arial");
    return font;
}

CNote::CNote()
    : m_logFont(DefaultNoteFont(s_logPixelsY)), m_strText(kDefaultNoteText)
{
    const NoteTime now = CurrentNoteTime();
    m_tStartTime = now;
    m_tStartDate = now;
    m_tEndDate = now;
    m_tLastShown = now;
    m_identity = NoteIdSource::NewIdentity(now);
    DrawDefaultPlace();
}

CNote::CNote(ForLoading)
    : m_tStartTime(0), m_tStartDate(0), m_tEndDate(0), m_tLastShown(0)
{
    DrawDefaultPlace();
}

void CNote::DrawDefaultPlace()
{
    // Two draws per construction, in this order, whatever happens next.
    const int r1 = RuntimeRand::Next();
    const int r2 = RuntimeRand::Next();
    m_rcWindow.left = r1 % 500;
    m_rcWindow.top = r2 % 500;
    m_rcWindow.right = m_rcWindow.left + kDefaultNoteWidth;
    m_rcWindow.bottom = m_rcWindow.top + kDefaultNoteHeight;
}

CNote::~CNote()
{
    CloseWindow();
}

void CNote::CloseWindow()
{
    CNoteWnd* wnd = m_pWnd;
    m_pWnd = nullptr;
    if (wnd && s_destroyWindow)
        s_destroyWindow(wnd);
}

std::unique_ptr<CNote> CNote::Clone() const
{
    CArchive out;
    const_cast<CNote*>(this)->Serialize(out);  // storing does not change the note
    const std::vector<uint8_t> bytes = out.TakeBuffer();
    CArchive in{std::span<const uint8_t>(bytes)};
    auto copy = std::make_unique<CNote>(ForLoading{});
    copy->Serialize(in);
    copy->m_identity = m_identity;
    copy->m_formats = m_formats;
    copy->m_tSnoozeUntil = m_tSnoozeUntil;
    return copy;
}

void CNote::SetScreenLogPixelsY(int dpi)
{
    s_logPixelsY = dpi;
}

void CNote::SetWindowDestroyer(WindowDestroyer fn)
{
    s_destroyWindow = fn;
}

void CNote::Load(CArchive& ar)
{
    // The order of Serialize below.
    const uint8_t* p = ar.ReadInPlace(kScheduleRunBytes);
    m_bSchedDisabled = CArchive::U16At(p);
    m_nSchedKind = CArchive::U32At(p + 2);
    m_tStartTime = CArchive::I32At(p + 6);
    m_tStartDate = CArchive::I32At(p + 10);
    m_bHasEndDate = CArchive::U16At(p + 14);
    m_tEndDate = CArchive::I32At(p + 16);
    std::memcpy(m_recur.data(), p + 20, kRecurBytes);
    p += 20 + kRecurBytes;
    m_bSchedNew = CArchive::U16At(p);
    m_nNotifyDays = CArchive::U16At(p + 2);
    m_nNotifyHours = CArchive::U16At(p + 4);
    m_nNotifyMinutes = CArchive::U16At(p + 6);
    m_bAlwaysDisplay = CArchive::U16At(p + 8);
    m_bAlarm = CArchive::U16At(p + 10);
    ar.ReadString(m_strSoundFile);

    p = ar.ReadInPlace(kLookRunBytes);
    m_logFont.lfHeight = CArchive::I32At(p);
    m_logFont.lfWidth = CArchive::I32At(p + 4);
    m_logFont.lfEscapement = CArchive::I32At(p + 8);
    m_logFont.lfOrientation = CArchive::I32At(p + 12);
    m_logFont.lfWeight = CArchive::I32At(p + 16);
    std::memcpy(&m_logFont.lfItalic, p + 20, 8);  // italic .. pitch and family
    std::memcpy(m_logFont.lfFaceName, p + 28, sizeof m_logFont.lfFaceName);
    m_crText = CArchive::U32At(p + 60);
    m_crBack = CArchive::U32At(p + 64);
    ar.ReadString(m_strText);

    p = ar.ReadInPlace(kPlaceRunBytes);
    m_bOnTop = CArchive::U16At(p);
    m_bVisible = CArchive::U16At(p + 2);
    m_rcWindow.left = CArchive::I32At(p + 4);
    m_rcWindow.top = CArchive::I32At(p + 8);
    m_rcWindow.right = CArchive::I32At(p + 12);
    m_rcWindow.bottom = CArchive::I32At(p + 16);
    m_tLastShown = CArchive::I32At(p + 20);
}

void CNote::Serialize(CArchive& ar)
{
    if (!ar.IsStoring()) {
        Load(ar);  // a file of 32767 notes loads noticeably faster this way
        return;
    }
    // The record's order; Load reads the same, and the layout tests hold
    // both to the file.
    ar.Write(m_bSchedDisabled);
    ar.Write(m_nSchedKind);
    ar.Write(m_tStartTime);
    ar.Write(m_tStartDate);
    ar.Write(m_bHasEndDate);
    ar.Write(m_tEndDate);
    ar.WriteBytes(m_recur.data(), m_recur.size());
    ar.Write(m_bSchedNew);
    ar.Write(m_nNotifyDays);
    ar.Write(m_nNotifyHours);
    ar.Write(m_nNotifyMinutes);
    ar.Write(m_bAlwaysDisplay);
    ar.Write(m_bAlarm);
    ar.Write(m_strSoundFile);
    ar.Write(m_logFont.lfHeight);
    ar.Write(m_logFont.lfWidth);
    ar.Write(m_logFont.lfEscapement);
    ar.Write(m_logFont.lfOrientation);
    ar.Write(m_logFont.lfWeight);
    ar.WriteBytes(&m_logFont.lfItalic, 8);  // italic .. pitch and family
    ar.WriteBytes(m_logFont.lfFaceName, sizeof m_logFont.lfFaceName);
    ar.Write(m_crText);
    ar.Write(m_crBack);
    ar.Write(m_strText);
    ar.Write(m_bOnTop);
    ar.Write(m_bVisible);
    ar.Write(m_rcWindow.left);
    ar.Write(m_rcWindow.top);
    ar.Write(m_rcWindow.right);
    ar.Write(m_rcWindow.bottom);
    ar.Write(m_tLastShown);
}
