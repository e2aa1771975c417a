// A recording window of class "Shell_TrayWnd", the taskbar's: Wine's
// shell32 hands every Shell_NotifyIcon call of the monitor to the newest
// such window as WM_COPYDATA, and this one reads each add, change and
// removal with its icon, tooltip and balloon. It serves this thread: the
// monitor's call waits until the test sends, waits or reads.
#ifndef LUMEVIEW_TEST_TRAY_STAND_IN_H
#define LUMEVIEW_TEST_TRAY_STAND_IN_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_window.h"

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
    std::string iconBits;  // the icon's mask and colour bits, with NIF_ICON
};

// Tests that use it hold the "tray" lock: the class is looked up
// system-wide.
class TrayStandIn {
public:
    // `answer` FALSE stands for a taskbar that is still starting and
    // refuses every call.
    explicit TrayStandIn(LRESULT answer = TRUE, const char* file = __builtin_FILE(), int line = __builtin_LINE())
        : recorder_("Shell_TrayWnd", {WM_COPYDATA, WM_COPYDATA}, answer, file, line)
    {
    }

    [[nodiscard]] testing::AssertionResult WaitForCalls(size_t count, DWORD timeoutMs = 5000)
    {
        return recorder_.WaitFor(count, timeoutMs);
    }
    // The calls since the stand-in was made or cleared, after serving the
    // calls waiting.
    std::vector<TrayCall> Calls();
    void Clear() { recorder_.Clear(); }
    bool Ready() const { return recorder_.window != nullptr; }

private:
    RecordingWindow recorder_;
};

// The bits the stand-in reads for icon `iconId` of `exePath` at the small
// size, as Wine's shell32 copies them.
std::string SmallIconBits(const std::string& exePath, int iconId);

#endif
