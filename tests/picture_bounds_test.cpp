// The picture routine only draws what lies inside the bitmap resource.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "ui/picture.h"

namespace {

BITMAPINFOHEADER Header(LONG width, LONG height, WORD bits, DWORD colours = 0, DWORD compression = BI_RGB)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biClrUsed = colours;
    header.biCompression = compression;
    return header;
}

// A resource of `size` bytes that starts with `header`; every pixel and
// table byte is `fill`.
std::vector<BYTE> Resource(const BITMAPINFOHEADER& header, DWORD size, BYTE fill = 0)
{
    std::vector<BYTE> bytes(size < sizeof header ? sizeof header : size, fill);
    memcpy(bytes.data(), &header, sizeof header);
    return bytes;
}

DWORD KeyedOffset(const BITMAPINFOHEADER& header, DWORD size, BYTE fill = 0)
{
    return KeyedBitmapPixelOffset(Resource(header, size, fill).data(), size);
}

}  // namespace

TEST(PictureBounds, EightBitPicturesNeedHeaderTableAndEveryRow)
{
    BITMAPINFOHEADER header = Header(119, 97, 8);
    const DWORD whole = 1064 + 120 * 97;  // rows padded to 120 bytes
    EXPECT_EQ(1064u, KeyedOffset(header, whole));
    EXPECT_EQ(1064u, KeyedOffset(header, whole + 7));
    EXPECT_EQ(0u, KeyedOffset(header, whole - 1)) << "last row cut short";
    EXPECT_EQ(0u, KeyedOffset(header, 1064)) << "no pixels at all";
    EXPECT_EQ(0u, KeyedOffset(header, 39)) << "not even a header";

    BITMAPINFOHEADER huge = Header(0x7FFFFFFF, 0x7FFFFFFF, 8);
    EXPECT_EQ(0u, KeyedOffset(huge, whole)) << "sizes that overflow";
    BITMAPINFOHEADER empty = Header(0, 97, 8);
    EXPECT_EQ(0u, KeyedOffset(empty, whole));
}

TEST(PictureBounds, EightBitPicturesAreKeyedOnlyWhereTheirHeaderSaysHow)
{
    struct Case {
        const char* what;
        DWORD headerSize;
        DWORD colours;
        DWORD compression;
        BYTE key;
        DWORD offset;  // 0: not keyed
    };
    const Case cases[] = {
        {"sixteen colours", 40, 16, BI_RGB, 15, 40 + 64},
        {"key outside a short table", 40, 16, BI_RGB, 16, 0},
        {"more colours than 8 bits hold", 40, 257, BI_RGB, 0, 0},
        {"V4 header", sizeof(BITMAPV4HEADER), 0, BI_RGB, 200, sizeof(BITMAPV4HEADER) + 1024},
        {"V5 header", sizeof(BITMAPV5HEADER), 2, BI_RGB, 1, sizeof(BITMAPV5HEADER) + 8},
        {"header of no Windows kind", 64, 0, BI_RGB, 0, 0},
        {"run-length pixels", 40, 0, BI_RLE8, 0, 0},
    };
    for (const Case& c : cases) {
        BITMAPINFOHEADER header = Header(4, 4, 8, c.colours, c.compression);
        header.biSize = c.headerSize;
        EXPECT_EQ(c.offset, KeyedOffset(header, 2000, c.key)) << c.what;
    }
}

TEST(PictureBounds, OtherDepthsAreNeverPatchedAndDrawnOnlyWhenTheyFit)
{
    BITMAPINFOHEADER truecolour = Header(10, 10, 24);
    EXPECT_EQ(0u, KeyedOffset(truecolour, 40 + 32 * 10)) << "no colour table to patch";
    EXPECT_EQ(40u, PackedBitmapPixelOffset(&truecolour, 40 + 32 * 10));
    EXPECT_EQ(0u, PackedBitmapPixelOffset(&truecolour, 40 + 32 * 10 - 1));

    BITMAPINFOHEADER sixteen = Header(32, 32, 4);
    EXPECT_EQ(40u + 64, PackedBitmapPixelOffset(&sixteen, 40 + 64 + 16 * 32));
    BITMAPINFOHEADER fewColours = Header(32, 32, 4, 3);
    EXPECT_EQ(40u + 12, PackedBitmapPixelOffset(&fewColours, 40 + 12 + 16 * 32));
    BITMAPINFOHEADER masks = Header(4, 4, 32, 0, BI_BITFIELDS);
    EXPECT_EQ(52u, PackedBitmapPixelOffset(&masks, 52 + 64));

    BITMAPINFOHEADER lyingSize = Header(4, 4, 24);
    lyingSize.biSize = 100000;
    EXPECT_EQ(0u, PackedBitmapPixelOffset(&lyingSize, 200));
    BITMAPINFOHEADER manyColours = Header(4, 4, 8, 257);
    EXPECT_EQ(0u, PackedBitmapPixelOffset(&manyColours, 2000)) << "more colours than 8 bits hold";
    BITMAPINFOHEADER runs = Header(4, 4, 4, 0, BI_RLE4);
    EXPECT_EQ(0u, PackedBitmapPixelOffset(&runs, 2000)) << "compressed pixels have no size to check";
}
