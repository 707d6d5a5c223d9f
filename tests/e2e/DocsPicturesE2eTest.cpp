// The pictures of the README and the help: the real program with a few notes
// on a plain desktop, its window, the scheduling dialog, reminders, and a
// note with a checklist. Not a check:
// scripts/screenshots.sh runs it on request, with VELUMO_SHOTS_DIR naming the
// folder for the pictures (24-bit BMP; the script converts them to PNG).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "E2eDriver.h"
#include "notes/CNoteList.h"
#include "notes/NoteStyle.h"
#include "schedule/IsDue.h"

namespace {

// Keeps the desktop area behind the pictures one calm colour, whatever the
// display shows there.
class Backdrop {
public:
    Backdrop()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = CreateSolidBrush(RGB(58, 110, 165));
        wc.lpszClassName = "VelumoDocsBackdrop";
        RegisterClassA(&wc);
        m_hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                 wc.hInstance, nullptr);
        SetWindowPos(m_hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ~Backdrop() { DestroyWindow(m_hwnd); }

private:
    HWND m_hwnd = nullptr;
};

// Lets our own window paint while the program settles.
void PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    }
}

// Saves a rectangle of the screen as a 24-bit BMP file.
bool SaveScreen(const RECT& rc, const std::string& path)
{
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;  // bottom-up, as BMP files store rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((w * 3 + 3) / 4) * 4;
    const DWORD imageSize = stride * h;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + imageSize;
    std::vector<uint8_t> file(fh.bfSize);
    std::memcpy(file.data(), &fh, sizeof fh);
    bi.bmiHeader.biSizeImage = imageSize;
    std::memcpy(file.data() + sizeof fh, &bi.bmiHeader, sizeof bi.bmiHeader);
    std::memcpy(file.data() + fh.bfOffBits, bits, imageSize);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return WriteWholeFile(path, file);
}

std::vector<uint8_t> PictureNotes()
{
    struct PictureNote {
        const char16_t* text;
        NoteRect rc;
        ColorRef paper;
        bool visible, onTop, scheduled;
    } pictureNotes[] = {
        {u"Dentist on Thursday, 10:30\r\nBring the insurance card!", {70, 100, 300, 230}, kDefaultPaperColor, true, true,
         true},
        {u"Shopping:\r\n- milk\r\n- coffee beans\r\n- batteries (AA)", {340, 85, 545, 255}, kDefaultPaperColor, true,
         false, false},
        {u"Call Anna about the\r\nweekend trip", {590, 120, 800, 240}, kPaperChoices[1].color, true, false, false},
        {u"Renew the passport before June", {100, 100, 300, 250}, kDefaultPaperColor, false, false, true},
        {u"Team meeting: every Monday 9:00", {100, 100, 300, 250}, kPaperChoices[2].color, false, false, true},
    };
    // The first note comes back every Thursday at 10:00, from 8 January 2026.
    std::tm start{};
    start.tm_year = 2026 - 1900;
    start.tm_mon = 0;
    start.tm_mday = 8;
    start.tm_hour = 10;
    start.tm_isdst = -1;
    const auto startTime = static_cast<NoteTime>(std::mktime(&start));
    CNoteList list;
    bool first = true;
    for (const auto& s : pictureNotes) {
        auto note = std::make_unique<CNote>();
        note->m_strText = s.text;
        note->m_rcWindow = s.rc;
        note->m_crBack = s.paper;
        note->m_bVisible = s.visible;
        note->m_bOnTop = s.onTop;
        note->m_bSchedDisabled = s.scheduled ? 0 : 1;
        note->m_bSchedNew = s.scheduled ? 0 : 1;
        if (first) {
            note->m_nSchedKind = 2;                  // weekly
            note->m_recur[0] = 1;                    // every 1 week
            note->m_recur[2] = 1 << 4;               // on Thursday
            note->m_tStartTime = note->m_tStartDate = startTime;
            note->m_nNotifyMinutes = 15;
            first = false;
        }
        list.Add(note);
    }
    return list.StoreToBytes();
}

