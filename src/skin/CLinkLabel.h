#pragma once
// A static control that paints itself: its own text and background colours
// and font, optionally blinking text, its own cursor, and a click that opens
// a document or web address through the shell. It is attached to a static
// control of a dialog template, so the window exists before any setting.
#include <windows.h>

#include <string>

#include "framework/CSubclassedWindow.h"
#include "framework/ScopedHandles.h"

class CLinkLabel : public CSubclassedWindow {
public:
    static constexpr UINT_PTR kBlinkTimer = 1;
    static constexpr UINT kBlinkMs = 500;

    CLinkLabel();
    ~CLinkLabel() override;

    // Each setter answers the label, so calls can be chained.
    // The background: no redraw until the next paint.
    virtual CLinkLabel& SetBackColour(COLORREF colour);
    virtual CLinkLabel& SetTextColour(COLORREF colour);
    virtual CLinkLabel& SetBold(bool bold);
    virtual CLinkLabel& SetUnderline(bool underline);
    // Character height in logical units (the font's height is its negative).
    virtual CLinkLabel& SetCharHeight(int height);
    // On: the text shows for kBlinkMs, then hides for kBlinkMs, and so on.
    // Off: the text stays visible.
    virtual CLinkLabel& BlinkText(bool blink);
    // A link gets the notify style, without which a static control sees no
    // clicks and no cursor queries; openOnClick makes a left click open the
    // target.
    virtual CLinkLabel& SetHyperlink(bool link, bool openOnClick);
    virtual CLinkLabel& SetHoverCursor(HCURSOR cursor);
    // What a click opens (UTF-8); when empty, the label's own text.
    CLinkLabel& SetTarget(const std::string& target);
    const std::string& Target() const { return m_strTarget; }

    bool IsBlinkPhaseOn() const { return m_bBlinkPhase; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Asks the shell to open the target. Replaceable for tests, so that no
    // browser starts.
    virtual void OpenTarget(const std::string& target);

private:
    void RemakeFont();
    void Redraw();
    void OnPaint();
    void OnBlinkTick();
    void OnLeftButtonDown();
    void OnSysColourChange();
    COLORREF BackgroundColour() const;

    COLORREF m_crText;
    UniqueBrush m_brSystem;
    UniqueBrush m_brBack;
    COLORREF m_crBack = 0;
    LOGFONTW m_lf{};
    UniqueFont m_font;
    bool m_bBlinkPhase = false;
    bool m_bTimerRunning = false;
    int m_nBlinkMode = 0;
    HCURSOR m_hLinkCursor = nullptr;
    bool m_bOpenOnClick = false;
    std::string m_strTarget;
};
