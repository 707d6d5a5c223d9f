#pragma once
// The start-up picture: a borderless popup that shows bitmap 131 for two
// seconds while the main window comes up, then closes itself. At most one
// exists at a time.
#include <windows.h>

#include "framework/CWindowBase.h"
#include "framework/ScopedHandles.h"

// Whether OpenSplash may show the picture (off until enabled).
void SetSplashEnabled(bool enabled);
// Shows the picture centred on its owner, unless it is disabled or already
// shown. Nothing is shown, and nothing said, when the picture or the window
// cannot be made.
void OpenSplash(HWND owner);
// Closes the picture now, if shown, and repaints the main window at once.
void CloseSplash();

class CSplashWindow : public CWindowBase {
public:
    static constexpr UINT_PTR kCloseTimer = 1;
    static constexpr UINT kShowMs = 2000;
    static constexpr const char* kClassName = "VelumoSplash";

    // The one shown splash, or none.
    static CSplashWindow* Current() { return s_current; }

private:
    friend void OpenSplash(HWND owner);

    CSplashWindow();
    ~CSplashWindow() override;
    bool Create(HWND owner);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The window is gone: the splash deletes itself.
    void OnFinalMessage() override { delete this; }
    void CentreOnWorkArea();
    void OnPaint();

    static CSplashWindow* s_current;
    UniqueBitmap m_bitmap;
    SIZE m_size{};
};
