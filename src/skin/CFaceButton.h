#pragma once
// An owner-drawn push button that shows one of four pictures: normal, over
// (the mouse is on it), down (pressed) and disabled. It lights up while the
// mouse is over it, holding the mouse capture until the mouse leaves, and
// carries a tooltip.
//
// Owner drawing: the system sends WM_DRAWITEM to the button's parent, so the
// parent hands it to DrawItem (CSkinDialog does this for its skin buttons).
#include <windows.h>

#include <string>

#include "framework/CSubclassedWindow.h"
#include "framework/ScopedHandles.h"
#include "skin/ButtonFace.h"

// Makes target a copy of source's pixels inside rect, placed at (0, 0), in a
// bitmap compatible with dc. Without a source nothing happens and target
// stays as it was (empty for a new button).
void CutFace(HDC dc, UniqueBitmap& target, HBITMAP source, const RECT& rect);

class CFaceButton : public CSubclassedWindow {
public:
    CFaceButton() = default;
    ~CFaceButton() override;

    // Gives tool 1 of the tooltip the text (adding the tool on first use) and
    // switches the tooltip on or off. Nothing happens without text. The
    // tooltip window itself is made when the mouse first reaches the button.
    void SetTip(const std::string& text, bool activate);

    // Cuts the four faces out of whole-window skin pictures at rect, with a
    // device context of the button's window.
    void CutFaces(HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled, const RECT& rect);
    // One face, cut from its own source at its own rectangle (a picture
    // scaled for the button alone starts at its corner).
    void CutOneFace(ButtonFace face, HBITMAP source, const RECT& rect);
    // Whether the faces other than the normal one are still to be cut; until
    // then the normal face stands in for them. A face that stays empty after
    // that (its picture is missing) draws as empty.
    void SetFacesPending(bool pending) { m_bFacesPending = pending; }

    // Paints the face the state calls for; called with the parent's
    // WM_DRAWITEM for this button.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);

    bool PreTranslateMessage(MSG& msg) override;

    bool IsHighlighted() const { return m_bHighlighted; }
    // Makes the tooltip if the mouse has not yet.
    HWND GetTooltip();
    void SetLatching(bool latching) { m_bLatching = latching; }

protected:
    void PreSubclassWindow() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The hover tracking that follows the default mouse-move handling.
    void TrackHover(WPARAM keys, LPARAM position);
    void ClearHighlight();

private:
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
    void OnCaptureChanged();
    void EnsureTooltip();
    void ApplyTip();
    HBITMAP FaceBitmap(ButtonFace face) const;

    HWND m_hTooltip = nullptr;  // owned, made on first need
    std::string m_strTip;
    bool m_bTipActive = false;
    bool m_bLatched = false;
    bool m_bLatching = false;
    bool m_bHighlighted = false;
    bool m_bFacesPending = false;
    UniqueBitmap m_bmpNormal;
    UniqueBitmap m_bmpOver;
    UniqueBitmap m_bmpDown;
    UniqueBitmap m_bmpDisabled;
};
