// Drawing the panel's bitmaps with their background in the button face.
#ifndef LUMEVIEW_PICTURE_H
#define LUMEVIEW_PICTURE_H

#include <windows.h>

// Draws bitmap resource `bitmapId` 1:1 into `control` on `dc`, within a
// paint cycle that the caller opens and closes.
void DrawKeyedBitmap(HWND control, HDC dc, int bitmapId);

// Offset of the pixels of a packed bitmap whose background can be keyed:
// uncompressed, 8 bits, a header of a kind that Windows defines, a table
// of at most 256 colours that holds the key, and every row inside the
// `resourceSize` bytes of `bits`. 0 for any other bitmap.
DWORD KeyedBitmapPixelOffset(const BYTE* bits, DWORD resourceSize);
// Offset of the pixels of a packed bitmap drawn as it is, or 0 when it is
// compressed or does not fit.
DWORD PackedBitmapPixelOffset(const BITMAPINFOHEADER* header, DWORD resourceSize);

#endif
