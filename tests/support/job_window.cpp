#include "job_window.h"

#include "lumeview/protocol.h"

static const char kJobClass[] = "LumeviewTestJob";

static LRESULT CALLBACK JobWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LVWM_CANCELJOB) {
        JobWindow::received().push_back({wParam, lParam});
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

JobWindow::JobWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = JobWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kJobClass;
    RegisterClassA(&windowClass);
    window = CreateWindowA(kJobClass, "job", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, windowClass.hInstance, nullptr);
    received().clear();
}

JobWindow::~JobWindow()
{
    if (IsWindow(window))
        DestroyWindow(window);
}

std::vector<JobWindow::Request>& JobWindow::received(DWORD waitMs)
{
    static std::vector<Request> requests;
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, LVWM_CANCELJOB, LVWM_CANCELJOB, PM_REMOVE))
            DispatchMessageA(&message);
        if (waitMs > 0)
            Sleep(10);
    } while (GetTickCount() - start < waitMs);
    return requests;
}
