// The panel's pictures are 8-bit bitmaps whose bottom-left pixel names the
// background colour; that palette entry is drawn in the button face so the
// picture merges with the panel.
#include "ui/picture.h"

#include "protocol/monitor_state.h"

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

// Draws through a copy of the header and colour table in which the key
// entry is the button face. A longer header is copied as its first part,
// which is all an uncompressed palette bitmap needs.
static void DrawWithKeyReplaced(HWND control, HDC dc, const BYTE* bits, DWORD pixelOffset)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[kKeyedColours];
    } copy;
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(bits);
    CopyMemory(&copy.header, bits, kInfoHeaderSize);
    CopyMemory(copy.colours, bits + header->biSize, pixelOffset - header->biSize);
    copy.header.biSize = kInfoHeaderSize;
    BYTE key = bits[pixelOffset];
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    copy.colours[key].rgbBlue = GetBValue(face);
    copy.colours[key].rgbGreen = GetGValue(face);
    copy.colours[key].rgbRed = GetRValue(face);
    copy.colours[key].rgbReserved = 0;
    DrawBits(control, dc, bits + pixelOffset, reinterpret_cast<const BITMAPINFO*>(&copy));
}

// Draws only what lies inside the resource and can be drawn as it was
// meant; anything else is skipped.
static void DrawBitmapResource(HWND control, HDC dc, const BYTE* bits, DWORD resourceSize)
{
    DWORD offset = KeyedBitmapPixelOffset(bits, resourceSize);
    if (offset) {
        DrawWithKeyReplaced(control, dc, bits, offset);
        return;
    }
    if (resourceSize < kInfoHeaderSize)
        return;
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(bits);
    offset = PackedBitmapPixelOffset(header, resourceSize);
    if (offset)
        DrawBits(control, dc, bits + offset, reinterpret_cast<const BITMAPINFO*>(bits));
}

void DrawKeyedBitmap(HWND control, HDC dc, PAINTSTRUCT* paint, int bitmapId)
{
    HRSRC found = FindResourceA(monitorState.instance, MAKEINTRESOURCEA(bitmapId), RT_BITMAP);
    HGLOBAL loaded = found ? LoadResource(monitorState.instance, found) : nullptr;
    if (loaded) {
        const BYTE* bits = static_cast<const BYTE*>(LockResource(loaded));
        if (bits)
            DrawBitmapResource(control, dc, bits, SizeofResource(monitorState.instance, found));
        FreeResource(loaded);
    }
    EndPaint(control, paint);
}
