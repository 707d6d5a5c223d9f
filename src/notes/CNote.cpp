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
    // One list for both directions, so reading and writing cannot drift apart.
    ar.Exchange(m_bSchedDisabled);
    ar.Exchange(m_nSchedKind);
    ar.Exchange(m_tStartTime);
    ar.Exchange(m_tStartDate);
    ar.Exchange(m_bHasEndDate);
    ar.Exchange(m_tEndDate);
    ar.ExchangeBytes(m_recur.data(), m_recur.size());
    ar.Exchange(m_bSchedNew);
    ar.Exchange(m_nNotifyDays);
    ar.Exchange(m_nNotifyHours);
    ar.Exchange(m_nNotifyMinutes);
    ar.Exchange(m_bAlwaysDisplay);
    ar.Exchange(m_bAlarm);
    ar.Exchange(m_strSoundFile);
    ar.Exchange(m_logFont.lfHeight);
    ar.Exchange(m_logFont.lfWidth);
    ar.Exchange(m_logFont.lfEscapement);
    ar.Exchange(m_logFont.lfOrientation);
    ar.Exchange(m_logFont.lfWeight);
    ar.ExchangeBytes(&m_logFont.lfItalic, 8);  // italic .. pitch and family
    ar.ExchangeBytes(m_logFont.lfFaceName, sizeof m_logFont.lfFaceName);
    ar.Exchange(m_crText);
    ar.Exchange(m_crBack);
    ar.Exchange(m_strText);
    ar.Exchange(m_bOnTop);
    ar.Exchange(m_bVisible);
    ar.Exchange(m_rcWindow.left);
    ar.Exchange(m_rcWindow.top);
    ar.Exchange(m_rcWindow.right);
    ar.Exchange(m_rcWindow.bottom);
    ar.Exchange(m_tLastShown);
}
