// The floor of the benchmark: the least the platform costs for the
// monitor's own windows. A main window of the monitor's class style, size
// and frame holds the panel made from the monitor's template and resources.
// Every message of the print side is answered with 1; a report that changes
// the state does only what showing the new state needs: the class icon, the
// device picture and the state icon, each drawn the cheapest correct way
// (bitmaps made once and blitted, icons drawn, each in its control's paint).
#include <windows.h>

#include "lumeview/protocol.h"
#include "resource.h"

static const char kClassName[] = "LVBENCH_FLOOR";

struct StateLook {
    int deviceBitmap;
    int stateIcon;
    int windowIcon;
    HBITMAP picture;  // the device picture at the control's size
    HICON icon;
    HICON classIcon;
};

static StateLook looks[] = {
    {IDB_READY, IDI_STATE_BLANK, IDI_DEVICE_READY, nullptr, nullptr, nullptr},
    {IDB_ERROR, IDI_STATE_ERROR, IDI_DEVICE_ERROR, nullptr, nullptr, nullptr},
};
static int shownLook = 0;
static HWND panel = nullptr;

static LRESULT CALLBACK PictureProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    if (message != WM_PAINT)
        return DefWindowProcA(control, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(control, &paint);
    const StateLook& look = looks[shownLook];
    if (GetDlgCtrlID(control) == IDC_DEVICE_PICTURE) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, look.picture);
        BitBlt(dc, 0, 0, paint.rcPaint.right, paint.rcPaint.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    } else {
        DrawIconEx(dc, 0, 0, look.icon, 0, 0, 0, nullptr, DI_NORMAL);
    }
    EndPaint(control, &paint);
    return 0;
}

static void PrepareLooks(HINSTANCE instance)
{
    HWND device = GetDlgItem(panel, IDC_DEVICE_PICTURE);
    RECT size;
    GetClientRect(device, &size);
    for (StateLook& look : looks) {
        look.picture = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(look.deviceBitmap), IMAGE_BITMAP,
                                                       size.right, size.bottom, 0));
        look.icon = LoadIconA(instance, MAKEINTRESOURCEA(look.stateIcon));
        look.classIcon = LoadIconA(instance, MAKEINTRESOURCEA(look.windowIcon));
    }
    SetWindowLongPtrA(device, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PictureProc));
    SetWindowLongPtrA(GetDlgItem(panel, IDC_STATE_ICON), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PictureProc));
}

static void ShowLook(HWND window, int index)
{
    shownLook = index;
    const StateLook& look = looks[index];
    InvalidateRect(GetDlgItem(panel, IDC_DEVICE_PICTURE), nullptr, FALSE);
    InvalidateRect(GetDlgItem(panel, IDC_STATE_ICON), nullptr, FALSE);
    SetClassLongPtrA(window, GCLP_HICONSM, reinterpret_cast<LONG_PTR>(look.classIcon));
    SetClassLongPtrA(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(look.classIcon));
    RECT frame;
    GetWindowRect(window, &frame);
    RECT caption = {-(frame.right - frame.left), -(frame.bottom - frame.top), frame.right - frame.left, 0};
    RedrawWindow(window, &caption, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

static INT_PTR CALLBACK PanelProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The bench's state-changing reports alternate a paper jam (Error) and
    // copying (Ready).
    if (message == LVWM_ERROR) {
        int look = wParam == OPECALL_RECOVER && lParam == 2 ? 1 : 0;
        if (look != shownLook)
            ShowLook(window, look);
        return 1;
    }
    if (message >= WM_USER)
        return 1;
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_DEVICE_READY));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass))
        return 1;
    HWND window = CreateWindowExA(0, kClassName, "floor", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 420, 300,
                                  nullptr, nullptr, instance, nullptr);
    panel = window ? CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_STATUS_PANEL), window, PanelProc, 0) : nullptr;
    if (!panel)
        return 1;
    // Around the panel, centred on the desktop, as the monitor sits.
    RECT inner = {0, 0, 0, 0};
    GetWindowRect(panel, &inner);
    RECT outer = {0, 0, inner.right - inner.left, inner.bottom - inner.top};
    AdjustWindowRect(&outer, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The class already has the Ready icon; the pictures are needed only
    // by the first paint.
    ShowWindow(window, showCommand);
    PrepareLooks(instance);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