// Places on the screen are planned at 96 DPI and scale with the display,
// as the program's own windows do; pictures at another scale are named
// after it ("note-150.bmp" at 144 DPI).
struct ShotScale {
    int dpi = 96;
    int operator()(int base) const { return (base * dpi + 48) / 96; }
    RECT operator()(const RECT& rc) const { return RECT{(*this)(rc.left), (*this)(rc.top), (*this)(rc.right), (*this)(rc.bottom)}; }
    std::string Name(const char* name) const
    {
        return dpi == 96 ? std::string(name) + ".bmp" : std::string(name) + "-" + std::to_string(dpi * 100 / 96) + ".bmp";
    }
};

// Moves a dialog to (x, y), or as near as keeps it whole on the screen: at
// a larger scale the dialogs are wider than the room planned for them.
void PlaceWhole(HWND hwnd, int x, int y)
{
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    x = std::min<int>(x, GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left));
    y = std::min<int>(y, GetSystemMetrics(SM_CYSCREEN) - (rc.bottom - rc.top));
    SetWindowPos(hwnd, HWND_TOP, std::max(0, x), std::max(0, y), 0, 0, SWP_NOSIZE);
}

ShotScale ScreenScale()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return ShotScale{dpi > 0 ? dpi : 96};
}

// The program on a calm desktop, and where its pictures go.
class DocsPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* shots = std::getenv("VELUMO_SHOTS_DIR");
        ASSERT_TRUE(shots && *shots) << "set VELUMO_SHOTS_DIR";
        folder = std::string(shots) + "\\";
    }
    // Saves a rectangle of the screen as the picture of that name at the
    // display's scale.
    bool Shoot(const RECT& rc, const char* name) const { return SaveScreen(rc, folder + scaled.Name(name)); }

    std::string folder;  // ends in a backslash
    const ShotScale scaled = ScreenScale();
    Backdrop backdrop;
    E2eDriver app;  // stopped before the backdrop goes
};

}  // namespace

