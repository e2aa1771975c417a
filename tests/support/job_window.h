// A job window of this thread standing in for the print side's: it
// records every cancel request the monitor sends it (LVWM_CANCELJOB).
#ifndef LUMEVIEW_TEST_JOB_WINDOW_H
#define LUMEVIEW_TEST_JOB_WINDOW_H

#include <windows.h>

#include <vector>

class JobWindow {
public:
    JobWindow();
    ~JobWindow();
    JobWindow(const JobWindow&) = delete;
    JobWindow& operator=(const JobWindow&) = delete;

    struct Request {
        WPARAM wParam;
        LPARAM lParam;
    };
    // The requests received since the last job window was made. Handles
    // for `waitMs` first the requests this thread's queue holds: one posted
    // instead of sent is counted too.
    static std::vector<Request>& received(DWORD waitMs = 0);

    HWND window = nullptr;
};

#endif
