#include "framework/ScaledPicture.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>
#include <vector>

#include "framework/OleUse.h"
#include "framework/ScopedHandles.h"
#include "core/PictureLimits.h"
#include "core/ScaledMask.h"

namespace {

// The imaging component's high-quality cubic mode; Windows 10 has it, older
// systems refuse it and take Fant.
constexpr auto kHighQualityCubic = static_cast<WICBitmapInterpolationMode>(4);

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr()
    {
        if (m_p)
            m_p->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Out() { return &m_p; }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

// A 32-bit top-down DIB section of that size; bits receives its pixels.
HBITMAP MakeDib(SIZE size, void** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    if (dib && !*bits) {
        DeleteObject(dib);
        return nullptr;
    }
    return dib;
}

// The imaging component's factory, made on first need and kept: a skin's
// faces are scaled one by one. It is never released, as the program's last
// static destructors run after COM has been shut down.
IWICImagingFactory* ImagingFactory()
{
    static IWICImagingFactory* const factory = [] {
        IWICImagingFactory* made = nullptr;
        if (!OleUse::Begin() || FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    __uuidof(IWICImagingFactory), reinterpret_cast<void**>(&made))))
            return static_cast<IWICImagingFactory*>(nullptr);
        return made;
    }();
    return factory;
}

HBITMAP ScaleWithImagingComponent(HBITMAP picture, SIZE to)
{
    IWICImagingFactory* factory = ImagingFactory();
    if (!factory)
        return nullptr;
    ComPtr<IWICBitmap> source;
    ComPtr<IWICFormatConverter> converter;
    ComPtr<IWICBitmapScaler> scaler;
    if (FAILED(factory->CreateBitmapFromHBITMAP(picture, nullptr, WICBitmapIgnoreAlpha, source.Out())) ||
        FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(source.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)) ||
        FAILED(factory->CreateBitmapScaler(scaler.Out())))
        return nullptr;
    const auto width = static_cast<UINT>(to.cx), height = static_cast<UINT>(to.cy);
    if (FAILED(scaler->Initialize(converter.Get(), width, height, kHighQualityCubic)) &&
        FAILED(scaler->Initialize(converter.Get(), width, height, WICBitmapInterpolationModeFant)))
        return nullptr;
    void* bits = nullptr;
    UniqueBitmap scaled(MakeDib(to, &bits));
    const UINT stride = width * 4;
    if (!scaled ||
        FAILED(scaler->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits))))
        return nullptr;
    return scaled.Release();
}

// A new plain 32-bit picture of the given size, with `draw(target, source)`
// run once, the source picture and the new one selected into their own
// drawing contexts.
template <typename Draw>
HBITMAP DrawIntoNewPicture(HBITMAP picture, SIZE size, Draw draw)
{
    void* bits = nullptr;
    UniqueBitmap made(MakeDib(size, &bits));
    UniqueMemDC target(CreateCompatibleDC(nullptr));
    UniqueMemDC source(CreateCompatibleDC(nullptr));
    if (!made || !target || !source)
        return nullptr;
    {
        ScopedSelect selectTarget(target, made);
        ScopedSelect selectSource(source, picture);
        draw(target.Get(), source.Get());
    }
    GdiFlush();
    return made.Release();
}

HBITMAP ScaleWithHalftone(HBITMAP picture, SIZE from, SIZE to)
{
    return DrawIntoNewPicture(picture, to, [&](HDC target, HDC source) {
        SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, nullptr);
        StretchBlt(target, 0, 0, to.cx, to.cy, source, 0, 0, from.cx, from.cy, SRCCOPY);
    });
}

