#include "help_spy.h"

#include <cstring>

#include "monitor_copy.h"

// The block WinHelp sends with WM_COPYDATA.
#pragma pack(push, 1)
struct WinHelpBlock {
    WORD size;
    WORD command;
    LONG data;
    LONG reserved;
    WORD fileOffset;
    WORD dataOffset;
};
#pragma pack(pop)

static const ULONG_PTR kWinHelpCopyData = 0x0A1DE505;
static HelpSpy* activeSpy = nullptr;

HelpSpy::HelpSpy()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MS_WINHELP";
    RegisterClassA(&windowClass);
    activeSpy = this;
    window_ = CreateWindowA("MS_WINHELP", "help spy", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
}

HelpSpy::~HelpSpy()
{
    DestroyWindow(window_);
    activeSpy = nullptr;
}

bool HelpSpy::WaitFor(size_t count, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (requests_.size() < count && GetTickCount() - start < timeoutMs) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return requests_.size() >= count;
}

LRESULT CALLBACK HelpSpy::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA && activeSpy) {
        const COPYDATASTRUCT* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (copy->dwData == kWinHelpCopyData && copy->cbData >= sizeof(WinHelpBlock)) {
            const WinHelpBlock* block = static_cast<const WinHelpBlock*>(copy->lpData);
            HelpRequest request = {block->command, static_cast<DWORD>(block->data), "", reinterpret_cast<HWND>(wParam)};
            if (block->fileOffset && block->fileOffset < copy->cbData) {
                const char* file = static_cast<const char*>(copy->lpData) + block->fileOffset;
                request.file.assign(file, strnlen(file, copy->cbData - block->fileOffset));
            }
            activeSpy->requests_.push_back(request);
        }
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int ObservedDeviceState(MonitorCopy& monitor, HelpSpy& spy)
{
    spy.Clear();
    DWORD_PTR result = 0;
    SendMessageTimeoutA(monitor.Control(9), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result);
    if (!spy.WaitFor(1))
        return -1;
    DWORD topic = spy.Requests().back().data;
    return topic >= 502 && topic <= 504 ? static_cast<int>(topic - 502) : -1;
}