TEST_F(DocsPictures, DISABLED_DesktopMainWindowAndSchedulingDialog)
{
    HWND main = app.StartOn(PictureNotes());
    ASSERT_NE(main, nullptr);
    SetWindowPos(main, HWND_TOP, scaled(160), scaled(340), 0, 0, SWP_NOSIZE);
    PumpFor(2500);  // the splash, the first pass and the notes' windows
    // Everything sits 40 pixels down: without a tray on the display, Wine
    // shows the notification icons in a small window of its own at the top.

    ASSERT_TRUE(Shoot(scaled(RECT{30, 60, 840, 630}), "desktop"));
    ASSERT_TRUE(Shoot(scaled(RECT{60, 90, 310, 240}), "note"));
    RECT rcMain{};
    GetWindowRect(main, &rcMain);
    ASSERT_TRUE(Shoot(rcMain, "main-window"));

    // Find, as Ctrl+F opens it, with a word typed.
    PostMessageA(main, WM_COMMAND, 33300 /* Find */, 0);
    if (WaitFor([&] { return GetDlgItem(main, 3300) != nullptr; }, 3000)) {
        SendMessageW(GetDlgItem(main, 3300), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"weekend"));
        PumpFor(400);
        ASSERT_TRUE(Shoot(rcMain, "find"));
        PostMessageA(main, WM_COMMAND, 3301 /* close the find box */, 0);
        PumpFor(300);
    }

    // A note's menu with its papers, as a right click in its margin opens it.
    // (At 96 DPI only: larger, the menu opens past the test display's edge.)
    if (scaled.dpi == 96) {
        ClickAt(POINT{600, 200}, true);
        PumpFor(500);
        PressKeys({'U'});
        PumpFor(600);
        ASSERT_TRUE(SaveScreen(RECT{560, 20, 980, 260}, folder + "note-menu.bmp"));
        for (int i = 0; i < 2; ++i) {
            PressKeys({VK_ESCAPE});
            PumpFor(200);
        }
    }

    // The tray menu, as a right click on the tray icon opens it.
    SetCursorPos(scaled(900), scaled(640));
    PostMessageA(main, 0x464 /* WM_TRAYNOTIFY */, 152, WM_RBUTTONUP);
    if (HWND menu = app.WaitForWindow("", 3000, "BitmapMenu")) {
        PumpFor(600);
        RECT rcMenu{};
        GetWindowRect(menu, &rcMenu);
        ASSERT_TRUE(Shoot(rcMenu, "tray-menu"));
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        for (int i = 0; i < 40 && IsWindow(menu); ++i)
            PumpFor(50);
        if (IsWindow(menu))
            PostMessageA(menu, WM_CLOSE, 0, 0);
        PumpFor(300);
    }

    // The options, as the tray menu opens them.
    PostMessageA(main, WM_COMMAND, 32787, 0);
    if (HWND options = app.WaitForWindow("Options", 3000, "#32770")) {
        PlaceWhole(options, scaled(700), scaled(80));
        PumpFor(600);
        RECT rcOptions{};
        GetWindowRect(options, &rcOptions);
        ASSERT_TRUE(Shoot(rcOptions, "options"));
        PostMessageA(options, WM_COMMAND, 1024 /* "&Cancel" */, 0);
        for (int i = 0; i < 40 && IsWindow(options); ++i)
            PumpFor(50);
    }

    // The scheduling dialog of the first note, opened as a user does: its
    // row selected, then the skin's Schedule button.
    HWND list = GetDlgItem(main, 1000);
    for (int row = 0; row < 5; ++row)
        app.SelectRow(list, row, row == 0);
    ASSERT_TRUE(E2eDriver::ClickChildAt(main, scaled(19 + 10), scaled(189 + 8), false));
    HWND dialog = app.WaitForWindow("Scheduling properties", 5000, "#32770");
    if (!dialog)
        GTEST_SKIP() << "no scheduling dialog in this build";
    PlaceWhole(dialog, scaled(700), scaled(80));
    PumpFor(800);
    RECT rcDialog{};
    GetWindowRect(dialog, &rcDialog);
    ASSERT_TRUE(Shoot(rcDialog, "scheduling-dialog"));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

namespace {

// A week of reminders: one note due at once (the balloon), others later in
// the week, and one snoozed for half an hour.
std::vector<uint8_t> ReminderNotes(NoteTime now)
{
    std::tm local{};
    const std::time_t t = now;
    localtime_s(&local, &t);
    const auto at = [&](int dayAhead, int hour, int minute) {
        std::tm tm = local;
        tm.tm_mday += dayAhead;
        tm.tm_hour = hour;
        tm.tm_min = minute;
        tm.tm_sec = 0;
        tm.tm_isdst = -1;
        return static_cast<NoteTime>(std::mktime(&tm));
    };
    struct ReminderNote {
        const char16_t* text;
        uint32_t kind;
        NoteTime start;
        uint8_t recur0, recur2;
    } notes[] = {
        {u"Call Anna about the\r\nweekend trip", 0, at(0, local.tm_hour, local.tm_min), 0, 0},
        {u"Team meeting: every Monday 9:00", 2, at(-14, 9, 0), 1, 1 << 1},
        {u"Water the plants", 1, at(-1, 18, 0), 2, 0},
        {u"Dentist on Thursday, 10:30\r\nBring the insurance card!", 0, at(2, 10, 0), 0, 0},
        {u"Stand up and stretch", 0, 0, 0, 0},
    };
    CNoteList list;
    for (const auto& s : notes) {
        auto note = std::make_unique<CNote>();
        note->m_strText = s.text;
        note->m_rcWindow = {560, 120, 770, 240};
        note->m_bVisible = 0;
        if (s.start) {
            note->m_bSchedDisabled = 0;
            note->m_bSchedNew = 0;
            note->m_nSchedKind = s.kind;
            note->m_tStartDate = note->m_tStartTime = s.start;
            note->m_recur[0] = s.recur0;
            note->m_recur[2] = s.recur2;
            note->m_tLastShown = ConfirmedScheduleMark().value_or(0);
        } else {
            note->m_tSnoozeUntil = now + 1800;
        }
        list.Add(note);
    }
    return list.StoreToBytes();
}

// The balloon the shell shows over the tray icon, if it shows one.
HWND VisibleBalloon()
{
    const std::vector<HWND> balloons = E2eDriver::VisibleBalloons();
    return balloons.empty() ? nullptr : balloons.front();
}

}  // namespace

