#include "spy_window.h"

static LRESULT CALLBACK SpyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER && message < 0x8000) {
        SpyWindow::received().push_back({message, wParam, lParam});
        return kSpyAnswer;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

SpyWindow::SpyWindow()
{
    className = "LVSEND_SPY_" + std::to_string(GetCurrentProcessId());
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = SpyProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className.c_str();
    RegisterClassA(&windowClass);
    window = CreateWindowA(className.c_str(), "spy", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, windowClass.hInstance,
                           nullptr);
    received().clear();
}

SpyWindow::~SpyWindow()
{
    DestroyWindow(window);
}

std::vector<Received>& SpyWindow::received()
{
    static std::vector<Received> messages;
    return messages;
}