// The picture's pixels as a 32-bit bottom-up picture, rows width * 4 bytes
// apart, as the region builder reads them. Empty when they cannot be read.
std::vector<uint8_t> ReadPixels(HBITMAP picture, SIZE& size)
{
    BITMAP info{};
    if (!picture || !GetObjectA(picture, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return {};
    size = SIZE{info.bmWidth, info.bmHeight};
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = size.cx;
    header.bmiHeader.biHeight = size.cy;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    std::vector<uint8_t> pixels(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy) * 4);
    ScopedGetDC screen(nullptr);
    if (GetDIBits(screen, picture, 0, static_cast<UINT>(size.cy), pixels.data(), &header, DIB_RGB_COLORS) !=
        size.cy)
        return {};
    return pixels;
}

// A 32-bit bottom-up bitmap holding these pixels. Null when none can be made.
HBITMAP MakeBitmapOf(const std::vector<uint8_t>& pixels, SIZE size)
{
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = size.cx;
    header.bmiHeader.biHeight = size.cy;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP result = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (result && bits)
        std::memcpy(bits, pixels.data(), pixels.size());
    else if (result) {
        DeleteObject(result);
        result = nullptr;
    }
    return result;
}

bool IsColour(const uint8_t* bgr, COLORREF colour)
{
    return bgr[0] == GetBValue(colour) && bgr[1] == GetGValue(colour) && bgr[2] == GetRValue(colour);
}

void SetColour(uint8_t* bgr, COLORREF colour)
{
    bgr[0] = GetBValue(colour);
    bgr[1] = GetGValue(colour);
    bgr[2] = GetRValue(colour);
}

}  // namespace

SIZE ScaledPictureSize(SIZE base, const DisplayScale& scale)
{
    return SIZE{scale.ToPixels(base.cx), scale.ToPixels(base.cy)};
}

HBITMAP ScalePicture(HBITMAP picture, SIZE to)
{
    // Past the mask limits no window could show the picture whole.
    BITMAP info{};
    if (!picture || !IsMaskSizeAccepted(to.cx, to.cy) || !GetObjectA(picture, sizeof info, &info))
        return nullptr;
    if (HBITMAP scaled = ScaleWithImagingComponent(picture, to))
        return scaled;
    return ScaleWithHalftone(picture, SIZE{info.bmWidth, info.bmHeight}, to);
}

HBITMAP ScalePictureRect(HBITMAP picture, const RECT& rect, SIZE to)
{
    const SIZE part{rect.right - rect.left, rect.bottom - rect.top};
    if (!picture || part.cx <= 0 || part.cy <= 0)
        return nullptr;
    // Copied into a plain 32-bit picture first: the imaging component reads
    // those directly, where a display bitmap would be converted.
    UniqueBitmap copy(DrawIntoNewPicture(picture, part, [&](HDC target, HDC source) {
        BitBlt(target, 0, 0, part.cx, part.cy, source, rect.left, rect.top, SRCCOPY);
    }));
    return copy ? ScalePicture(copy, to) : nullptr;
}

HBITMAP ScaleKeyedPicture(HBITMAP picture, SIZE to, COLORREF key, COLORREF behind)
{
    SIZE from{};
    std::vector<uint8_t> pixels = ReadPixels(picture, from);
    if (pixels.empty() || to.cx <= 0 || to.cy <= 0)
        return nullptr;
    // Where the key shows through, which pixels of the result do.
    const std::vector<uint8_t> nearest =
        ScaleMaskNearest(pixels.data(), static_cast<size_t>(from.cx) * 4, from.cx, from.cy, to.cx, to.cy);
    if (nearest.empty())
        return nullptr;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        if (IsColour(&pixels[i], key))
            SetColour(&pixels[i], behind);
    }
    UniqueBitmap unkeyed(MakeBitmapOf(pixels, from));
    UniqueBitmap smooth(unkeyed ? ScalePicture(unkeyed, to) : nullptr);
    if (!smooth)
        return nullptr;
    std::vector<uint8_t> scaled = ReadPixels(smooth, from);
    if (scaled.size() != nearest.size())
        return nullptr;
    for (size_t i = 0; i < scaled.size(); i += 4) {
        if (IsColour(&nearest[i], key))
            SetColour(&scaled[i], key);
    }
    return MakeBitmapOf(scaled, to);
}

HBITMAP ScaleMask(HBITMAP mask, SIZE to)
{
    // A mask too large to be an outline is not copied at all.
    BITMAP info{};
    if (!mask || !GetObjectA(mask, sizeof info, &info) || !IsMaskSizeAccepted(info.bmWidth, info.bmHeight))
        return nullptr;
    SIZE from{};
    const std::vector<uint8_t> pixels = ReadPixels(mask, from);
    if (pixels.empty())
        return nullptr;
    const std::vector<uint8_t> scaled =
        ScaleMaskNearest(pixels.data(), static_cast<size_t>(from.cx) * 4, from.cx, from.cy, to.cx, to.cy);
    return scaled.empty() ? nullptr : MakeBitmapOf(scaled, to);
}
