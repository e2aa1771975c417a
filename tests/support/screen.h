// Reading what is on the (Xvfb) screen, and the pictures the monitor
// carries, to compare the two pixel for pixel.
#ifndef LUMEVIEW_TEST_SCREEN_H
#define LUMEVIEW_TEST_SCREEN_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A copy of a screen rectangle.
class ScreenImage {
public:
    explicit ScreenImage(const RECT& screenRect);
    COLORREF At(int screenX, int screenY) const;
    bool Contains(int screenX, int screenY) const;
    // Writes the image as a 24-bit .bmp file.
    bool Save(const std::string& path) const;
    const RECT& Rect() const { return rect_; }

private:
    RECT rect_;
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;  // top-down 0x00RRGGBB
};

// Client rectangle of a window in screen coordinates.
RECT ClientRectOnScreen(HWND window);

// An 8-bit bitmap resource of the monitor's executable.
class ResourceBitmap {
public:
    ResourceBitmap(const std::string& exePath, int id);
    bool Loaded() const { return width > 0; }
    // Colour of a pixel counted from the bitmap's bottom row, with the
    // key colour drawn as `keyColour`.
    COLORREF At(int x, int rowFromBottom, COLORREF keyColour) const;

    int width = 0;
    int height = 0;
    uint8_t key = 0;

private:
    std::vector<RGBQUAD> palette_;
    std::vector<uint8_t> pixels_;
    int stride_ = 0;
};

// Waits until nothing changes in the rectangle for a moment (painting done).
void WaitForSettledScreen(const RECT& rect, DWORD timeoutMs = 3000);

#endif
