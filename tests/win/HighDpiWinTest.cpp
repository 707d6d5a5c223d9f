// Velumo on a display at 150% (144 DPI): the skin, the note list and the
// note windows at that scale, and notes files that do not change with it.
// These run in a Wine prefix of their own set to 144 DPI (scripts/test.sh);
// anywhere else they are skipped.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ScriptedDialog.h"
#include "app/CNotesApp.h"
#include "core/LocalTime.h"
#include "framework/ScopedHandles.h"
#include "framework/WindowDpi.h"
#include "mainwnd/CBackupsDlg.h"
#include "mainwnd/CDeletedNotesDlg.h"
#include "mainwnd/CMainDlg.h"
#include "mainwnd/MainWindowNoteHost.h"
#include "notewnd/CNoteWnd.h"
#include "notes/DeletedNotesBin.h"
#include "res/resource.h"
#include "framework/ScaledPicture.h"
#include "skin/SkinImage.h"
#include "SkinWinTestUtil.h"
#include "TestFiles.h"
#include "WinTestUtil.h"

namespace {

constexpr int kScaledDpi = 144;

class HighDpiTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (SystemDpi() != kScaledDpi)
            GTEST_SKIP() << "needs a display at 144 DPI (the test command runs these in a prefix of its own)";
        m_app.SetProfileFile(m_folder.Path("Velumo.ini"));
    }
    void TearDown() override
    {
        m_dlg.reset();
        while (NotePos p = m_app.m_notes.GetHeadPosition())
            m_app.m_notes.Remove(p);
        PumpPending();
    }

    void OpenMainWindow()
    {
        ASSERT_TRUE(m_app.m_notes.Load(m_folder.Path("notes.dat")));
        m_dlg = std::make_unique<CMainDlg>(m_app.m_notes, -1);
        m_dlg->SetSkinFile(VELUMO_PACKED_SKIN);
        m_hwnd = m_dlg->CreateModeless(nullptr);
        ASSERT_NE(m_hwnd, nullptr);
        m_app.m_hMainWnd = m_hwnd;
        m_noteHost.SetMainWindow(m_hwnd);
        PumpPending();
    }

    HWND ShowNote(CNote* note)
    {
        note->m_pWnd = CNoteWnd::Create(note, false, m_noteHost);
        EXPECT_NE(note->m_pWnd, nullptr);
        PumpPending();
        return note->m_pWnd ? note->m_pWnd->GetHwnd() : nullptr;
    }

    TempFolder m_folder;
    CNotesApp m_app;
    std::unique_ptr<CMainDlg> m_dlg;
    HWND m_hwnd = nullptr;
    MainWindowNoteHost m_noteHost{m_app.m_notes};
};

SIZE WindowSize(HWND hwnd)
{
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

// Every column but the last is wide enough for its header and its cells with
// the list's margins; the last takes the rest of the list.
void ExpectWholeColumns(HWND list)
{
    HWND header = ListView_GetHeader(list);
    const int columns = Header_GetItemCount(header);
    const int margins = 12;  // six pixels on each side of a cell's text
    for (int column = 0; column + 1 < columns; ++column) {
        const int width = ListView_GetColumnWidth(list, column);
        for (int row = -1; row < ListView_GetItemCount(list); ++row) {
            wchar_t text[128] = {};
            HDITEMW title{};
            title.mask = HDI_TEXT;
            title.pszText = text;
            title.cchTextMax = 128;
            LVITEMW cell{};
            cell.iSubItem = column;
            cell.pszText = text;
            cell.cchTextMax = 128;
            if (row < 0)
                SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&title));
            else
                SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
            const int needs = static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
            EXPECT_LE(needs + margins, width) << "cut: " << Utf8FromWide(text);
        }
    }
    RECT last{}, client{};
    Header_GetItemRect(header, columns - 1, &last);
    GetClientRect(list, &client);
    EXPECT_EQ(last.right, client.right);
}

template <typename Dialog>
void ExpectWholeColumnsIn(ScriptedDialog<Dialog>& dialog, int listId)
{
    dialog.steps = {[&](HWND dlg) { ExpectWholeColumns(GetDlgItem(dlg, listId)); },
                    [](HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0); }};
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
}

