#include "notewnd/CNoteWnd.h"

#include <algorithm>
#include <vector>

#include "framework/LogFontA.h"
#include "framework/WindowDpi.h"
#include "notes/NoteStyle.h"
#include "notewnd/NoteCursors.h"
#include "notewnd/NoteGeometry.h"
#include "notewnd/NoteLookDialogs.h"
#include "notewnd/NoteMenu.h"
#include "notewnd/NotePaper.h"
#include "notewnd/NoteScreenPlace.h"
#include "notewnd/NoteSnooze.h"
#include "notewnd/NoteWindowHooks.h"
#include "notewnd/SharedNoteFont.h"
#include "res/resource.h"

static_assert(kHitLeft == WMSZ_LEFT && kHitRight == WMSZ_RIGHT && kHitTop == WMSZ_TOP &&
                  kHitTopLeft == WMSZ_TOPLEFT && kHitTopRight == WMSZ_TOPRIGHT &&
                  kHitBottom == WMSZ_BOTTOM && kHitBottomLeft == WMSZ_BOTTOMLEFT &&
                  kHitBottomRight == WMSZ_BOTTOMRIGHT,
              "hit codes are the platform's sizing directions");

namespace {

constexpr const char* kClassName = "VelumoNoteWnd";
constexpr UINT_PTR kFocusTimer = 1;
constexpr UINT kFocusDelayMs = 50;
// A text longer than this goes into the note at most once per interval
// while it is typed: copying a megabyte and painting its row again on every
// key would make each key lag. A shorter one goes in at every key.
constexpr int kLargeTextLength = 64 * 1024;
constexpr UINT_PTR kTypedTextTimer = 2;
constexpr UINT kTypedTextDelayMs = 300;

CNoteWnd::ScheduleDialogOpener s_openScheduleDialog = nullptr;

// The windows whose typed text or formats have not gone into their notes yet.
std::vector<CNoteWnd*>& WindowsWithTypedText()
{
    static std::vector<CNoteWnd*> windows;
    return windows;
}

bool RegisterNoteClass()
{
    // No cursor and no background: the window paints every pixel and picks
    // its cursor itself.
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    return CWindowBase::RegisterClassOnce(wc);
}

}  // namespace

// The note record's way of destroying its window: the record is going away,
// so the window must not touch it again.
void DestroyNoteWindow(CNoteWnd* wnd)
{
    if (!wnd)
        return;
    wnd->m_pNote = nullptr;
    if (wnd->m_hWnd && IsWindow(wnd->m_hWnd))
        DestroyWindow(wnd->m_hWnd);
}

void InstallNoteWindowHooks()
{
    CNote::SetWindowDestroyer(&DestroyNoteWindow);
}

void CNoteWnd::SetScheduleDialogOpener(ScheduleDialogOpener opener)
{
    s_openScheduleDialog = opener;
}

CNoteWnd::CNoteWnd(CNote* note, bool focusOnCreate, INoteHost& host, const DisplayScale& scale)
    : m_bFocusOnCreate(focusOnCreate), m_host(host), m_pNote(note)
{
    TakeScale(scale);
}

void CNoteWnd::TakeScale(const DisplayScale& scale)
{
    m_scale = scale;
    m_metrics = NoteGeometry::ScaledMetrics(scale);
    // The frame width is the system's, given for the session's DPI.
    m_nBorder = MulDiv(GetSystemMetrics(SM_CXFRAME), scale.Dpi(), SystemDpi()) + 1;
}

