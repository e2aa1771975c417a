// The picture routine only draws what lies inside the bitmap resource.
#include <gtest/gtest.h>

#include "picture.h"

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

}  // namespace

TEST(PictureBounds, EightBitPicturesNeedHeaderTableAndEveryRow)
{
    BITMAPINFOHEADER header = Header(119, 97, 8);
    const DWORD whole = 1064 + 120 * 97;  // rows padded to 120 bytes
    EXPECT_EQ(1064u, KeyedBitmapHeaderSize(&header, whole));
    EXPECT_EQ(1064u, KeyedBitmapHeaderSize(&header, whole + 7));
    EXPECT_EQ(0u, KeyedBitmapHeaderSize(&header, whole - 1)) << "last row cut short";
    EXPECT_EQ(0u, KeyedBitmapHeaderSize(&header, 1064)) << "no pixels at all";
    EXPECT_EQ(0u, KeyedBitmapHeaderSize(&header, 39)) << "not even a header";

    BITMAPINFOHEADER huge = Header(0x7FFFFFFF, 0x7FFFFFFF, 8);
    EXPECT_EQ(0u, KeyedBitmapHeaderSize(&huge, whole)) << "sizes that overflow";
    BITMAPINFOHEADER empty = Header(0, 97, 8);
    EXPECT_EQ(0u, KeyedBitmapHeaderSize(&empty, whole));
}

TEST(PictureBounds, OtherDepthsAreNeverPatchedAndDrawnOnlyWhenTheyFit)
{
    BITMAPINFOHEADER truecolour = Header(10, 10, 24);
    EXPECT_EQ(0u, KeyedBitmapHeaderSize(&truecolour, 40 + 32 * 10)) << "no colour table to patch";
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
    BITMAPINFOHEADER manyColours = Header(4, 4, 8, 0x40000000);
    EXPECT_EQ(0u, PackedBitmapPixelOffset(&manyColours, 2000));
}
