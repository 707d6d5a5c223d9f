#pragma once
// Skin pictures on this platform: loading the scrambled files, the folder
// they lie in, and window regions cut from a mask.
#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/ScopedHandles.h"

// Pictures larger than this are refused as unreadable: a skin picture is a
// window-sized image, and the whole file is read into memory at once.
constexpr uint64_t kMaxSkinImageBytes = 64ull * 1024 * 1024;

// The folder of path's full form, ending in exactly one backslash.
std::string SkinFolder(const std::string& path);

// Reads a scrambled picture file (BMP, JPEG or GIF) into target, which first
// lets go of what it held, and writes its size in pixels. False, with target
// empty and size 0 x 0, when the file cannot be opened or read, is empty or
// larger than kMaxSkinImageBytes, or does not decode to a bitmap.
bool LoadSkinImage(const std::string& path, UniqueBitmap& target, SIZE& size);

// A region holding every pixel of bitmap outside the colour range (colour up
// to colour + tolerance in each of red, green and blue; both 0x00BBGGRR).
// Null when there is no bitmap, its size is unusable or past the mask limits
// (see RegionRuns.h), it has no pixel outside the range, or a device context,
// the working bitmap or a region cannot be made. The caller owns the region.
HRGN RegionFromBitmap(HBITMAP bitmap, COLORREF colour, COLORREF tolerance);