CNoteWnd* CNoteWnd::Create(CNote* note, bool focusOnCreate, INoteHost& host)
{
    static const bool registered = RegisterNoteClass();
    if (!note || !registered)
        return nullptr;

    // The stored rectangle is in 96-DPI units; the window gets the pixels
    // of the monitor it comes up on. Nudging and rescue work in pixels.
    const DisplayScale scale(DpiForStoredRect(note->m_rcWindow));
    auto* wnd = new CNoteWnd(note, focusOnCreate, host, scale);
    // A note the user could not reach is brought back where it can be
    // grasped; the move and size notifications of its creation store where
    // it went.
    const NoteRect rc = NoteScreenPlace::PlaceOnScreen(
        NoteGeometry::ShiftAwayFromScreenEdges(scale.ToPixels(note->m_rcWindow), GetSystemMetrics(SM_CXSCREEN),
                                               GetSystemMetrics(SM_CYSCREEN)),
        wnd->m_metrics.margin);
    // Owned by the desktop, not by the main window: notes stay put when the
    // main window is hidden or minimised.
    if (!wnd->CreateEx(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, rc.left, rc.top, rc.Width(),
                       rc.Height(), GetDesktopWindow(), nullptr)) {
        delete wnd;
        return nullptr;
    }
    wnd->m_bDeleteWhenGone = true;
    // Rescued onto a monitor of another scale: its pixels from here on.
    // The text's font is made with its box, at the scale the window has then.
    if (const int dpi = WindowDpi(wnd->m_hWnd); dpi != scale.Dpi())
        wnd->TakeScale(DisplayScale(dpi));
    wnd->OnCreateContents();
    return wnd;
}

void CNoteWnd::OnCreateContents()
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    const NoteRect edit = NoteGeometry::EditRectAtCreation(client.right, client.bottom, m_metrics);
    if (m_rich.Create(m_hWnd, IDC_NOTE_EDIT, edit))
        m_edit = m_rich.Hwnd();
    UpdateShape();
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    if (m_edit) {
        // Filled while hidden, then painted once, with the window, as it is.
        ReplaceFont();
        m_rich.SetContent(m_pNote->m_strText, m_pNote->m_formats);
        ShowWindow(m_edit, SW_SHOWNA);
    }
    // The size and move notifications of this first showing store the
    // rectangle the window really got (perhaps shifted) in the note.
    SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (m_pNote->m_bOnTop)
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    if (m_bFocusOnCreate)
        SetTimer(m_hWnd, kFocusTimer, kFocusDelayMs, nullptr);
}

void CNoteWnd::UpdateShape()
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    const auto outline = NotePaper::OutlineOf(client.right, client.bottom, m_metrics);
    // A window region costs a round trip to the display (and a redraw of
    // what lies below): the shape of an unchanged size is kept. A new
    // window gets its shape from its first size notification, before it is
    // shown, and keeps it through its first showing.
    if (m_bRegionSet && m_nPts == static_cast<int>(outline.size()) && std::equal(outline.begin(), outline.end(), m_pts,
                                                                           [](const POINT& a, const POINT& b) {
                                                                               return a.x == b.x && a.y == b.y;
                                                                           }))
        return;
    std::copy(outline.begin(), outline.end(), m_pts);
    m_nPts = static_cast<int>(outline.size());

    // Setting the new region frees the one the platform held.
    m_bRegionSet = false;
    UniqueRegion region(CreatePolygonRgn(m_pts, m_nPts, ALTERNATE));
    if (region && SetWindowRgn(m_hWnd, region, TRUE)) {
        region.Release();  // the window owns it from here on
        m_bRegionSet = true;
    }
}

LRESULT CNoteWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_NOTE_CHANGED:
        return OnReload();
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_DESTROY:
        TakeWaiting();  // the last chance: the edit control goes with the window
        return DefaultProc(msg, wParam, lParam);
    case WM_ACTIVATE:
        DefaultProc(msg, wParam, lParam);
        OnActivate(wParam);
        return 0;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    case WM_LBUTTONDOWN:
        DefaultProc(msg, wParam, lParam);
        OnLButtonDown(PointFromLParam(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(PointFromLParam(lParam));
        return DefaultProc(msg, wParam, lParam);
    case WM_SIZING: {
        const LRESULT result = DefaultProc(msg, wParam, lParam);
        OnSizing(*reinterpret_cast<const RECT*>(lParam));
        return result;
    }
    case WM_SIZE:
        DefaultProc(msg, wParam, lParam);
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MOVE:
        DefaultProc(msg, wParam, lParam);
        StoreWindowRect();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        ShowContextMenu();
        return 0;
    case WM_COMMAND:
        OnCommand(wParam);
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    default:
        return DefaultProc(msg, wParam, lParam);
    }
}

