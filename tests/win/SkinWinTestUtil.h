#pragma once
// Helpers of the skin tests: a skinned test dialog shaped like the main
// window (its template is test-only, SkinWinTest.rc), pictures made from
// text and read back as pixels, and the default skin's folders.

#define IDD_SKIN_TEST 900
#define IDC_SKIN_TEST_LIST 1000

#ifndef RC_INVOKED
#include <windows.h>

#include <string>
#include <vector>

#include "framework/ScopedHandles.h"
#include "skin/CSkinDialog.h"
#include "WinTestUtil.h"
#include "WindowPixels.h"

// The default skin as drawn (plain pictures) and as packed by the build.
inline std::string SkinSourceFolder() { return VELUMO_SKIN_SOURCE_DIR; }
inline std::string PackedSkinFolder() { return VELUMO_SKIN_PACKED_DIR; }

// A 32-bit picture of this size; a negative height stores it top-down.
inline BITMAPINFO Bitmap32(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A 32-bit picture drawn from rows given top first: '#' black, '.' white,
// 'r', 'g', 'b' white with that component at 254. Stored top-down, or
// bottom-up like the working copy RegionFromBitmap makes.
inline HBITMAP DrawMask(const std::vector<std::string>& rows, bool bottomUp = false)
{
    const int height = static_cast<int>(rows.size());
    const int width = height ? static_cast<int>(rows[0].size()) : 0;
    BITMAPINFO info = Bitmap32(width, bottomUp ? height : -height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        const int row = bottomUp ? height - 1 - y : y;
        for (int x = 0; x < width; ++x) {
            uint32_t pixel = 0x00FFFFFF;
            switch (rows[y][x]) {
            case '#': pixel = 0; break;
            case 'r': pixel = 0x00FEFFFF; break;
            case 'g': pixel = 0x00FFFEFF; break;
            case 'b': pixel = 0x00FFFFFE; break;
            }
            pixels[size_t(row) * width + x] = pixel;
        }
    }
    return bitmap;
}

// The pixels of a bitmap, top row first, as 0x00RRGGBB.
inline std::vector<uint32_t> ReadPixels(HBITMAP bitmap, SIZE& size)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    size = SIZE{info.bmWidth, info.bmHeight};
    std::vector<uint32_t> pixels(size_t(info.bmWidth) * info.bmHeight);
    BITMAPINFO request = Bitmap32(info.bmWidth, -info.bmHeight);
    ScopedGetDC screen(nullptr);
    if (GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &request, DIB_RGB_COLORS) != info.bmHeight)
        pixels.clear();
    for (auto& p : pixels)
        p &= 0x00FFFFFF;
    return pixels;
}

class CSkinTestDlg : public CSkinDialog {
public:
    explicit CSkinTestDlg(std::string skinIni, SkinFaces faces = SkinFaces::kAll)
        : CSkinDialog(IDD_SKIN_TEST), m_skinIni(std::move(skinIni)), m_faces(faces) {}

    void OnSkinButton(const std::string& name) override
    {
        m_clickedNames.push_back(name);
        // What the button's own button-up processing has not yet undone.
        HWND capture = GetCapture();
        m_pressedDuringClick = capture && (SendMessageA(capture, BM_GETSTATE, 0, 0) & BST_PUSHED);
    }
    void OnSkinButtonClicked(int number) override
    {
        m_clickedNumbers.push_back(number);
        CSkinDialog::OnSkinButtonClicked(number);
    }
    void OnSkinHover(const std::string& name, POINT) override { m_hoverNames.push_back(name); }

    std::vector<std::string> m_clickedNames;
    std::vector<int> m_clickedNumbers;
    std::vector<std::string> m_hoverNames;
    bool m_pressedDuringClick = false;

protected:
    BOOL OnInitDialog() override
    {
        SetWindowPos(GetItem(IDC_SKIN_TEST_LIST), nullptr, 149, 32, 358, 213, SWP_NOZORDER);
        if (!m_skinIni.empty())
            OpenSkin(m_skinIni, m_faces);
        return TRUE;
    }

private:
    std::string m_skinIni;
    SkinFaces m_faces;
};

#endif  // RC_INVOKED
