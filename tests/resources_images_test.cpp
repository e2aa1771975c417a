// The pictures and icons inside the built lumeview.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resource_reader.h"

namespace {

// ---- Bitmaps -----------------------------------------------------------------

enum class Badge { None, Warning, Error, Logo };

struct Picture {
    int id;
    WORD language;
    LONG width, height;
    BYTE keyIndex;
    BYTE keyRed, keyGreen, keyBlue;
    LONG pixelsPerMetre;
    Badge badge;
};

const Picture kPictures[] = {
    {103, kEnglishUS, 119, 97, 14, 0, 255, 255, 0, Badge::None},
    {127, kEnglishUS, 119, 97, 14, 0, 255, 255, 0, Badge::Warning},
    {126, kEnglishUS, 119, 97, 14, 0, 255, 255, 0, Badge::Error},
    {118, kEnglishUS, 112, 98, 9, 0, 255, 255, 0, Badge::None},
    {119, kEnglishUS, 112, 98, 9, 0, 255, 255, 0, Badge::Warning},
    {117, kEnglishUS, 112, 98, 9, 0, 255, 255, 0, Badge::Error},
    {133, kFrenchCanada, 144, 29, 11, 0, 128, 128, 3780, Badge::Logo},
    {111, kEnglishUS, 142, 23, 6, 0, 128, 128, 0, Badge::Logo},
    {120, kEnglishUS, 112, 98, 9, 0, 255, 255, 0, Badge::None},
    {122, kEnglishUS, 112, 98, 9, 0, 255, 255, 0, Badge::Warning},
    {121, kEnglishUS, 112, 98, 9, 0, 255, 255, 0, Badge::Error},
    {124, kEnglishUS, 112, 98, 14, 0, 255, 255, 0, Badge::None},
    {125, kEnglishUS, 112, 98, 14, 0, 255, 255, 0, Badge::Warning},
    {123, kEnglishUS, 112, 98, 14, 0, 255, 255, 0, Badge::Error},
    {159, kEnglishUS, 112, 92, 14, 0, 255, 255, 0, Badge::None},
    {160, kEnglishUS, 112, 92, 14, 0, 255, 255, 0, Badge::Warning},
    {161, kEnglishUS, 112, 92, 14, 0, 255, 255, 0, Badge::Error},
};

bool IsYellow(const RGBQUAD& c) { return c.rgbRed >= 200 && c.rgbGreen >= 150 && c.rgbBlue <= 100; }
bool IsRed(const RGBQUAD& c) { return c.rgbRed >= 160 && c.rgbGreen <= 90 && c.rgbBlue <= 90; }

// A packed 8-bit DIB: header, 256 colours, rows of `stride` bytes.
struct PictureBytes {
    BITMAPINFOHEADER header = {};
    const RGBQUAD* table = nullptr;
    const BYTE* pixels = nullptr;
    LONG stride = 0;
    DWORD size = 0;
};

PictureBytes ReadPicture(const Picture& p)
{
    PictureBytes picture;
    Bytes b = Resource(RT_BITMAP, p.id, p.language);
    picture.size = b.size;
    picture.stride = (p.width + 3) & ~3;
    if (b.size != 40 + 256 * 4 + static_cast<DWORD>(picture.stride * p.height))
        return picture;
    std::memcpy(&picture.header, b.data, sizeof picture.header);
    picture.table = reinterpret_cast<const RGBQUAD*>(b.data + 40);
    picture.pixels = b.data + 40 + 256 * 4;
    return picture;
}

TEST(ResourcesBitmaps, HeadersAreEightBitBottomUpWithPaddedRows)
{
    for (const Picture& p : kPictures) {
        SCOPED_TRACE("bitmap " + std::to_string(p.id));
        EXPECT_EQ(std::vector<WORD>{p.language}, Languages(RT_BITMAP, p.id));
        PictureBytes b = ReadPicture(p);
        ASSERT_NE(nullptr, b.pixels) << "size " << b.size;
        const BITMAPINFOHEADER& h = b.header;
        EXPECT_EQ(40u, h.biSize);
        EXPECT_EQ(p.width, h.biWidth);
        EXPECT_EQ(p.height, h.biHeight) << "positive: rows stored bottom-up";
        EXPECT_EQ(1, h.biPlanes);
        EXPECT_EQ(8, h.biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), h.biCompression);
        EXPECT_EQ(static_cast<DWORD>(b.stride * p.height), h.biSizeImage);
        EXPECT_EQ(p.pixelsPerMetre, h.biXPelsPerMeter);
        EXPECT_EQ(p.pixelsPerMetre, h.biYPelsPerMeter);
        EXPECT_EQ(0u, h.biClrUsed);
        EXPECT_EQ(0u, h.biClrImportant);
    }
}