bool CNoteWnd::PreTranslateMessage(MSG& msg)
{
    // Right button up over the note or its text: the note's menu, never the
    // edit control's own.
    if (msg.message == WM_RBUTTONUP) {
        ShowContextMenu();
        return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
        OnHide();
    return m_edit && msg.message == WM_KEYDOWN && OnTextKey(msg);
}

bool CNoteWnd::OnTextKey(const MSG& msg)
{
    switch (m_rich.HandleKey(msg)) {
    case NoteRichEdit::KeyResult::kNotMine: return false;
    case NoteRichEdit::KeyResult::kNothingToUndo: m_host.UndoLastDelete(); break;
    case NoteRichEdit::KeyResult::kFormatChanged: OnFormatChanged(); break;
    case NoteRichEdit::KeyResult::kDone: break;
    }
    return true;
}

void CNoteWnd::OnPaint()
{
    ScopedPaint dc(m_hWnd);
    if (!m_pNote)
        return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    NotePaper::Paint(dc, client, PaperBrush(), m_pts, m_nPts, m_metrics);
}

HBRUSH CNoteWnd::PaperBrush()
{
    // Made from the note's paper on first need; a reload lets go of it.
    if (!m_hbrBack && m_pNote)
        m_hbrBack.Reset(CreateSolidBrush(m_pNote->m_crBack));
    return m_hbrBack ? m_hbrBack.Get() : GetSysColorBrush(COLOR_WINDOW);
}

LRESULT CNoteWnd::OnReload()
{
    // The next colour query makes the brush from the note's current paper.
    m_hbrBack.Reset();
    if (m_pNote && m_edit) {
        ReplaceFont();
        m_rich.SetContent(m_pNote->m_strText, m_pNote->m_formats);
    }
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

void CNoteWnd::ReplaceFont()
{
    // The edit control gets the new font before the old one is let go of
    // (and deleted, when no other note shows it).
    const LOGFONTA lf = ScaledFont(ToLogFontA(m_pNote->m_logFont), m_scale);
    SharedNoteFont font(lf);
    m_rich.SetLook(font.Get(), lf, m_pNote->m_crText, m_pNote->m_crBack);
    m_font = std::move(font);
}

void CNoteWnd::OnTimer(UINT_PTR id)
{
    if (id == kTypedTextTimer)
        TakeTypedText();
    else
        OnFocusTimer();
}

void CNoteWnd::OnFocusTimer()
{
    KillTimer(m_hWnd, kFocusTimer);
    BringWindowToTop(m_hWnd);
    SetForegroundWindow(m_hWnd);
    // A new note comes up with its placeholder selected, ready to be typed over.
    SetFocus(m_edit);
    SendMessageA(m_edit, EM_SETSEL, 0, m_rich.Length());
    SendMessageA(m_edit, EM_SCROLLCARET, 0, 0);
}

void CNoteWnd::OnActivate(WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE || HIWORD(wParam))
        return;
    // A click that brings the note up is a click into it: the caret goes
    // after the text (a click on the text itself then puts it where it
    // fell). Brought up otherwise, the text has the caret where it was.
    if (LOWORD(wParam) == WA_CLICKACTIVE)
        TypeAtEnd();
    else if (m_edit)
        SetFocus(m_edit);
}

void CNoteWnd::OnSetFocus()
{
    // The window itself has nothing to type into.
    if (m_edit)
        SetFocus(m_edit);
}

void CNoteWnd::TypeAtEnd()
{
    if (!m_edit)
        return;
    SetFocus(m_edit);
    const int end = m_rich.Length();
    SendMessageA(m_edit, EM_SETSEL, end, end);
    SendMessageA(m_edit, EM_SCROLLCARET, 0, 0);
}

void CNoteWnd::BringIntoWorkArea()
{
    RECT shown;
    GetWindowRect(m_hWnd, &shown);
    const NoteRect to = NoteScreenPlace::InWorkArea(m_hWnd);
    // The move notification stores the new place in the note.
    if (to.left != shown.left || to.top != shown.top)
        SetWindowPos(m_hWnd, nullptr, to.left, to.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CNoteWnd::RaiseWithoutActivating()
{
    // Over the program in front, an ordinary window goes to the top of the
    // always-on-top windows and then back down to the top of the others.
    constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
    if (!m_pNote || !m_pNote->m_bOnTop)
        SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

NoteHit CNoteWnd::HitTestClient(int x, int y) const
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    return HitTest(x, y, client.right, client.bottom, m_nBorder);
}

void CNoteWnd::OnLButtonDown(POINT at)
{
    const HWND self = m_hWnd;
    const NoteHit hit = HitTestClient(at.x, at.y);
    // The platform's own move or size loop takes over until the button is
    // released.
    POINT screen = at;
    ClientToScreen(m_hWnd, &screen);
    SendMessageA(m_hWnd, WM_SYSCOMMAND, SysCommandForHit(hit), MAKELPARAM(screen.x, screen.y));
    // Moved, sized or only clicked, the note is then typed in. Its text keeps
    // a caret the user put there before.
    if (StillOwns(self, this) && GetFocus() != m_edit)
        TypeAtEnd();
}

void CNoteWnd::OnMouseMove(POINT at)
{
    const NoteHit hit = HitTestClient(at.x, at.y);
    SetCursor(CursorForHit(hit));
}

void CNoteWnd::OnSizing(const RECT& proposed)
{
    RECT client = proposed;
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&client), 2);
    PlaceEdit(NoteGeometry::EditRectWhileSizing({client.left, client.top, client.right, client.bottom}, m_metrics));
}

void CNoteWnd::OnSize(int cx, int cy)
{
    const NoteSize size = NoteGeometry::ClampToMinimum(cx, cy, m_metrics);
    if (size != NoteSize{cx, cy})
        SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    StoreWindowRect();
    PlaceEdit(NoteGeometry::EditRectAfterSize(size.cx, size.cy, m_metrics));
    UpdateShape();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CNoteWnd::OnDpiChanged(int dpi, const RECT& suggested)
{
    // Moved onto a monitor of another scale: the same note in that
    // monitor's pixels, at the place the system suggests. The size
    // notification that follows stores it back in 96-DPI units, unchanged.
    TakeScale(DisplayScale(dpi));
    if (m_pNote)
        ReplaceFont();
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateShape();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CNoteWnd::PlaceEdit(const NoteRect& rc)
{
    // The first size notifications arrive before the edit control exists.
    if (m_edit)
        MoveWindow(m_edit, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
}

void CNoteWnd::StoreWindowRect()
{
    if (!m_pNote)
        return;
    RECT rc;
    GetWindowRect(m_hWnd, &rc);
    m_pNote->m_rcWindow = m_scale.ToBase(NoteRect{rc.left, rc.top, rc.right, rc.bottom});
    m_host.NoteMoved();
}

void CNoteWnd::OnCommand(WPARAM wParam)
{
    const int id = LOWORD(wParam);
    if (id == IDC_NOTE_EDIT) {
        if (HIWORD(wParam) == EN_CHANGE)
            OnTextChanged();
        return;
    }
    switch (id) {
    case ID_NOTE_SCHEDULE: OnSchedule(); break;
    case ID_NOTE_ONTOP: OnAlwaysOnTop(); break;
    case ID_NOTE_HIDE: OnHide(); break;
    case ID_NOTE_DELETE: OnDelete(); break;
    case ID_NOTE_MORE_COLOURS: OnMoreColours(); break;
    case ID_NOTE_FONT: OnFont(); break;
    case ID_NOTE_STYLE_DEFAULT: OnUseAsDefault(); break;
    case ID_NOTE_BULLETS: m_rich.MarkLines(NoteListMarks::Mark::kBullet); break;
    case ID_NOTE_CHECKLIST: m_rich.MarkLines(NoteListMarks::Mark::kBox); break;
    default:
        if (id >= ID_NOTE_PAPER_FIRST && id <= ID_NOTE_PAPER_LAST)
            OnPaper(kPaperChoices[id - ID_NOTE_PAPER_FIRST].color);
        else if (id >= ID_NOTE_FORMAT_FIRST && id <= ID_NOTE_FORMAT_LAST && m_edit) {
            m_rich.ToggleFormat(static_cast<uint8_t>(1 << (id - ID_NOTE_FORMAT_FIRST)));
            OnFormatChanged();
        } else if (SnoozeChoice snooze; SnoozeChoiceOfCommand(id, snooze) && m_pNote &&
                                      SnoozeNote(*m_pNote, snooze, CurrentNoteTime()))
            OnHide();  // and the pass brings it back
        break;
    }
}

void CNoteWnd::OnTextChanged()
{
    if (!m_pNote)
        return;
    WaitForFormats();
    if (m_rich.Length() <= kLargeTextLength) {
        m_bTextWaiting = true;
        TakeTypedText();
        return;
    }
    // Whoever changes a note marks the notes unsaved at once; the text
    // itself follows before anything reads or saves it.
    m_host.NoteMoved();
    if (m_bTextWaiting)
        return;
    m_bTextWaiting = true;
    SetTimer(m_hWnd, kTypedTextTimer, kTypedTextDelayMs, nullptr);
}

void CNoteWnd::OnFormatChanged()
{
    if (!m_pNote)
        return;
    WaitForFormats();
    m_host.NoteMoved();  // unsaved from now on
}

void CNoteWnd::WaitForFormats()
{
    if (m_bFormatsWaiting)
        return;
    m_bFormatsWaiting = true;
    WindowsWithTypedText().push_back(this);
}

void CNoteWnd::TakeTypedText()
{
    if (!m_bTextWaiting)
        return;
    m_bTextWaiting = false;
    KillTimer(m_hWnd, kTypedTextTimer);
    if (!m_pNote || !m_edit)
        return;
    m_pNote->m_strText = m_rich.Text();
    m_host.NoteChanged(m_pNote->m_pos);
}

void CNoteWnd::TakeWaiting()
{
    TakeTypedText();
    if (!m_bFormatsWaiting)
        return;
    m_bFormatsWaiting = false;
    auto& waiting = WindowsWithTypedText();
    waiting.erase(std::remove(waiting.begin(), waiting.end(), this), waiting.end());
    if (m_pNote && m_edit && IsWindow(m_edit))
        m_pNote->m_formats = m_rich.Runs();
}

void CNoteWnd::TakeTypedTexts()
{
    // Copied: taking a text may let a window go.
    const std::vector<CNoteWnd*> waiting = WindowsWithTypedText();
    for (CNoteWnd* wnd : waiting)
        wnd->TakeWaiting();
}

template <class Modal>
bool CNoteWnd::RunWhileBusy(Modal&& modal)
{
    const HWND self = m_hWnd;
    m_bBusy = true;
    modal();
    if (!StillOwns(self, this))
        return false;
    m_bBusy = false;
    return true;
}

void CNoteWnd::ShowContextMenu()
{
    const HWND self = m_hWnd;
    // Also busy while the note's scheduling dialog runs over the main window:
    // the note must not be deleted under it.
    if (m_bBusy || (m_pNote && m_pNote->m_bInSchedDialog)) {
        MessageBeep(0);
        BringWindowToTop(self);
        SetForegroundWindow(self);
        return;
    }
    // The chosen item arrives afterwards as a WM_COMMAND.
    const uint8_t formats = m_edit ? m_rich.SelectionFormats() : 0;
    const bool alive = RunWhileBusy([&] { TrackNoteMenu(self, m_pNote, formats); });
    if (alive)
        PostMessageA(self, WM_NULL, 0, 0);
}

void CNoteWnd::ApplyLook()
{
    m_hbrBack.Reset();
    ReplaceFont();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    InvalidateRect(m_edit, nullptr, TRUE);
    m_host.NoteChanged(m_pNote->m_pos);
}

void CNoteWnd::OnPaper(ColorRef paper)
{
    if (!m_pNote)
        return;
    m_pNote->m_crBack = paper;
    ApplyLook();
}

void CNoteWnd::OnMoreColours()
{
    if (!m_pNote || m_bBusy)
        return;
    ColorRef colour = m_pNote->m_crBack;
    bool chosen = false;
    // Busy: no menu, and so no Delete, while the dialog is open. The note
    // may still be deleted from the note list meanwhile.
    if (RunWhileBusy([&] { chosen = ChooseNoteColour(m_hWnd, colour); }) && chosen)
        OnPaper(colour);
}

void CNoteWnd::OnFont()
{
    if (!m_pNote || m_bBusy)
        return;
    LogFont font = m_pNote->m_logFont;
    ColorRef ink = m_pNote->m_crText;
    bool chosen = false;
    if (!RunWhileBusy([&] { chosen = ChooseNoteFont(m_hWnd, font, ink); }) || !chosen || !m_pNote)
        return;
    m_pNote->m_logFont = font;
    m_pNote->m_crText = ink;
    ApplyLook();
}

void CNoteWnd::OnUseAsDefault()
{
    if (m_pNote)
        m_host.UseAsNewNoteStyle(m_pNote->m_pos);
}

void CNoteWnd::OnSchedule()
{
    if (!m_pNote || !s_openScheduleDialog || m_bBusy)
        return;
    RunWhileBusy([&] { s_openScheduleDialog(m_hWnd, *m_pNote, m_host); });
}

void CNoteWnd::OnAlwaysOnTop()
{
    if (!m_pNote)
        return;
    m_pNote->m_bOnTop = m_pNote->m_bOnTop ? 0 : 1;
    SetWindowPos(m_hWnd, m_pNote->m_bOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE);
    m_host.NoteChanged(m_pNote->m_pos);
}

CNote* CNoteWnd::DetachFromNote()
{
    // What was typed belongs to the note, whatever happens to it next.
    if (m_edit && IsWindow(m_edit))
        TakeWaiting();
    CNote* note = m_pNote;
    m_pNote = nullptr;
    // A note shown again meanwhile refers to its new window: leave that be.
    if (note && note->m_pWnd == this)
        note->m_pWnd = nullptr;
    return note;
}

void CNoteWnd::OnHide()
{
    // The window lets go of the note now, not when the close arrives: the
    // note may be shown again or deleted before then.
    if (CNote* note = DetachFromNote())
        HideNote(*note);
    PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

void CNoteWnd::HideNote(CNote& note)
{
    note.m_bVisible = 0;
    m_host.NoteChanged(note.m_pos);
}

void CNoteWnd::OnDelete()
{
    const HWND self = m_hWnd;
    // The host removes the row and the note before the window goes.
    if (CNote* note = DetachFromNote())
        m_host.NoteDeleted(note->m_pos);
    if (IsWindow(self))
        DestroyWindow(self);
}

void CNoteWnd::OnClose()
{
    // Hide and the main window let go of the note or hide it before they
    // close its window. A close that finds the note still shown here came
    // from the user (Alt+F4): a note the user closes is hidden, or the next
    // housekeeping pass would show it again.
    const bool closedByUser = m_pNote && m_pNote->m_pWnd == this && m_pNote->m_bVisible;
    if (CNote* note = DetachFromNote(); note && closedByUser)
        HideNote(*note);
    DefaultProc(WM_CLOSE, 0, 0);
}

void CNoteWnd::OnFinalMessage()
{
    // However the window went, the note must not keep referring to it.
    DetachFromNote();
    if (m_bDeleteWhenGone)
        delete this;
}
