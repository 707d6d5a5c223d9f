// Skin pictures and window regions on the platform: the packed default skin,
// files that cannot be pictures, the skin folder, and regions cut from masks.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkinWinTestUtil.h"
#include "WinTestUtil.h"
#include "skin/SkinImage.h"
#include "skin/SkinKey.h"

namespace {

const char* const kSkinPictures[] = {"main.bmp", "mask.bmp", "over.bmp", "down.bmp", "disabled.bmp"};

// A 1 x 1 GIF, 35 bytes: shorter than the scrambled header.
const std::vector<uint8_t> kTinyGif = {
    'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0x20, 0x40, 0x60, 0, 0, 0,
    ',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, ';'};

std::vector<uint8_t> Scrambled(std::vector<uint8_t> bytes)
{
    UnscrambleHeader(bytes.data(), bytes.size());
    return bytes;
}

}  // namespace

TEST(SkinImageWin, PackedDefaultSkinDecodesToItsSources)
{
    for (const char* name : kSkinPictures) {
        SCOPED_TRACE(name);
        const std::string packed = PackedSkinFolder() + "\\" + name;
        const std::string source = SkinSourceFolder() + "\\" + name;
        // On disk only the first 100 bytes differ.
        const auto packedBytes = ReadWholeFile(packed);
        const auto sourceBytes = ReadWholeFile(source);
        ASSERT_EQ(packedBytes.size(), sourceBytes.size());
        ASSERT_GT(packedBytes.size(), 100u);
        EXPECT_EQ(Scrambled(packedBytes), sourceBytes);

        UniqueBitmap loaded;
        SIZE size{-1, -1};
        ASSERT_TRUE(LoadSkinImage(packed, loaded, size));
        EXPECT_EQ(size.cx, 545);
        EXPECT_EQ(size.cy, 260);
        UniqueBitmap reference(static_cast<HBITMAP>(
            LoadImageA(nullptr, source.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
        ASSERT_TRUE(reference);
        SIZE loadedSize{}, referenceSize{};
        const auto loadedPixels = ReadPixels(loaded, loadedSize);
        const auto referencePixels = ReadPixels(reference, referenceSize);
        ASSERT_EQ(loadedPixels.size(), size_t{545} * 260);
        EXPECT_TRUE(loadedPixels == referencePixels);
    }
}

TEST(SkinImageWin, FilesThatAreNoSkinPicture)
{
    TempFolder folder;
    const auto mainBytes = ReadWholeFile(PackedSkinFolder() + "\\main.bmp");
    struct Case {
        const char* label;
        std::vector<uint8_t> bytes;  // written to the file unless empty and missing
        bool create;
        bool loads;
        SIZE size;
    } cases[] = {
        {"packed picture", mainBytes, true, true, {545, 260}},
        {"GIF shorter than the scrambled header", Scrambled(kTinyGif), true, true, {1, 1}},
        {"picture that was never scrambled", Scrambled(mainBytes), true, false, {0, 0}},
        {"missing file", {}, false, false, {0, 0}},
        {"empty file", {}, true, false, {0, 0}},
        {"text", Scrambled({'h', 'e', 'l', 'l', 'o'}), true, false, {0, 0}},
        {"picture cut short", Scrambled(std::vector<uint8_t>(kTinyGif.begin(), kTinyGif.begin() + 20)), true,
         false, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string path = folder.Path("picture.bin");
        DeleteFileA(path.c_str());
        if (c.create) {
            ASSERT_TRUE(WriteWholeFile(path, c.bytes));
        }
        // Whatever the bitmap held before goes in every case.
        UniqueBitmap target(CreateBitmap(3, 3, 1, 32, nullptr));
        SIZE size{-1, -1};
        EXPECT_EQ(LoadSkinImage(path, target, size), c.loads);
        EXPECT_EQ(static_cast<bool>(target), c.loads);
        EXPECT_EQ(size.cx, c.size.cx);
        EXPECT_EQ(size.cy, c.size.cy);
    }
    // The skin folder itself, as a missing skin.ini key names it.
    UniqueBitmap target;
    SIZE size{};
    EXPECT_FALSE(LoadSkinImage(folder.Path() + "\\", target, size));
}

TEST(SkinImageWin, PictureLargerThan64MiBIsRefused)
{
    TempFolder folder;
    const std::string path = folder.Path("huge.bmp");
    ASSERT_TRUE(WriteWholeFile(path, ReadWholeFile(PackedSkinFolder() + "\\mask.bmp")));
    // A packed picture followed by zeros up to the limit still loads; one
    // byte more and it is refused unread.
    struct Case {
        const char* label;
        uint64_t size;
        bool loads;
    } cases[] = {{"exactly 64 MiB", kMaxSkinImageBytes, true}, {"one byte more", kMaxSkinImageBytes + 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(c.size);
        EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
        CloseHandle(file);
        UniqueBitmap target;
        SIZE size{-1, -1};
        EXPECT_EQ(LoadSkinImage(path, target, size), c.loads);
        EXPECT_EQ(static_cast<bool>(target), c.loads);
        EXPECT_EQ(size.cx, c.loads ? 545 : 0);
    }
}

TEST(SkinImageWin, SkinFolderResolvesTheFullPath)
{
    TempFolder folder;
    CreateDirectoryA(folder.Path("Skins").c_str(), nullptr);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    char full[MAX_PATH];
    GetFullPathNameA(".", MAX_PATH, full, nullptr);
    const std::string here = full;
    struct Case {
        const char* path;
        std::string folder;
    } cases[] = {
        {"skin.ini", here + "\\"},
        {"Skins\\skin.ini", here + "\\Skins\\"},
        {"Skins\\..\\Skins\\.\\skin.ini", here + "\\Skins\\"},
        {"C:/Velumo/Skins/skin.ini", "C:\\Velumo\\Skins\\"},
        {"C:\\skin.ini", "C:\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(SkinFolder(c.path), c.folder);
    }
    SetCurrentDirectoryA(previous);
}

TEST(SkinImageWin, RegionsOfSmallMasks)
{
    std::string twoThousandRuns;
    for (int i = 0; i < 2000; ++i)
        twoThousandRuns += "#.";
    struct Case {
        const char* label;
        std::vector<std::string> rows;
        int complexity;  // what GetRgnBox answers
    } cases[] = {
        {"no white: the full rectangle", {"####", "####", "####"}, SIMPLEREGION},
        {"a component at 254 is opaque", {"r.g.b", "....."}, COMPLEXREGION},
        {"opaque, white, opaque", {"#.#"}, COMPLEXREGION},
        {"ring", {"#####", "#...#", "#####"}, COMPLEXREGION},
        {"rounded corners", {".##.", "####", ".##."}, COMPLEXREGION},
        {"exactly 2000 runs: a full batch and an empty one", {twoThousandRuns, twoThousandRuns}, COMPLEXREGION},
    };
    // Masks stored either way up come out the same way up.
    for (bool bottomUp : {false, true}) {
        SCOPED_TRACE(bottomUp ? "bottom-up mask" : "top-down mask");
        for (const auto& c : cases) {
            SCOPED_TRACE(c.label);
            UniqueBitmap mask(DrawMask(c.rows, bottomUp));
            ASSERT_TRUE(mask);
            UniqueRegion region(RegionFromBitmap(mask, RGB(255, 255, 255), RGB(16, 16, 16)));
            ASSERT_TRUE(region);
            RECT box{};
            EXPECT_EQ(GetRgnBox(region, &box), c.complexity);
            for (size_t y = 0; y < c.rows.size(); ++y) {
                for (size_t x = 0; x < c.rows[y].size(); ++x) {
                    const bool inside = c.rows[y][x] != '.';
                    ASSERT_EQ(PtInRegion(region, static_cast<int>(x), static_cast<int>(y)) != FALSE, inside)
                        << "pixel " << x << "," << y;
                }
            }
            EXPECT_FALSE(PtInRegion(region, static_cast<int>(c.rows[0].size()), 0));
            EXPECT_FALSE(PtInRegion(region, 0, static_cast<int>(c.rows.size())));
        }
    }
    // No region at all rather than one that would make the window invisible,
    // nor one that takes minutes to build.
    EXPECT_EQ(RegionFromBitmap(nullptr, RGB(255, 255, 255), RGB(16, 16, 16)), nullptr);
    UniqueBitmap white(DrawMask({"....", "...."}, true));
    EXPECT_EQ(RegionFromBitmap(white, RGB(255, 255, 255), RGB(16, 16, 16)), nullptr);
    UniqueBitmap wide(CreateBitmap(8193, 1, 1, 1, nullptr));
    ASSERT_TRUE(wide);
    EXPECT_EQ(RegionFromBitmap(wide, RGB(255, 255, 255), RGB(16, 16, 16)), nullptr);
}

TEST(SkinImageWin, RegionFromAScreenCompatibleBitmapAndAnotherColour)
{
    // A bitmap of the screen's format, with a magenta background cut away.
    ScopedGetDC screen(nullptr);
    UniqueBitmap mask(CreateCompatibleBitmap(screen, 6, 4));
    UniqueMemDC dc(CreateCompatibleDC(screen));
    {
        ScopedSelect select(dc, mask);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                SetPixel(dc, x, y, (x >= 2 && x < 4) ? RGB(20, 40, 60) : RGB(250, 0, 250));
    }
    UniqueRegion region(RegionFromBitmap(mask, RGB(240, 0, 240), RGB(16, 16, 16)));
    ASSERT_TRUE(region);
    RECT box{};
    EXPECT_EQ(GetRgnBox(region, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 4);
    EXPECT_EQ(box.bottom, 4);
}

TEST(SkinImageWin, DefaultMaskRegionFollowsEveryPixel)
{
    UniqueBitmap mask;
    SIZE size{};
    ASSERT_TRUE(LoadSkinImage(PackedSkinFolder() + "\\mask.bmp", mask, size));
    UniqueRegion region(RegionFromBitmap(mask, RGB(255, 255, 255), RGB(16, 16, 16)));
    ASSERT_TRUE(region);
    SIZE pixelSize{};
    const auto pixels = ReadPixels(mask, pixelSize);
    ASSERT_EQ(pixels.size(), size_t(size.cx) * size.cy);
    int inside = 0;
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            const bool opaque = pixels[size_t(y) * size.cx + x] != 0x00FFFFFF;
            inside += opaque;
            ASSERT_EQ(PtInRegion(region, x, y) != FALSE, opaque) << "pixel " << x << "," << y;
        }
    }
    // The corners are rounded or cut; the middle is inside.
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, size.cx - 1, size.cy - 1));
    EXPECT_TRUE(PtInRegion(region, size.cx / 2, size.cy / 2));
    EXPECT_GT(inside, size.cx * size.cy * 9 / 10);
}