std::vector<uint8_t> StoredNotes()
{
    // Rectangles that round differently at 150%, a note of another font
    // height, and hidden notes that never get a window.
    struct Row {
        NoteRect rc;
        int32_t fontHeight;
        bool visible;
    } rows[] = {
        {{100, 100, 300, 250}, -16, true},  {{33, 41, 234, 192}, -13, true}, {{501, 7, 700, 156}, -21, true},
        {{-1401, -33, -1201, 117}, -16, false}, {{0, 0, 45, 45}, 12, false},
    };
    CNoteList list;
    for (const Row& row : rows) {
        auto note = std::make_unique<CNote>();
        note->m_rcWindow = row.rc;
        note->m_logFont.lfHeight = row.fontHeight;
        note->m_bVisible = row.visible ? 1 : 0;
        list.Add(note);
    }
    return list.StoreToBytes();
}

}  // namespace

TEST_F(HighDpiTest, MainWindowIsOneAndAHalfTimesItsSizeAndItsRegionMatchesTheScaledMask)
{
    OpenMainWindow();
    UniqueBitmap mask;
    SIZE maskSize{};
    ASSERT_TRUE(LoadSkinImage(PackedSkinFolder() + "\\mask.bmp", mask, maskSize));
    const SIZE expected = ScaledPictureSize(maskSize, DisplayScale(kScaledDpi));
    const SIZE shown = WindowSize(m_hwnd);
    EXPECT_EQ(shown.cx, expected.cx);
    EXPECT_EQ(shown.cy, expected.cy);

    UniqueRegion windowRegion(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(m_hwnd, windowRegion), ERROR);
    UniqueBitmap scaledMask(ScaleMask(mask, expected));
    UniqueRegion fromMask(RegionFromBitmap(scaledMask, RGB(255, 255, 255), RGB(16, 16, 16)));
    ASSERT_TRUE(fromMask);
    EXPECT_TRUE(EqualRgn(windowRegion, fromMask)) << "the region is the scaled mask's, pixel for pixel";
    RECT box{};
    GetRgnBox(windowRegion, &box);
    EXPECT_LE(box.right, expected.cx);
    EXPECT_LE(box.bottom, expected.cy);

    // The skin buttons sit at their layout rows' places, scaled.
    struct Row {
        int number;
        RECT rc;
    } rows[] = {{0, {29, 27, 181, 168}}, {1, {29, 209, 181, 238}}, {4, {776, 332, 802, 365}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.number);
        const CSkinButton* button = m_dlg->GetSkinButton(row.number);
        ASSERT_NE(button, nullptr);
        const RECT placed = PlacedRect(button->GetHwnd());
        EXPECT_TRUE(EqualRect(&placed, &row.rc)) << placed.left << "," << placed.top << "," << placed.right << ","
                                                 << placed.bottom;
    }
}

TEST_F(HighDpiTest, EveryListHeaderTextIsWholeInsideTheSkinsFrame)
{
    OpenMainWindow();
    HWND list = m_dlg->ListView();
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    ScopedGetDC dc(header);
    ScopedSelect font(dc, reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0)));
    const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    ASSERT_EQ(count, 4);
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        HDITEMA item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        SCOPED_TRACE(text);
        RECT rc{};
        SendMessageA(header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rc));
        SIZE extent{};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
        // The header draws its text with a margin of three edges on each side.
        const int margins = 6 * GetSystemMetrics(SM_CXEDGE);
        EXPECT_LE(extent.cx + margins, rc.right - rc.left) << "cut: " << extent.cx << " in " << rc.right - rc.left;
        EXPECT_LE(extent.cy, rc.bottom - rc.top);
    }
    // The list stays inside the frame the skin draws for it.
    const RECT placed = PlacedRect(list);
    const RECT expected{224, 48, 224 + 537, 48 + 320};
    EXPECT_TRUE(EqualRect(&placed, &expected));
}

