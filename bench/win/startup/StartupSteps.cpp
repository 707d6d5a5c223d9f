// Where Velumo's start-up goes: the program's own application object and main
// window, run once in a fresh process, with a mark at the end of each step
// from the process's creation to the main window's first paint and on to the
// first housekeeping pass. The marks come from overriding the window's own
// steps (the splash, the skin, the region) and from the messages the window
// is sent on the way (its icons, the list's WM_NOTIFYFORMAT, the title), so
// the program runs exactly as Velumo.exe does. The pass ends the run.
// velumo_startup_bench.exe starts this program from the folder of a copy of
// Velumo.exe (its skin and no settings file) and takes the medians:
//   velumo_startup_steps.exe <notes file> <file for the marks> <QueryPerformanceCounter at its start>
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "WinTiming.h"
#include "app/CNotesApp.h"
#include "framework/OleUse.h"
#include "mainwnd/CMainDlg.h"

namespace {

struct Mark {
    std::string step;  // what ended here
    double ms;         // since the process was asked for
};

std::vector<Mark> g_marks;
double g_startSeconds = 0;  // the process's start, on the NowSeconds clock

// The moment the parent asked for this process, on the performance counter
// (one clock for every process of the machine).
void TakeProcessStart(const char* counter)
{
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    g_startSeconds = static_cast<double>(std::strtoll(counter, nullptr, 10)) / static_cast<double>(frequency.QuadPart);
}

void MarkStep(const char* step)
{
    g_marks.push_back({step, (NowSeconds() - g_startSeconds) * 1000});
}

// Marks each step of the window's making; once the first housekeeping pass
// has run, the window is closed as the user would.
class TimedMainDlg : public CMainDlg {
public:
    using CMainDlg::CMainDlg;

protected:
    BOOL OnInitDialog() override
    {
        MarkStep("the dialog made from its template (list control, dialog font)");
        m_bInInit = true;
        const BOOL result = CMainDlg::OnInitDialog();
        m_bInInit = false;
        MarkStep("the window's place, the global shortcuts, the timers");
        return result;
    }
    void OpenStartupSplash() override
    {
        CMainDlg::OpenStartupSplash();
        MarkStep("the splash (picture loaded, window made and painted)");
    }
    void LoadSkin() override
    {
        MarkStep("the note list: columns, pictures, widths, rows; new-note style");
        CMainDlg::LoadSkin();
        MarkStep("the skin: buttons made and their faces cut");
    }
    void SetSkinRegion(HBITMAP mask) override
    {
        MarkStep("the skin's pictures read (Main and Mask; the other three where read here)");
        CMainDlg::SetSkinRegion(mask);
        MarkStep("the skin: the window's region");
    }
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        MarkMessage(msg, wParam, true);
        const INT_PTR result = CMainDlg::HandleMessage(msg, wParam, lParam);
        MarkMessage(msg, wParam, false);
        return result;
    }

private:
    void MarkMessage(UINT msg, WPARAM wParam, bool before)
    {
        if (m_bInInit && before && msg == WM_SETICON && !m_bIconsSet) {
            m_bIconsSet = true;
            MarkStep("the system menu (a build that sets the icons here)");
        } else if (m_bInInit && before && msg == WM_NOTIFYFORMAT && !m_bListStarted) {
            m_bListStarted = true;
            MarkStep("the system menu, and the icons where a build sets them here");
        } else if (msg == WM_PAINT && !m_bPainted) {
            if (before) {
                MarkStep("shown, until its first WM_PAINT");
            } else {
                m_bPainted = true;
                MarkStep("FIRST PAINT: the skin's background");
            }
        } else if (msg == WM_TIMER && wParam == kMainWindowShownTimer) {
            MarkStep(before ? "the children's first paint (list, buttons), until the zero timer"
                            : "after the first paint: other button faces, icons, shortcuts, tray icon, OLE, visible notes");
        } else if (msg == WM_TIMER && wParam == kTickTimer && !m_bTicked) {
            MarkStep(before ? "idle until the first housekeeping pass" : "the first housekeeping pass");
            if (!before) {
                m_bTicked = true;
                PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
            }
        }
    }

    bool m_bInInit = false;
    bool m_bIconsSet = false;
    bool m_bListStarted = false;
    bool m_bPainted = false;
    bool m_bTicked = false;
};

class TimedApp : public CNotesApp {
protected:
    void RunMainWindow() override
    {
        MarkStep("the application: one copy, paths, settings, notes loaded");
        TimedMainDlg dlg(m_notes);
        MarkStep("the main window object (new-note font)");
        dlg.DoModal(nullptr);
        m_hMainWnd = nullptr;
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (__argc < 4)
        return 2;
    TakeProcessStart(__argv[3]);
    MarkStep("the process started and loaded, until WinMain");
    const std::string notesFile = __argv[1], marksFile = __argv[2];
    // As Velumo's WinMain does.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    MarkStep("the common controls set up");
    int exitCode = 0;
    {
        TimedApp app;
        exitCode = app.Run(instance, {notesFile});
    }
    OleUse::End();
    FILE* out = std::fopen(marksFile.c_str(), "w");
    if (!out)
        return 3;
    for (const Mark& mark : g_marks)
        std::fprintf(out, "%.3f\t%s\n", mark.ms, mark.step.c_str());
    std::fclose(out);
    return exitCode;
}
