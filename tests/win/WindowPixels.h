#pragma once
// What a window shows, read back as pixels.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/ScopedHandles.h"

// The client area as it is on the screen now, top row first, 0x00RRGGBB.
struct WindowPixels {
    int width = 0;
    int height = 0;
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
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        UniqueBitmap copy(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!copy || width <= 0 || height <= 0)
            return;
        {
            ScopedSelect select(memory, copy);
            BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        }
        GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        pixels.assign(p, p + size_t(width) * height);
        for (auto& px : pixels)
            px &= 0x00FFFFFF;
    }

    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    int Count(uint32_t rgb) const
    {
        int n = 0;
        for (auto p : pixels)
            n += p == rgb;
        return n;
    }
    // The first row (from the top) holding a pixel of this colour, or -1.
    int TopRowOf(uint32_t rgb) const
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y) == rgb)
                    return y;
        return -1;
    }
};

// A COLORREF (0x00BBGGRR) as 0x00RRGGBB.
constexpr uint32_t Rgb(COLORREF c)
{
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