TEST_F(HighDpiTest, ANoteStoredAs200x150ShowsAs300x225AndIsStoredBackAs200x150)
{
    auto owned = std::make_unique<CNote>();
    owned->m_rcWindow = NoteRect{100, 100, 300, 250};
    CNote* note = m_app.m_notes.GetAt(m_app.m_notes.Add(owned));
    HWND hwnd = ShowNote(note);
    ASSERT_NE(hwnd, nullptr);
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.left, 150);
    EXPECT_EQ(rc.top, 150);
    EXPECT_EQ(rc.right - rc.left, 300);
    EXPECT_EQ(rc.bottom - rc.top, 225);
    EXPECT_EQ(note->m_rcWindow, (NoteRect{100, 100, 300, 250})) << "the creation's notifications store 96-DPI units";
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(note->m_pWnd->GetEdit(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -24) << "12 points at 144 DPI";
    EXPECT_EQ(note->m_logFont.lfHeight, -16);

    // Dragged to a monitor at 100% and back: the system suggests the
    // rectangles, and the stored values never change.
    struct Move {
        int dpi;
        RECT suggested;
        NoteRect stored;
    } moves[] = {
        {96, {1000, 100, 1200, 250}, {1000, 100, 1200, 250}},
        {144, {150, 150, 450, 375}, {100, 100, 300, 250}},
    };
    for (const Move& move : moves) {
        SCOPED_TRACE(move.dpi);
        SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(move.dpi, move.dpi), reinterpret_cast<LPARAM>(&move.suggested));
        PumpPending();
        GetWindowRect(hwnd, &rc);
        EXPECT_TRUE(EqualRect(&rc, &move.suggested));
        EXPECT_EQ(note->m_rcWindow, move.stored);
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(note->m_pWnd->GetEdit(), WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(font.lfHeight, DisplayScale(move.dpi).ToPixels(-16));
    }
}

TEST_F(HighDpiTest, AFileLoadedShownAndSavedIsByteIdentical)
{
    const std::vector<uint8_t> stored = StoredNotes();
    ASSERT_TRUE(WriteWholeFile(m_folder.Path("notes.dat"), stored));
    OpenMainWindow();
    for (NotePos p = m_app.m_notes.GetHeadPosition(); p; p = CNoteList::GetNext(p)) {
        CNote* note = m_app.m_notes.GetAt(p);
        if (note->m_bVisible)
            ShowNote(note);
    }
    PumpPending();
    m_app.m_notes.m_bModified = 1;
    ASSERT_TRUE(m_app.m_notes.Save());
    EXPECT_EQ(ReadWholeFile(m_folder.Path("notes.dat")), stored);
}

TEST_F(HighDpiTest, MainWindowDraggedToAMonitorOfAnotherScaleTakesItsScale)
{
    OpenMainWindow();
    HWND list = m_dlg->ListView();
    const int textColumn = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 3, 0));
    EXPECT_EQ(textColumn, 540) << "360 at 96 DPI";
    struct Move {
        int dpi;
        SIZE window;
        RECT listPlace;
        int textColumn;
    } moves[] = {
        {96, {545, 260}, {149, 32, 507, 245}, 360},
        {192, {1090, 520}, {298, 64, 1014, 490}, 720},
        {144, {818, 390}, {224, 48, 761, 368}, 540},
    };
    for (const Move& move : moves) {
        SCOPED_TRACE(move.dpi);
        const RECT suggested{40, 30, 40 + move.window.cx, 30 + move.window.cy};
        SendMessageA(m_hwnd, WM_DPICHANGED, MAKEWPARAM(move.dpi, move.dpi), reinterpret_cast<LPARAM>(&suggested));
        PumpPending();
        RECT rc{};
        GetWindowRect(m_hwnd, &rc);
        EXPECT_TRUE(EqualRect(&rc, &suggested));
        RECT box{};
        UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(GetWindowRgn(m_hwnd, region), ERROR);
        GetRgnBox(region, &box);
        EXPECT_LE(box.right, move.window.cx) << "the region is cut at the new scale";
        EXPECT_GT(box.right, move.window.cx * 9 / 10);
        const RECT placed = PlacedRect(list);
        EXPECT_TRUE(EqualRect(&placed, &move.listPlace));
        EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 3, 0), move.textColumn);
        EXPECT_EQ(m_dlg->GetSkinButtonCount(), 6u);
    }
}

TEST_F(HighDpiTest, DeletedNotesAndBackupsShowWholeDatesAndTimes)
{
    // Two-digit month, day and hour: the widest a date and time get.
    const int64_t late = *FromLocal(2026, 12, 29, 22, 59, 0);
    CDeletedNotesBin bin;
    CNote note;
    note.m_strText = u"A note deleted late in the year";
    bin.Add(note, static_cast<NoteTime>(late));
    {
        SCOPED_TRACE("Deleted notes");
        ScriptedDialog<CDeletedNotesDlg> dialog(bin);
        ExpectWholeColumnsIn(dialog, IDC_DELETED_LIST);
    }
    {
        SCOPED_TRACE("Restore from a backup");
        ScriptedDialog<CBackupsDlg> dialog;
        dialog.m_entries = {{"b", {2026, 12, 29, 2}, -1, late}, {"a", {2026, 12, 29, 1}, 10, late - 3600}};
        ExpectWholeColumnsIn(dialog, IDC_BACKUP_LIST);
    }
}
