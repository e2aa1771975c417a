#include "screen.h"

#include <fstream>

ScreenImage::ScreenImage(const RECT& screenRect)
    : rect_(screenRect), width_(screenRect.right - screenRect.left), height_(screenRect.bottom - screenRect.top)
{
    if (width_ <= 0 || height_ <= 0) {
        width_ = height_ = 0;
        return;
    }
    pixels_.resize(static_cast<size_t>(width_) * height_);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width_, height_, screen, rect_.left, rect_.top, SRCCOPY);
    GdiFlush();
    memcpy(pixels_.data(), bits, pixels_.size() * sizeof(uint32_t));
    SelectObject(memory, old);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

bool ScreenImage::Contains(int screenX, int screenY) const
{
    return screenX >= rect_.left && screenX < rect_.right && screenY >= rect_.top && screenY < rect_.bottom;
}

COLORREF ScreenImage::At(int screenX, int screenY) const
{
    if (!Contains(screenX, screenY))
        return CLR_INVALID;
    uint32_t pixel = pixels_[static_cast<size_t>(screenY - rect_.top) * width_ + (screenX - rect_.left)];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool ScreenImage::Save(const std::string& path) const
{
    int stride = (width_ * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width_;
    header.biHeight = height_;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biSizeImage = static_cast<DWORD>(stride * height_);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    std::vector<char> row(stride, 0);
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            uint32_t pixel = pixels_[static_cast<size_t>(y) * width_ + x];
            row[x * 3] = static_cast<char>(pixel & 0xFF);
            row[x * 3 + 1] = static_cast<char>((pixel >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>((pixel >> 16) & 0xFF);
        }
        out.write(row.data(), stride);
    }
    return static_cast<bool>(out);
}

RECT ClientRectOnScreen(HWND window)
{
    RECT rect = {0, 0, 0, 0};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

ResourceBitmap::ResourceBitmap(const std::string& exePath, int id)
{
    HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (bytes && SizeofResource(module, found) > sizeof(BITMAPINFOHEADER) + 1024) {
        const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
        if (header->biBitCount == 8) {
            width = header->biWidth;
            height = header->biHeight;
            stride_ = (width + 3) & ~3;
            const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(bytes + header->biSize);
            palette_.assign(table, table + 256);
            const BYTE* pixels = bytes + header->biSize + 1024;
            pixels_.assign(pixels, pixels + static_cast<size_t>(stride_) * height);
            key = pixels_[0];
        }
    }
    FreeLibrary(module);
}

COLORREF ResourceBitmap::At(int x, int rowFromBottom, COLORREF keyColour) const
{
    uint8_t index = pixels_[static_cast<size_t>(rowFromBottom) * stride_ + x];
    if (index == key)
        return keyColour;
    const RGBQUAD& entry = palette_[index];
    return RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
}

void WaitForSettledScreen(const RECT& rect, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    Sleep(150);
    ScreenImage before(rect);
    while (GetTickCount() - start < timeoutMs) {
        Sleep(150);
        ScreenImage now(rect);
        bool same = true;
        for (LONG y = rect.top; y < rect.bottom && same; y += 3)
            for (LONG x = rect.left; x < rect.right && same; x += 3)
                same = before.At(x, y) == now.At(x, y);
        if (same)
            return;
        before = now;
    }
}
