// The panel's pictures are 8-bit bitmaps whose bottom-left pixel names the
// background colour; that palette entry is drawn in the button face so the
// picture merges with the panel.
#include "ui/picture.h"

#include "state/monitor_state.h"

static const DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);
static const WORD kKeyedBitCount = 8;
static const DWORD kKeyedColours = 1u << kKeyedBitCount;

static DWORD PixelArraySize(const BITMAPINFOHEADER* header)
{
    unsigned long long stride = ((static_cast<unsigned long long>(header->biWidth > 0 ? header->biWidth : 0) *
                                  header->biBitCount + 31) / 32) * 4;
    long long height = header->biHeight < 0 ? -static_cast<long long>(header->biHeight) : header->biHeight;
    unsigned long long size = stride * static_cast<unsigned long long>(height);
    return size > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(size);
}

static bool FitsInResource(DWORD offset, const BITMAPINFOHEADER* header, DWORD resourceSize)
{
    DWORD pixels = PixelArraySize(header);
    return pixels > 0 && offset <= resourceSize && pixels <= resourceSize - offset;
}

DWORD KeyedBitmapPixelOffset(const BYTE* bits, DWORD resourceSize)
{
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(bits);
    if (resourceSize < kInfoHeaderSize || header->biBitCount != kKeyedBitCount ||
        header->biCompression != BI_RGB || header->biClrUsed > kKeyedColours)
        return 0;
    if (header->biSize != kInfoHeaderSize && header->biSize != sizeof(BITMAPV4HEADER) &&
        header->biSize != sizeof(BITMAPV5HEADER))
        return 0;
    DWORD colours = header->biClrUsed ? header->biClrUsed : kKeyedColours;
    DWORD offset = header->biSize + colours * sizeof(RGBQUAD);
    if (!FitsInResource(offset, header, resourceSize) || bits[offset] >= colours)
        return 0;
    return offset;
}

DWORD PackedBitmapPixelOffset(const BITMAPINFOHEADER* header, DWORD resourceSize)
{
    if (resourceSize < kInfoHeaderSize || header->biSize < kInfoHeaderSize || header->biSize > resourceSize)
        return 0;
    // Compressed pixels have no size of their own to check.
    bool masked = header->biCompression == BI_BITFIELDS && (header->biBitCount == 16 || header->biBitCount == 32);
    if (header->biCompression != BI_RGB && !masked)
        return 0;
    unsigned long long colours = header->biClrUsed;
    if (header->biBitCount <= 8) {
        if (colours > (1ull << header->biBitCount))
            return 0;
        if (colours == 0)
            colours = 1ull << header->biBitCount;
    }
    unsigned long long offset = header->biSize + 4 * colours;
    if (masked && header->biSize == kInfoHeaderSize)
        offset += 3 * sizeof(DWORD);
    if (offset > resourceSize)
        return 0;
    return FitsInResource(static_cast<DWORD>(offset), header, resourceSize) ? static_cast<DWORD>(offset) : 0;
}

static void DrawBits(HWND control, HDC dc, const void* pixels, const BITMAPINFO* info)
{
    RECT client;
    if (!GetClientRect(control, &client))
        return;
    StretchDIBits(dc, client.left, client.top, client.right, client.bottom,
                  0, 0, client.right, client.bottom, pixels, info, DIB_RGB_COLORS, SRCCOPY);
}

// A bitmap resource made ready to draw: its pixels where the module holds
// them, and for a keyed bitmap a copy of its header and colour table whose
// key entry is the button face it was last drawn with. Preparing is done
// once per bitmap; only a change of the button face touches the copy again.
struct PreparedPicture {
    int bitmapId;
    const BYTE* bits;   // the resource, mapped for the life of the module
    DWORD pixelOffset;  // 0: nothing that can be drawn
    bool keyed;
    BYTE key;
    COLORREF keyedFace;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[kKeyedColours];
    } info;
};

// One place for each bitmap the panel draws; a further one is prepared
// anew at each paint rather than evicting another.
static const int kPreparedPictures = 8;
static PreparedPicture preparedPictures[kPreparedPictures];
static int preparedCount = 0;

static void KeyInFace(PreparedPicture* picture, COLORREF face)
{
    RGBQUAD& entry = picture->info.colours[picture->key];
    entry.rgbBlue = GetBValue(face);
    entry.rgbGreen = GetGValue(face);
    entry.rgbRed = GetRValue(face);
    entry.rgbReserved = 0;
    picture->keyedFace = face;
}

// Copies a keyed bitmap's header and colour table; a longer header is
// copied as its first part, which is all an uncompressed palette bitmap
// needs. Anything else is drawn as it is, if it can be drawn as it was
// meant.
static bool Prepare(PreparedPicture* picture, int bitmapId)
{
    HRSRC found = FindResourceA(monitorState.instance, MAKEINTRESOURCEA(bitmapId), RT_BITMAP);
    HGLOBAL loaded = found ? LoadResource(monitorState.instance, found) : nullptr;
    const BYTE* bits = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!bits)
        return false;
    DWORD resourceSize = SizeofResource(monitorState.instance, found);
    picture->bitmapId = bitmapId;
    picture->bits = bits;
    picture->pixelOffset = KeyedBitmapPixelOffset(bits, resourceSize);
    picture->keyed = picture->pixelOffset != 0;
    if (picture->keyed) {
        const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(bits);
        CopyMemory(&picture->info.header, bits, kInfoHeaderSize);
        CopyMemory(picture->info.colours, bits + header->biSize, picture->pixelOffset - header->biSize);
        picture->info.header.biSize = kInfoHeaderSize;
        picture->key = bits[picture->pixelOffset];
        KeyInFace(picture, GetSysColor(COLOR_BTNFACE));
    } else if (resourceSize >= kInfoHeaderSize) {
        picture->pixelOffset =
            PackedBitmapPixelOffset(reinterpret_cast<const BITMAPINFOHEADER*>(bits), resourceSize);
    }
    return true;
}

static PreparedPicture* PreparedFor(int bitmapId, PreparedPicture* spare)
{
    for (int i = 0; i < preparedCount; ++i) {
        if (preparedPictures[i].bitmapId == bitmapId)
            return &preparedPictures[i];
    }
    PreparedPicture* picture = preparedCount < kPreparedPictures ? &preparedPictures[preparedCount] : spare;
    if (!Prepare(picture, bitmapId))
        return nullptr;
    if (picture != spare)
        ++preparedCount;
    return picture;
}

void DrawKeyedBitmap(HWND control, HDC dc, int bitmapId)
{
    PreparedPicture spare;
    PreparedPicture* picture = PreparedFor(bitmapId, &spare);
    if (picture && picture->pixelOffset) {
        const BYTE* pixels = picture->bits + picture->pixelOffset;
        if (picture->keyed) {
            COLORREF face = GetSysColor(COLOR_BTNFACE);
            if (face != picture->keyedFace)
                KeyInFace(picture, face);
            DrawBits(control, dc, pixels, reinterpret_cast<const BITMAPINFO*>(&picture->info));
        } else {
            DrawBits(control, dc, pixels, reinterpret_cast<const BITMAPINFO*>(picture->bits));
        }
    }
}
