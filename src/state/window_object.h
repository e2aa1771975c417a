// The records that pair the main window and the panel with their instance
// and last placement. One of each exists for the whole run.
#ifndef LUMEVIEW_WINDOW_OBJECT_H
#define LUMEVIEW_WINDOW_OBJECT_H

#include <windows.h>

// Named like the GDI function FrameRect, so the type is always spelled
// with its tag.
struct FrameRect {
    LONG x;
    LONG y;
    LONG width;
    LONG height;
};

class WindowObject {
public:
    // Makes the window (extended style 0); 1 when it was made.
    virtual BOOL create(const char* className, const char* windowName, DWORD style,
                        int x, int y, int width, int height, HWND parent, HMENU menu,
                        HINSTANCE instance, void* param);
    // Moves the window and remembers the placement.
    BOOL move(int x, int y, int width, int height, BOOL repaint);
    // The window's current screen rectangle as position and size.
    struct FrameRect* getRect(struct FrameRect* out) const;

    HWND window = nullptr;
    HINSTANCE instance = nullptr;
    struct FrameRect rect = {0, 0, 0, 0};
    LONG closedByRequest = 0;  // set when LVWM_APPCLOSE closed the window

protected:
    // The records live for the whole run and are never deleted.
    ~WindowObject() = default;
};

class MainWindowObject : public WindowObject {};
class PanelWindowObject : public WindowObject {};

extern MainWindowObject mainWindowObject;
extern PanelWindowObject panelWindowObject;

#endif
