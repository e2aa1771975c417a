// A recording window of the class the help engine looks for, read as the
// help requests the monitor makes while this process waits on it.
#ifndef LUMEVIEW_TEST_HELP_SPY_H
#define LUMEVIEW_TEST_HELP_SPY_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_window.h"

struct HelpRequest {
    UINT command;
    DWORD data;        // the context number for HELP_CONTEXT
    std::string file;  // help file as the monitor named it
    HWND owner;        // the window WinHelp was called with
};

// Tests that use it hold the "winhelp" lock: the class is looked up
// system-wide.
class HelpSpy {
public:
    explicit HelpSpy(const char* file = __builtin_FILE(), int line = __builtin_LINE());

    // Pumps messages until `count` requests arrived or the time is up.
    [[nodiscard]] testing::AssertionResult WaitFor(size_t count, DWORD timeoutMs = 5000);
    // The requests among the blocks copied to the window, in their order.
    std::vector<HelpRequest> Requests();
    void Clear() { window_.Clear(); }

private:
    RecordingWindow window_;
};

class MonitorCopy;

// The monitor's device state as its Help button reveals it (topics 502,
// 503, 504 on Windows 95 and NT); -1 when no request came.
int ObservedDeviceState(MonitorCopy& monitor, HelpSpy& spy);

#endif