TEST_F(DocsPictures, DISABLED_ReminderBalloonAndComingUp)
{
    HWND main = app.StartOn(ReminderNotes(CurrentNoteTime()));
    ASSERT_NE(main, nullptr);
    SetWindowPos(main, HWND_TOP, scaled(160), scaled(340), 0, 0, SWP_NOSIZE);
    // The first pass brings the due note up with its balloon.
    ASSERT_NE(app.WaitForNoteWindow(10000), nullptr);
    WaitForPumping([] { return VisibleBalloon() != nullptr; }, 4000);
    PumpFor(800);
    RECT area{0, 0, scaled(840), scaled(300)};
    if (HWND balloon = VisibleBalloon()) {
        // The balloon with the note it tells of and the tray beside it.
        RECT rc{};
        GetWindowRect(balloon, &rc);
        const RECT around = scaled(RECT{0, 0, 800, 260});
        UnionRect(&area, &rc, &around);
    }
    ASSERT_TRUE(Shoot(area, "reminder-balloon"));

    // "Coming up", as the tray menu opens it.
    PostMessageA(main, WM_COMMAND, 33410 /* Coming up */, 0);
    HWND comingUp = app.WaitForWindow("Coming up", 5000, "#32770");
    ASSERT_NE(comingUp, nullptr);
    PlaceWhole(comingUp, scaled(120), scaled(300));
    PumpFor(800);
    RECT rcComingUp{};
    GetWindowRect(comingUp, &rcComingUp);
    ASSERT_TRUE(Shoot(rcComingUp, "coming-up"));
    PostMessageA(comingUp, WM_COMMAND, IDCANCEL, 0);
    PumpFor(300);
}


namespace {

// A to-do note: bold words, a checklist with two items ticked (struck
// through, as ticking leaves them) and a web address.
std::vector<uint8_t> ChecklistNote()
{
    const std::u16string text = u"Saturday:\r\n\u2611 milk\r\n\u2611 bread\r\n\u2610 call the plumber\r\n"
                                u"\u2610 tickets from www.velumo.example\r\nBring the bags!";
    const auto at = [&](std::u16string_view words) { return static_cast<uint32_t>(text.find(words)); };
    auto note = std::make_unique<CNote>();
    note->m_strText = text;
    note->m_rcWindow = {70, 100, 330, 290};
    note->m_crBack = kDefaultPaperColor;
    note->m_formats = {{at(u"Saturday"), 8, kFormatBold},
                       {at(u"milk"), 4, kFormatStrike},
                       {at(u"bread"), 5, kFormatStrike},
                       {at(u"plumber"), 7, kFormatBold},
                       {at(u"bags"), 4, kFormatItalic}};
    CNoteList list;
    list.Add(note);
    return list.StoreToBytes();
}

}  // namespace

TEST_F(DocsPictures, DISABLED_Checklist)
{
    HWND main = app.StartOn(ChecklistNote());
    ASSERT_NE(main, nullptr);
    SetWindowPos(main, HWND_BOTTOM, scaled(600), scaled(400), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    HWND note = app.WaitForNoteWindow(15000);
    ASSERT_NE(note, nullptr);
    PumpFor(2500);  // the splash goes, the note paints
    SetWindowPos(note, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    PumpFor(500);
    ASSERT_TRUE(Shoot(scaled(RECT{60, 90, 340, 300}), "checklist"));
}