TEST(ResourcesBitmaps, KeyColourAtItsIndexAndInTheBottomLeftPixel)
{
    for (const Picture& p : kPictures) {
        SCOPED_TRACE("bitmap " + std::to_string(p.id));
        PictureBytes b = ReadPicture(p);
        ASSERT_NE(nullptr, b.pixels) << "size " << b.size;
        EXPECT_EQ(p.keyRed, b.table[p.keyIndex].rgbRed);
        EXPECT_EQ(p.keyGreen, b.table[p.keyIndex].rgbGreen);
        EXPECT_EQ(p.keyBlue, b.table[p.keyIndex].rgbBlue);
        EXPECT_EQ(0, b.table[p.keyIndex].rgbReserved);
        EXPECT_EQ(p.keyIndex, b.pixels[0]);
    }
}

// The panel turns the key entry into the button face, so a drawn pixel
// with the key colour under another index would stay cyan or teal. And
// each picture shows what its state calls for.
TEST(ResourcesBitmaps, OnlyTheBackgroundIsKeyedAndEachStateShowsItsMark)
{
    for (const Picture& p : kPictures) {
        SCOPED_TRACE("bitmap " + std::to_string(p.id));
        PictureBytes b = ReadPicture(p);
        ASSERT_NE(nullptr, b.pixels) << "size " << b.size;
        int drawn = 0, keyColoured = 0, yellow = 0, red = 0;
        for (LONG row = 0; row < p.height; ++row)
            for (LONG x = 0; x < p.width; ++x) {
                BYTE i = b.pixels[row * b.stride + x];
                if (i == p.keyIndex)
                    continue;
                const RGBQUAD& c = b.table[i];
                ++drawn;
                keyColoured += c.rgbRed == p.keyRed && c.rgbGreen == p.keyGreen && c.rgbBlue == p.keyBlue;
                yellow += IsYellow(c);
                red += IsRed(c);
            }
        EXPECT_EQ(0, keyColoured);
        LONG area = p.width * p.height;
        if (p.badge == Badge::Logo) {
            EXPECT_GT(drawn, area / 10) << "the banner has its lettering";
            continue;
        }
        EXPECT_GT(drawn, area * 2 / 5) << "the device fills the picture";
        EXPECT_EQ(p.badge == Badge::Warning, yellow > 150) << yellow << " yellow pixels";
        EXPECT_EQ(p.badge == Badge::Error, red > 150) << red << " red pixels";
    }
}

// ---- Icons -------------------------------------------------------------------

#pragma pack(push, 2)
struct GroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

struct IconCase {
    int group;
    WORD image;
    const char* content;
};

const IconCase kIcons[] = {
    {102, 1, "device"},
    {104, 2, "device and warning triangle"},
    {105, 3, "device and error disc"},
    {106, 4, "nothing"},
    {107, 5, "warning triangle"},
    {108, 6, "error disc"},
};

struct IconPixels {
    int opaque = 0;
    int yellow = 0;
    int red = 0;
    int white = 0;
    bool colourBitsZero = true;
    bool maskAllSet = true;
};

IconPixels CountIconPixels(Bytes image)
{
    IconPixels n;
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(image.data + 40);
    const BYTE* colour = image.data + 40 + 16 * 4;
    const BYTE* mask = colour + 32 * 32 / 2;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            BYTE pair = colour[y * 16 + x / 2];
            BYTE index = x % 2 ? pair & 0x0F : pair >> 4;
            bool transparent = (mask[y * 4 + x / 8] >> (7 - x % 8)) & 1;
            n.colourBitsZero = n.colourBitsZero && index == 0;
            n.maskAllSet = n.maskAllSet && transparent;
            if (transparent)
                continue;
            const RGBQUAD& c = table[index];
            ++n.opaque;
            n.yellow += c.rgbRed == 255 && c.rgbGreen == 255 && c.rgbBlue == 0;
            n.red += c.rgbRed == 255 && c.rgbGreen == 0 && c.rgbBlue == 0;
            n.white += c.rgbRed == 255 && c.rgbGreen == 255 && c.rgbBlue == 255;
        }
    return n;
}

