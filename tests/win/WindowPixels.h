#pragma once
// What a window's client area shows now, as 0x00RRGGBB pixels, top row first.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/ScopedHandles.h"

struct WindowPixels {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    explicit WindowPixels(HWND hwnd)
    {
        UpdateWindow(hwnd);
        RECT client{};
        GetClientRect(hwnd, &client);
        width = client.right;
        height = client.bottom;
        ScopedGetDC dc(hwnd);
        UniqueMemDC memory(CreateCompatibleDC(dc));
        UniqueBitmap copy(CreateCompatibleBitmap(dc, width, height));
        {
            ScopedSelect select(memory, copy);
            BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        }
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        pixels.resize(size_t(width) * height);
        GetDIBits(memory, copy, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
        for (auto& p : pixels)
            p &= 0x00FFFFFF;
    }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    int Count(uint32_t rgb) const { return static_cast<int>(std::count(pixels.begin(), pixels.end(), rgb)); }
    int Count(uint32_t rgb, RECT area) const
    {
        int n = 0;
        for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, height); ++y)
            for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, width); ++x)
                n += At(x, y) == rgb;
        return n;
    }
    // The box around every pixel of this colour (empty when there is none).
    RECT Bounds(uint32_t rgb) const
    {
        RECT box{width, height, 0, 0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y) == rgb)
                    box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                               std::max<LONG>(box.bottom, y + 1)};
        return box;
    }
};

// A COLORREF (0x00BBGGRR) as 0x00RRGGBB.
constexpr uint32_t Rgb(COLORREF c)
{
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
