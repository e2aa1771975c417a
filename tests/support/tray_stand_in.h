// A window of class "Shell_TrayWnd", the taskbar's, on a thread of its
// own: Wine's shell32 hands every Shell_NotifyIcon call of the monitor to
// the newest such window as WM_COPYDATA, and this one records each add,
// change and removal with its icon, tooltip and balloon.
#ifndef LUMEVIEW_TEST_TRAY_STAND_IN_H
#define LUMEVIEW_TEST_TRAY_STAND_IN_H

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TrayCall {
    DWORD action;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
    HWND window;
    UINT id;
    UINT flags;  // NIF_...
    UINT callbackMessage;
    std::wstring tip;
    std::wstring info;  // the balloon, with NIF_INFO
    std::wstring infoTitle;
    DWORD infoFlags;
    std::vector<BYTE> iconBits;  // the icon's mask and colour bits, with NIF_ICON
};

// Tests that use it hold the "tray" lock: the class is looked up
// system-wide.
class TrayStandIn {
public:
    // The first `refusedAdds` adds are answered FALSE, as a taskbar that is
    // still starting does.
    explicit TrayStandIn(int refusedAdds = 0);
    ~TrayStandIn();
    TrayStandIn(const TrayStandIn&) = delete;
    TrayStandIn& operator=(const TrayStandIn&) = delete;

    // Waits until `count` calls have come, or the time is up.
    bool WaitForCalls(size_t count, DWORD timeoutMs = 5000);
    std::vector<TrayCall> Calls();
    void Clear();
    bool Ready() const { return window_ != nullptr; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Run();
    LRESULT Record(const COPYDATASTRUCT& copy);

    int refusedAdds_;
    HWND window_ = nullptr;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<TrayCall> calls_;
    std::thread thread_;
};

// The bits the stand-in records for icon `iconId` of `exePath` at the
// small size, as Wine's shell32 copies them.
std::vector<BYTE> SmallIconBits(const std::string& exePath, int iconId);

#endif
