#include "skin/CSkinDialog.h"

#include <algorithm>

#include <windowsx.h>

#include "framework/WideText.h"
#include "framework/WindowDpi.h"
#include "skin/RegionRuns.h"
#include "framework/ScaledPicture.h"
#include "skin/SkinImage.h"
#include "skin/SkinLayout.h"

namespace {

constexpr int kNoteListId = 1000;
constexpr DWORD kValueChars = 2048;

// The value as UTF-8, like every path of the program.
std::string ReadSkinValue(const std::string& skinFile, const char* key)
{
    wchar_t value[kValueChars] = {};
    GetPrivateProfileStringW(L"Screen", WideFromUtf8(key).c_str(), L"", value, kValueChars,
                             WideFromUtf8(skinFile).c_str());
    return Utf8FromWide(value);
}

// Layout rows are 96-DPI places in the skin's pictures; a button sits at
// the window's scale.
RECT ShownButtonRect(const SkinButtonRow& row, const DisplayScale& scale)
{
    const NoteRect shown = scale.ToPixels(NoteRect{row.left, row.top, row.right, row.bottom});
    return RECT{shown.left, shown.top, shown.right, shown.bottom};
}

}  // namespace

CSkinDialog::~CSkinDialog()
{
    ReleaseSkin();
    m_retiredButtons.clear();
}

void CSkinDialog::OpenSkin(const std::string& skinIniPath, SkinFaces faces)
{
    if (IsExistingFile(skinIniPath)) {
        m_strSkinFile = skinIniPath;
        m_bFacesLater = faces == SkinFaces::kNormalFirst;
        LoadSkin();
        return;
    }
    MessageBoxA(m_hWnd, "Can not load skin files!", "Error", MB_OK | MB_ICONQUESTION);
    OnOK();
}

void CSkinDialog::OnSkinButton(const std::string&) {}

void CSkinDialog::OnSkinButtonClicked(int number)
{
    if (CSkinButton* button = GetSkinButton(number))
        OnSkinButton(button->GetName());
}

void CSkinDialog::OnSkinHover(const std::string&, POINT) {}

