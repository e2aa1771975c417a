#include "state/window_object.h"

MainWindowObject mainWindowObject;
PanelWindowObject panelWindowObject;

BOOL WindowObject::create(const char* className, const char* windowName, DWORD style,
                          int x, int y, int width, int height, HWND parent, HMENU menu,
                          HINSTANCE instance, void* param)
{
    this->instance = instance;
    rect = {x, y, width, height};
    window = CreateWindowExA(0, className, windowName, style, x, y, width, height,
                             parent, menu, instance, param);
    return window != nullptr;
}

BOOL WindowObject::move(int x, int y, int width, int height, BOOL repaint)
{
    rect = {x, y, width, height};
    return MoveWindow(window, x, y, width, height, repaint);
}

struct FrameRect* WindowObject::getRect(struct FrameRect* out) const
{
    RECT screen = {0, 0, 0, 0};
    GetWindowRect(window, &screen);
    out->x = screen.left;
    out->y = screen.top;
    out->width = screen.right - screen.left;
    out->height = screen.bottom - screen.top;
    return out;
}
