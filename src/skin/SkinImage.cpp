#include "skin/SkinImage.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <span>

#include "framework/OleUse.h"
#include "framework/WideText.h"
#include "skin/PlainBmp.h"
#include "skin/RegionRuns.h"
#include "skin/SkinKey.h"
#include "skin/SkinPaths.h"

namespace {

// Owns one COM interface pointer.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T** Out() { return &m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    void Reset()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
    }

private:
    T* m_p = nullptr;
};

class ScopedFile {
public:
    explicit ScopedFile(HANDLE h) : m_h(h) {}
    ~ScopedFile()
    {
        if (IsOpen())
            CloseHandle(m_h);
    }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    HANDLE Get() const { return m_h; }
    bool IsOpen() const { return m_h != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_h;
};

// Reads the whole file into a movable global block, unscrambled. Null when it
// cannot be read or is empty or too large; the caller owns the block.
HGLOBAL ReadUnscrambled(const std::string& path, DWORD& size)
{
    ScopedFile file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return nullptr;
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.Get(), &length) || length.QuadPart <= 0 ||
        static_cast<uint64_t>(length.QuadPart) > kMaxSkinImageBytes)
        return nullptr;
    size = static_cast<DWORD>(length.QuadPart);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return nullptr;
    bool read = false;
    if (auto* bytes = static_cast<uint8_t*>(GlobalLock(block))) {
        DWORD got = 0;
        read = ReadFile(file.Get(), bytes, size, &got, nullptr) && got == size;
        if (read)
            UnscrambleHeader(bytes, size);
        GlobalUnlock(block);
    }
    if (!read) {
        GlobalFree(block);
        return nullptr;
    }
    return block;
}

// An uncompressed BMP made into a bitmap directly: the same pixels as the
// picture decoder gives, without loading and starting it, which is most of
// what opening the default skin costs. Null for anything else (compressed,
// unusual or damaged files), which then goes to the picture decoder.
HBITMAP DecodePlainBmp(const uint8_t* bytes, size_t size)
{
    const auto layout = ParsePlainBmp(std::span<const uint8_t>(bytes, size));
    if (!layout)
        return nullptr;
    void* target = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(bytes + PlainBmpLayout::kInfoAt),
                                      DIB_RGB_COLORS, &target, nullptr, 0);
    if (!bitmap || !target) {
        if (bitmap)
            DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(target, bytes + layout->pixelsAt, layout->pixelBytes);
    return bitmap;
}

// An uncompressed BMP file read straight into its bitmap: the headers first,
// then the rows into the bitmap's own memory. Reading the whole file into a
// block and copying the rows over cost as much again (fresh memory twice
// over) for each of the skin's five pictures at every start. Null for
// anything else; the caller then reads the file whole.
HBITMAP ReadPlainBmpFile(const std::string& path)
{
    ScopedFile file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER length{};
    if (!file.IsOpen() || !GetFileSizeEx(file.Get(), &length) || length.QuadPart <= 0 ||
        static_cast<uint64_t>(length.QuadPart) > kMaxSkinImageBytes)
        return nullptr;
    const auto fileSize = static_cast<uint64_t>(length.QuadPart);
    // The largest headers with a full colour table fit.
    uint8_t head[2048];
    const auto headSize = static_cast<DWORD>(std::min<uint64_t>(sizeof head, fileSize));
    DWORD got = 0;
    if (!ReadFile(file.Get(), head, headSize, &got, nullptr) || got != headSize)
        return nullptr;
    UnscrambleHeader(head, headSize);
    const auto layout = ParsePlainBmpHead(std::span<const uint8_t>(head, headSize), fileSize);
    if (!layout)
        return nullptr;
    void* target = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(head + PlainBmpLayout::kInfoAt),
                                         DIB_RGB_COLORS, &target, nullptr, 0));
    LARGE_INTEGER pixelsAt{};
    pixelsAt.QuadPart = static_cast<LONGLONG>(layout->pixelsAt);
    if (!bitmap || !target || !SetFilePointerEx(file.Get(), pixelsAt, nullptr, FILE_BEGIN) ||
        !ReadFile(file.Get(), target, static_cast<DWORD>(layout->pixelBytes), &got, nullptr) ||
        got != layout->pixelBytes)
        return nullptr;
    // The scrambled start of the file may reach into the rows.
    auto* pixels = static_cast<uint8_t*>(target);
    for (size_t i = layout->pixelsAt; i < kScrambledHeaderBytes && i - layout->pixelsAt < layout->pixelBytes; ++i)
        pixels[i - layout->pixelsAt] ^= kSkinKey;
    return bitmap.Release();
}