void CSkinDialog::SetSkinRegion(HBITMAP mask)
{
    if (!m_hWnd || !IsWindow(m_hWnd))
        return;
    UniqueRegion region(RegionFromBitmap(mask, RGB(255, 255, 255), RGB(16, 16, 16)));
    if (region && SetWindowRgn(m_hWnd, region, TRUE))
        region.Release();  // the region now belongs to the window
    else
        MessageBoxA(m_hWnd, "hello", "Hata", MB_OK);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CSkinDialog::LoadSkin()
{
    ReleaseSkin();
    const std::string folder = SkinFolder(m_strSkinFile);
    SIZE size{};
    const auto load = [&](const char* key, UniqueBitmap& target) {
        return LoadSkinImage(folder + ReadSkinValue(m_strSkinFile, key), target, size);
    };
    if (m_hWnd)
        m_scale = WindowScale(m_hWnd);
    load("Main", m_bmpMain);
    // A mask that cannot be read, or one too large to be a window's outline,
    // leaves the window at its size.
    if (load("Mask", m_bmpMask) && IsMaskSizeAccepted(size.cx, size.cy) && m_hWnd) {
        const SIZE shown = ScaledPictureSize(size, m_scale);
        // A window not yet shown is not raised: under Wine raising it cost
        // a tenth of the start-up, and showing it puts it on top anyway.
        const bool shownNow = IsWindowVisible(m_hWnd);
        SetWindowPos(m_hWnd, HWND_TOP, 0, 0, shown.cx, shown.cy,
                     SWP_NOMOVE | SWP_NOOWNERZORDER | (shownNow ? 0 : SWP_NOZORDER | SWP_NOACTIVATE));
    }
    if (!m_bFacesLater)
        ReadFacePictures();
    const ScaledSkin* scaled = CurrentScaledSkin();
    SetSkinRegion(scaled ? scaled->mask.Get() : m_bmpMask.Get());
    CreateSkinButtons();
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CSkinDialog::ReadFacePictures()
{
    const std::string folder = SkinFolder(m_strSkinFile);
    SIZE size{};
    LoadSkinImage(folder + ReadSkinValue(m_strSkinFile, "Over"), m_bmpOver, size);
    LoadSkinImage(folder + ReadSkinValue(m_strSkinFile, "Down"), m_bmpDown, size);
    LoadSkinImage(folder + ReadSkinValue(m_strSkinFile, "Disabled"), m_bmpDisabled, size);
    m_bFacePicturesRead = true;
}

void CSkinDialog::LoadButtonFaces()
{
    // The three pictures cost as much again as the two the window shows
    // first: the window is on the screen before they are read.
    if (m_bFacePicturesRead || m_strSkinFile.empty())
        return;
    ReadFacePictures();
    for (const auto& button : m_buttons) {
        CutButtonFaces(*button, button->GetNumber(), false);
        button->SetFacesPending(false);
        // One the mouse is on already shows its Over face now.
        InvalidateRect(button->GetHwnd(), nullptr, FALSE);
    }
}

void CSkinDialog::CutButtonFaces(CFaceButton& button, int layoutRow, bool normal)
{
    SkinButtonRow row;
    if (layoutRow < 0 || static_cast<size_t>(layoutRow) >= g_skinButtonLayout.size() ||
        !ReadSkinButtonRow(g_skinButtonLayout[layoutRow], row))
        return;
    const RECT baseRect{row.left, row.top, row.right, row.bottom};
    const RECT rect = ShownButtonRect(row, m_scale);
    if (const ScaledSkin* scaled = CurrentScaledSkin())
        CutScaledFaces(button, normal ? scaled->main.Get() : nullptr, baseRect, rect);
    else
        button.CutFaces(normal ? m_bmpMain.Get() : nullptr, m_bmpOver, m_bmpDown, m_bmpDisabled, rect);
}

const CSkinDialog::ScaledSkin* CSkinDialog::CurrentScaledSkin()
{
    if (m_scale.IsBase())
        return nullptr;
    auto [at, made] = m_scaledSkins.try_emplace(m_scale.Dpi());
    if (made) {
        // Both scale by the same factor from their own sizes, so a picture
        // and a mask of one size stay of one size.
        const auto scale = [this](HBITMAP picture, bool isMask) -> HBITMAP {
            BITMAP info{};
            if (!picture || !GetObjectA(picture, sizeof info, &info))
                return nullptr;
            const SIZE to = ScaledPictureSize(SIZE{info.bmWidth, info.bmHeight}, m_scale);
            return isMask ? ScaleMask(picture, to) : ScalePicture(picture, to);
        };
        ScaledSkin& skin = at->second;
        skin.main.Reset(scale(m_bmpMain, false));
        skin.mask.Reset(scale(m_bmpMask, true));
    }
    return &at->second;
}

HBITMAP CSkinDialog::ShownMain()
{
    const ScaledSkin* scaled = CurrentScaledSkin();
    return scaled ? scaled->main.Get() : m_bmpMain.Get();
}

void CSkinDialog::RescaleSkin(int dpi, const RECT& suggested)
{
    m_scale = DisplayScale(dpi);
    const ScaledSkin* scaled = CurrentScaledSkin();
    HBITMAP mask = scaled ? scaled->mask.Get() : m_bmpMask.Get();
    BITMAP info{};
    if (mask && GetObjectA(mask, sizeof info, &info))
        SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, info.bmWidth, info.bmHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    else
        SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetSkinRegion(mask);
    ReleaseButtons();
    CreateSkinButtons();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CSkinDialog::CreateSkinButtons()
{
    if (!m_hWnd)
        return;
    struct Placed {
        size_t layoutRow;
        SkinButtonRow row;
        RECT rect;
    };
    std::vector<Placed> placed;
    for (size_t i = 0; i < g_skinButtonLayout.size(); ++i) {
        Placed one{i, {}, {}};
        if (!ReadSkinButtonRow(g_skinButtonLayout[i], one.row))
            continue;
        one.rect = ShownButtonRect(one.row, m_scale);
        placed.push_back(std::move(one));
    }
    // Made in reading order: a new child window goes below its siblings,
    // so Tab reaches them in that order, after the dialog's own controls,
    // without moving each one afterwards.
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return a.rect.left != b.rect.left ? a.rect.left < b.rect.left : a.rect.top < b.rect.top;
    });
    for (const Placed& one : placed)
        MakeSkinButton(one.layoutRow, one.row, one.rect);
}

void CSkinDialog::MakeSkinButton(size_t layoutRow, const SkinButtonRow& row, const RECT& rect)
{
    // The face shows no text; a screen reader reads the window text, so it
    // names the button as its tooltip does.
    HWND hwnd = CreateWindowExA(0, "BUTTON", row.tooltip.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top, m_hWnd, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (!hwnd)
        return;
    auto button = std::make_unique<CSkinButton>(*this, static_cast<int>(layoutRow), row.name);
    button->Attach(hwnd);
    CutButtonFaces(*button, static_cast<int>(layoutRow), true);
    button->SetFacesPending(!m_bFacePicturesRead);
    // Tab reaches the buttons that do something.
    LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER | WS_TABSTOP);
    if (SkinButtonTakesFocus(row.name))
        style |= WS_TABSTOP;
    SetWindowLongPtrA(hwnd, GWL_STYLE, style);
    button->SetTip(row.tooltip, true);
    button->SetLatching(row.latching);
    m_buttons.push_back(std::move(button));
}

void CSkinDialog::CutScaledFaces(CFaceButton& button, HBITMAP scaledMain, const RECT& baseRect,
                                 const RECT& shownRect)
{
    // The normal face is cut from the scaled background, so that it meets
    // the background around it seamlessly.
    if (scaledMain)
        button.CutOneFace(ButtonFace::Normal, scaledMain, shownRect);
    const SIZE shown{shownRect.right - shownRect.left, shownRect.bottom - shownRect.top};
    const RECT whole{0, 0, shown.cx, shown.cy};
    const std::pair<ButtonFace, HBITMAP> faces[] = {
        {ButtonFace::Over, m_bmpOver}, {ButtonFace::Down, m_bmpDown}, {ButtonFace::Disabled, m_bmpDisabled}};
    for (const auto& [face, picture] : faces) {
        if (!picture)
            continue;  // not read yet, or not in the skin
        UniqueBitmap scaled(ScalePictureRect(picture, baseRect, shown));
        button.CutOneFace(face, scaled, whole);
    }
}

void CSkinDialog::ReleaseSkin()
{
    m_bmpMain.Reset();
    m_bmpOver.Reset();
    m_bmpDown.Reset();
    m_bmpDisabled.Reset();
    m_bmpMask.Reset();
    m_bFacePicturesRead = false;
    m_scaledSkins.clear();
    ReleaseButtons();
}

void CSkinDialog::ReleaseButtons()
{
    if (m_nReporting == 0)
        m_retiredButtons.clear();
    for (auto& button : m_buttons) {
        if (HWND hwnd = button->GetHwnd(); hwnd && IsWindow(hwnd))
            DestroyWindow(hwnd);
        if (m_nReporting > 0)
            m_retiredButtons.push_back(std::move(button));
    }
    m_buttons.clear();
}

CSkinButton* CSkinDialog::GetSkinButton(int number) const
{
    for (const auto& button : m_buttons) {
        if (button->GetNumber() == number)
            return button.get();
    }
    return nullptr;
}

bool CSkinDialog::SkinButtonTakesFocus(const std::string&) const
{
    return true;
}

CSkinButton* CSkinDialog::SkinButtonOf(HWND hwnd) const
{
    for (const auto& button : m_buttons) {
        if (hwnd && button->GetHwnd() == hwnd)
            return button.get();
    }
    return nullptr;
}

void CSkinDialog::ReportSkinButtonClick(int number)
{
    ++m_nReporting;
    OnSkinButtonClicked(number);
    --m_nReporting;
}

void CSkinDialog::ReportSkinHover(const std::string& name, POINT pt)
{
    ++m_nReporting;
    OnSkinHover(name, pt);
    --m_nReporting;
}

INT_PTR CSkinDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_MOUSEMOVE:
        OnSkinHover(std::string(), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return FALSE;
    case WM_DRAWITEM:
        if (DrawSkinButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
            SetMsgResult(TRUE);
            return TRUE;
        }
        break;
    case WM_DPICHANGED:
        RescaleSkin(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        SetMsgResult(0);
        return TRUE;
    case WM_DESTROY:
        ReleaseSkin();
        break;
    }
    return CDialogBase::HandleMessage(msg, wParam, lParam);
}

void CSkinDialog::OnPaint()
{
    {
        ScopedPaint paint(m_hWnd);
        RECT client{};
        GetClientRect(m_hWnd, &client);
        UniqueMemDC memory(CreateCompatibleDC(paint));
        if (memory) {
            ScopedSelect select(memory, ShownMain());
            BitBlt(paint, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        }
    }
    // Children are not clipped out of the dialog's painting: they repaint
    // over the fresh background.
    for (const auto& button : m_buttons)
        InvalidateRect(button->GetHwnd(), nullptr, TRUE);
    if (HWND list = GetDlgItem(m_hWnd, kNoteListId))
        InvalidateRect(list, nullptr, TRUE);
}

bool CSkinDialog::DrawSkinButton(const DRAWITEMSTRUCT& item)
{
    if (item.CtlType != ODT_BUTTON)
        return false;
    for (const auto& button : m_buttons) {
        if (button->GetHwnd() == item.hwndItem) {
            button->DrawItem(item);
            return true;
        }
    }
    return false;
}
