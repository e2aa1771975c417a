// The panel's pictures are 8-bit bitmaps whose bottom-left pixel names the
// background colour; that palette entry is drawn in the button face so the
// picture merges with the panel.
#include "picture.h"

#include <new>

#include "monitor_state.h"

static const DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);
static const int kKeyedBitCount = 8;

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

DWORD KeyedBitmapHeaderSize(const BITMAPINFOHEADER* header, DWORD resourceSize)
{
    if (resourceSize < kInfoHeaderSize || (header->biBitCount & 0xFF) != kKeyedBitCount)
        return 0;
    DWORD size = kInfoHeaderSize + 4 * (1u << kKeyedBitCount);
    return FitsInResource(size, header, resourceSize) ? size : 0;
}

DWORD PackedBitmapPixelOffset(const BITMAPINFOHEADER* header, DWORD resourceSize)
{
    if (resourceSize < kInfoHeaderSize || header->biSize < kInfoHeaderSize || header->biSize > resourceSize)
        return 0;
    unsigned long long colours = header->biClrUsed;
    if (colours == 0 && header->biBitCount <= 8)
        colours = 1ull << header->biBitCount;
    unsigned long long offset = header->biSize + 4 * colours;
    if (header->biCompression == BI_BITFIELDS && header->biSize == kInfoHeaderSize)
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

static void DrawWithKeyReplaced(HWND control, HDC dc, const BYTE* bits, DWORD headerSize)
{
    BYTE* copy = new (std::nothrow) BYTE[headerSize];
    if (!copy) {
        DrawBits(control, dc, bits + headerSize, reinterpret_cast<const BITMAPINFO*>(bits));
        return;
    }
    CopyMemory(copy, bits, headerSize);
    BYTE key = bits[headerSize];
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(copy + kInfoHeaderSize);
    table[key].rgbBlue = GetBValue(face);
    table[key].rgbGreen = GetGValue(face);
    table[key].rgbRed = GetRValue(face);
    table[key].rgbReserved = 0;
    DrawBits(control, dc, bits + headerSize, reinterpret_cast<const BITMAPINFO*>(copy));
    delete[] copy;
}

// Draws only what lies inside the resource; anything else is skipped.
static void DrawBitmapResource(HWND control, HDC dc, const BYTE* bits, DWORD resourceSize)
{
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(bits);
    if (resourceSize < kInfoHeaderSize)
        return;
    if ((header->biBitCount & 0xFF) == kKeyedBitCount) {
        DWORD headerSize = KeyedBitmapHeaderSize(header, resourceSize);
        if (headerSize)
            DrawWithKeyReplaced(control, dc, bits, headerSize);
        return;
    }
    DWORD offset = PackedBitmapPixelOffset(header, resourceSize);
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
