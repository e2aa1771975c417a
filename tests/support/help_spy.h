// A window of the class the help engine looks for, which records every
// help request the monitor makes while this process waits on it.
#ifndef LUMEVIEW_TEST_HELP_SPY_H
#define LUMEVIEW_TEST_HELP_SPY_H

#include <windows.h>

#include <string>
#include <vector>

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
    HelpSpy();
    ~HelpSpy();
    HelpSpy(const HelpSpy&) = delete;
    HelpSpy& operator=(const HelpSpy&) = delete;

    // Pumps messages until `count` requests arrived or the time is up.
    bool WaitFor(size_t count, DWORD timeoutMs = 5000);
    const std::vector<HelpRequest>& Requests() const { return requests_; }
    void Clear() { requests_.clear(); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    std::vector<HelpRequest> requests_;
};

class MonitorCopy;

// The monitor's device state as its Help button reveals it (topics 502,
// 503, 504 on Windows 95 and NT); -1 when no request came.
int ObservedDeviceState(MonitorCopy& monitor, HelpSpy& spy);

#endif
