#include "notes/CNote.h"

#include <ctime>

#include "notes/Archive.h"
#include "notes/RuntimeRand.h"

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
    if (m_pWnd && s_destroyWindow)
        s_destroyWindow(m_pWnd);
    m_pWnd = nullptr;
}

void CNote::SetScreenLogPixelsY(int dpi)
{
    s_logPixelsY = dpi;
}

void CNote::SetWindowDestroyer(WindowDestroyer fn)
{
    s_destroyWindow = fn;
}

void CNote::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteU16(m_bSchedDisabled);
        ar.WriteU32(m_nSchedKind);
        ar.WriteI32(m_tStartTime);
        ar.WriteI32(m_tStartDate);
        ar.WriteU16(m_bHasEndDate);
        ar.WriteI32(m_tEndDate);
        ar.WriteBytes(m_recur.data(), m_recur.size());
        ar.WriteU16(m_bSchedNew);
        ar.WriteU16(m_nNotifyDays);
        ar.WriteU16(m_nNotifyHours);
        ar.WriteU16(m_nNotifyMinutes);
        ar.WriteU16(m_bAlwaysDisplay);
        ar.WriteU16(m_bAlarm);
        ar.WriteString(m_strSoundFile);
        ar.WriteI32(m_logFont.lfHeight);
        ar.WriteI32(m_logFont.lfWidth);
        ar.WriteI32(m_logFont.lfEscapement);
        ar.WriteI32(m_logFont.lfOrientation);
        ar.WriteI32(m_logFont.lfWeight);
        ar.WriteBytes(&m_logFont.lfItalic, 8);
        ar.WriteBytes(m_logFont.lfFaceName, sizeof m_logFont.lfFaceName);
        ar.WriteU32(m_crText);
        ar.WriteU32(m_crBack);
        ar.WriteString(m_strText);
        ar.WriteU16(m_bOnTop);
        ar.WriteU16(m_bVisible);
        ar.WriteI32(m_rcWindow.left);
        ar.WriteI32(m_rcWindow.top);
        ar.WriteI32(m_rcWindow.right);
        ar.WriteI32(m_rcWindow.bottom);
        ar.WriteI32(m_tLastShown);
        return;
    }
    m_bSchedDisabled = ar.ReadU16();
    m_nSchedKind = ar.ReadU32();
    m_tStartTime = ar.ReadI32();
    m_tStartDate = ar.ReadI32();
    m_bHasEndDate = ar.ReadU16();
    m_tEndDate = ar.ReadI32();
    ar.ReadBytes(m_recur.data(), m_recur.size());
    m_bSchedNew = ar.ReadU16();
    m_nNotifyDays = ar.ReadU16();
    m_nNotifyHours = ar.ReadU16();
    m_nNotifyMinutes = ar.ReadU16();
    m_bAlwaysDisplay = ar.ReadU16();
    m_bAlarm = ar.ReadU16();
    ar.ReadString(m_strSoundFile);
    m_logFont.lfHeight = ar.ReadI32();
    m_logFont.lfWidth = ar.ReadI32();
    m_logFont.lfEscapement = ar.ReadI32();
    m_logFont.lfOrientation = ar.ReadI32();
    m_logFont.lfWeight = ar.ReadI32();
    ar.ReadBytes(&m_logFont.lfItalic, 8);
    ar.ReadBytes(m_logFont.lfFaceName, sizeof m_logFont.lfFaceName);
    m_crText = ar.ReadU32();
    m_crBack = ar.ReadU32();
    ar.ReadString(m_strText);
    m_bOnTop = ar.ReadU16();
    m_bVisible = ar.ReadU16();
    m_rcWindow.left = ar.ReadI32();
    m_rcWindow.top = ar.ReadI32();
    m_rcWindow.right = ar.ReadI32();
    m_rcWindow.bottom = ar.ReadI32();
    m_tLastShown = ar.ReadI32();
}
