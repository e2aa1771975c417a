// Drawing the panel's bitmaps with their background in the button face.
#ifndef LUMEVIEW_PICTURE_H
#define LUMEVIEW_PICTURE_H

#include <windows.h>

// Draws bitmap resource `bitmapId` 1:1 into `control`, whose paint cycle
// (`paint`, opened by the caller) it closes.
void DrawKeyedBitmap(HWND control, HDC dc, PAINTSTRUCT* paint, int bitmapId);

// Size of header plus colour table, or 0 when the bitmap is not one that
// can be drawn safely from `resourceSize` bytes.
DWORD KeyedBitmapHeaderSize(const BITMAPINFOHEADER* header, DWORD resourceSize);
// Offset of the pixels of any packed bitmap, or 0 when it does not fit.
DWORD PackedBitmapPixelOffset(const BITMAPINFOHEADER* header, DWORD resourceSize);

#endif