TEST(ResourcesIcons, GroupsHoldOneSixteenColourImageEach)
{
    for (const IconCase& icon : kIcons) {
        SCOPED_TRACE("icon group " + std::to_string(icon.group));
        EXPECT_EQ(std::vector<WORD>{kJapanese}, Languages(RT_GROUP_ICON, icon.group));
        EXPECT_EQ(std::vector<WORD>{kJapanese}, Languages(RT_ICON, icon.image));
        Bytes group = Resource(RT_GROUP_ICON, icon.group, kJapanese);
        ASSERT_EQ(sizeof(GroupHeader) + sizeof(GroupEntry), group.size);
        GroupHeader header;
        GroupEntry entry;
        std::memcpy(&header, group.data, sizeof header);
        std::memcpy(&entry, group.data + sizeof header, sizeof entry);
        EXPECT_EQ(0, header.reserved);
        EXPECT_EQ(1, header.type);
        EXPECT_EQ(1, header.count);
        EXPECT_EQ(32, entry.width);
        EXPECT_EQ(32, entry.height);
        EXPECT_EQ(16, entry.colours);
        EXPECT_EQ(1, entry.planes);
        EXPECT_EQ(4, entry.bitCount);
        EXPECT_EQ(744u, entry.bytes);
        EXPECT_EQ(icon.image, entry.id);

        Bytes image = Resource(RT_ICON, icon.image, kJapanese);
        ASSERT_EQ(744u, image.size);
        BITMAPINFOHEADER h;
        std::memcpy(&h, image.data, sizeof h);
        EXPECT_EQ(40u, h.biSize);
        EXPECT_EQ(32, h.biWidth);
        EXPECT_EQ(64, h.biHeight) << "colour bits and mask";
        EXPECT_EQ(1, h.biPlanes);
        EXPECT_EQ(4, h.biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), h.biCompression);
    }
}

TEST(ResourcesIcons, EachShowsItsContent)
{
    for (const IconCase& icon : kIcons) {
        SCOPED_TRACE(std::string("icon ") + std::to_string(icon.group) + ": " + icon.content);
        Bytes image = Resource(RT_ICON, icon.image, kJapanese);
        ASSERT_EQ(744u, image.size);
        IconPixels n = CountIconPixels(image);
        switch (icon.group) {
        case 106:
            EXPECT_TRUE(n.maskAllSet);
            EXPECT_TRUE(n.colourBitsZero);
            break;
        case 102:
            EXPECT_GT(n.opaque, 400);
            EXPECT_EQ(0, n.yellow);
            EXPECT_EQ(0, n.red);
            break;
        case 104:
            EXPECT_GT(n.opaque, 400);
            EXPECT_GT(n.yellow, 40);
            break;
        case 105:
            EXPECT_GT(n.opaque, 400);
            EXPECT_GT(n.red, 60);
            EXPECT_GT(n.white, 20);
            break;
        case 107:
            EXPECT_GT(n.yellow, 200);
            EXPECT_EQ(0, n.red);
            break;
        case 108:
            EXPECT_GT(n.red, 300);
            EXPECT_GT(n.white, 60);
            EXPECT_EQ(0, n.yellow);
            break;
        }
    }
}

// Windows itself must accept the transparent icon: loading it and
// drawing it over a white surface leaves the surface white.
TEST(ResourcesIcons, TransparentIconDrawsNothing)
{
    Bytes image = Resource(RT_ICON, 4, kJapanese);
    ASSERT_EQ(744u, image.size);
    HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE,
                                          0x00030000, 32, 32, LR_DEFAULTCOLOR);
    ASSERT_NE(nullptr, icon);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP surface = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(dc, surface);
    RECT all = {0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
    int changed = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            changed += GetPixel(dc, x, y) != RGB(255, 255, 255);
    EXPECT_EQ(0, changed);
    SelectObject(dc, old);
    DeleteObject(surface);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DestroyIcon(icon);
}

}  // namespace
