#pragma once
// The on-screen form of one shown note: a borderless paper-coloured window
// with a black outline, a turned-over corner and a rich edit control holding
// the note's text. It edits the note record in place and tells its host.
#include <windows.h>

#include "framework/CWindowBase.h"
#include "framework/DisplayScale.h"
#include "framework/ScopedHandles.h"
#include "notes/CNote.h"
#include "notewnd/INoteHost.h"
#include "notewnd/NoteGeometry.h"
#include "notewnd/NoteHitTest.h"
#include "notewnd/NoteRichEdit.h"
#include "notewnd/SharedNoteFont.h"

class CNoteWnd : public CWindowBase {
public:
    // Makes the window for a note and shows it without activating it. Returns
    // the object, which deletes itself once its window is destroyed, or
    // nullptr when no window could be made. The caller stores the result in
    // note->m_pWnd. The window tells host of every change; host must
    // outlive it.
    static CNoteWnd* Create(CNote* note, bool focusOnCreate, INoteHost& host);

    // The scheduling dialog plugs in here: it runs modally with the note
    // window as parent, edits the note's schedule and tells host of it.
    using ScheduleDialogOpener = void (*)(HWND parent, CNote& note, INoteHost& host);
    static void SetScheduleDialogOpener(ScheduleDialogOpener opener);

    // Recomputes the outline from the client size and hands the window a new
    // region cut to it.
    void UpdateShape();
    // Opens the note's menu at the cursor; while the menu or the scheduling
    // dialog is open it only beeps and brings the note to the front.
    void ShowContextMenu();
    // Moves the window wholly into the work area of its screen (its top-left
    // corner, when it is larger), for a note the user asked to see.
    void BringIntoWorkArea();
    // Lifts the window over every other window without taking the keyboard
    // from the program the user is in; a note kept on top stays on top, any
    // other note goes back among the ordinary windows.
    void RaiseWithoutActivating();

    // The text typed into a large note goes into the note a moment later;
    // this puts every window's waiting text into its note now. Whatever
    // reads the notes' texts or saves them calls it first.
    static void TakeTypedTexts();

    bool PreTranslateMessage(MSG& msg) override;
    void OnFinalMessage() override;

    // Read-only views for callers that need the window's state.
    HWND GetEdit() const { return m_edit; }
    // Where a stored rectangle lies on this window's display, in pixels.
    NoteRect ShownRect(const NoteRect& stored) const { return m_scale.ToPixels(stored); }
    bool IsBusy() const { return m_bBusy; }
    int GetOutline(const POINT** points) const
    {
        *points = m_pts;
        return m_nPts;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CNoteWnd(CNote* note, bool focusOnCreate, INoteHost& host, const DisplayScale& scale);
    ~CNoteWnd() override = default;
    friend void DestroyNoteWindow(CNoteWnd* wnd);

    void OnCreateContents();
    void OnPaint();
    LRESULT OnReload();
    void OnTimer(UINT_PTR id);
    void OnFocusTimer();
    void OnActivate(WPARAM wParam);
    void OnSetFocus();
    // The keyboard to the text, the caret after its last character.
    void TypeAtEnd();
    // A key the text's own control handles otherwise; false when it is not one.
    bool OnTextKey(const MSG& msg);
    void OnFormatChanged();
    void OnLButtonDown(POINT at);
    void OnMouseMove(POINT at);
    void OnSizing(const RECT& proposed);
    void OnSize(int cx, int cy);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void TakeScale(const DisplayScale& scale);
    void OnCommand(WPARAM wParam);
    void OnTextChanged();
    // The edit control's text into the note, when some is waiting.
    void TakeTypedText();
    // The text and its formats into the note, when any is waiting.
    void TakeWaiting();
    // The formats go into the note with the next save.
    void WaitForFormats();
    void OnSchedule();
    void OnAlwaysOnTop();
    void OnHide();
    void OnDelete();
    void OnClose();
    // The note, already let go of, is hidden: its row is told and the file saved.
    void HideNote(CNote& note);
    void OnPaper(ColorRef paper);
    void OnMoreColours();
    void OnFont();
    void OnUseAsDefault();
    // Shows the note's paper, ink and font as they now are in the note.
    void ApplyLook();
    // Runs a modal loop (the menu, a dialog) with the window busy, so that
    // no second one opens over it. False when the window was destroyed
    // meanwhile: the object is gone then, and nothing of it may be touched.
    template <class Modal>
    bool RunWhileBusy(Modal&& modal);

    NoteHit HitTestClient(int x, int y) const;
    void PlaceEdit(const NoteRect& rc);
    void StoreWindowRect();
    // The paper brush shared by the painting and the edit control's colours.
    HBRUSH PaperBrush();
    // Lets go of the note: from then on the window never touches it, and the
    // note no longer refers to this window.
    CNote* DetachFromNote();
    void ReplaceFont();

    bool m_bBusy = false;
    // Typed text not yet in the note (see TakeTypedTexts).
    bool m_bTextWaiting = false;
    // Formats not yet in the note: read at the next save, not at every key.
    bool m_bFormatsWaiting = false;
    POINT m_pts[10] = {};
    int m_nPts = 0;
    // The window has a region cut to m_pts (the window owns the region).
    bool m_bRegionSet = false;
    NoteRichEdit m_rich;
    HWND m_edit = nullptr;  // m_rich's control
    int m_nBorder = 0;
    SharedNoteFont m_font;
    bool m_bFocusOnCreate = false;
    INoteHost& m_host;
    UniqueBrush m_hbrBack;
    CNote* m_pNote = nullptr;
    // The scale of the monitor the window is on: the note's stored rectangle
    // and font height are 96-DPI values, shown through it.
    DisplayScale m_scale;
    NoteGeometry::NoteMetrics m_metrics;
    // Set once the window exists: from then on the object goes with it.
    bool m_bDeleteWhenGone = false;
};