// Decodes a picture; the bitmap returned is a copy that belongs to the
// caller, as the picture object deletes its own bitmap when released.
HBITMAP DecodePicture(HGLOBAL block, DWORD size)
{
    ComRef<IStream> stream;
    // The stream frees the block when it goes.
    if (!OleUse::Begin() || FAILED(CreateStreamOnHGlobal(block, TRUE, stream.Out()))) {
        GlobalFree(block);
        return nullptr;
    }
    ComRef<IPicture> picture;
    const HRESULT loaded = OleLoadPicture(stream.operator->(), static_cast<LONG>(size), FALSE, IID_IPicture,
                                          reinterpret_cast<void**>(picture.Out()));
    stream.Reset();
    if (FAILED(loaded) || !picture)
        return nullptr;
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)) ||
        !handle)
        return nullptr;
    // A 32-bit handle value widens by sign extension.
    auto* decoded = reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(static_cast<LONG>(handle)));
    return static_cast<HBITMAP>(CopyImage(decoded, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

}  // namespace

std::string SkinFolder(const std::string& path)
{
    return SkinFolderOfFullPath(FullPathUtf8(path));
}

bool LoadSkinImage(const std::string& path, UniqueBitmap& target, SIZE& size)
{
    target.Reset();
    size = SIZE{0, 0};
    HBITMAP bitmap = ReadPlainBmpFile(path);
    if (!bitmap) {
        DWORD bytes = 0;
        HGLOBAL block = ReadUnscrambled(path, bytes);
        if (!block)
            return false;
        if (const auto* data = static_cast<const uint8_t*>(GlobalLock(block))) {
            bitmap = DecodePlainBmp(data, bytes);
            GlobalUnlock(block);
        }
        if (bitmap)
            GlobalFree(block);
        else
            bitmap = DecodePicture(block, bytes);  // frees the block
    }
    if (!bitmap)
        return false;
    target.Reset(bitmap);
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info))
        size = SIZE{info.bmWidth, info.bmHeight};
    return true;
}

HRGN RegionFromBitmap(HBITMAP bitmap, COLORREF colour, COLORREF tolerance)
{
    if (!bitmap)
        return nullptr;
    UniqueMemDC workDC(CreateCompatibleDC(nullptr));
    BITMAP source{};
    if (!workDC || !GetObjectA(bitmap, sizeof source, &source))
        return nullptr;
    const int32_t width = source.bmWidth;
    const int32_t height = source.bmHeight;
    // An oversized mask is refused before its working copy is made: that
    // alone could take gigabytes.
    if (!DibImageBytes(width, height) || !IsMaskSizeAccepted(width, height))
        return nullptr;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // positive: rows stored bottom-up
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap working(CreateDIBSection(workDC, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                          &bits, nullptr, 0));
    if (!working || !bits)
        return nullptr;
    ScopedSelect selectWorking(workDC, working);
    {
        UniqueMemDC sourceDC(CreateCompatibleDC(workDC));
        if (!sourceDC)
            return nullptr;
        ScopedSelect selectSource(sourceDC, bitmap);
        BitBlt(workDC, 0, 0, width, height, sourceDC, 0, 0, SRCCOPY);
    }
    GdiFlush();  // the copy must have landed before the bits are read

    BITMAP dib{};
    GetObjectA(working, sizeof dib, &dib);
    const size_t stride = (static_cast<size_t>(dib.bmWidthBytes) + 3) / 4 * 4;

    // The first batch becomes the result; every later one is joined to it.
    UniqueRegion result;
    const bool complete = ExtractRegionRuns(
        static_cast<const uint8_t*>(bits), stride, width, height, colour, tolerance,
        [&result](const uint8_t* data, size_t size) {
            UniqueRegion batch(ExtCreateRegion(nullptr, static_cast<DWORD>(size),
                                               reinterpret_cast<const RGNDATA*>(data)));
            if (!batch)
                return false;
            if (!result)
                result = std::move(batch);
            else if (CombineRgn(result, result, batch, RGN_OR) == ERROR)
                return false;
            return true;
        });
    // A region missing a batch would be a wrong outline: none is better.
    return complete ? result.Release() : nullptr;
}
