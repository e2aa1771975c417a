// Recording windows standing in for the programs the monitor and lvsend
// talk to.
#ifndef LUMEVIEW_TEST_STAND_IN_WINDOWS_H
#define LUMEVIEW_TEST_STAND_IN_WINDOWS_H

#include <string>

#include "lumeview/protocol.h"
#include "recording_window.h"

// The monitor: every message of the program's range that another program
// sends it is recorded and answered with kSpyAnswer. Its class is this
// process's own, so that tests side by side never find each other's.
const LRESULT kSpyAnswer = 4660;
class SpyWindow : public RecordingWindow {
public:
    explicit SpyWindow(const char* file = __builtin_FILE(), int line = __builtin_LINE())
        : RecordingWindow("LVSEND_SPY_" + std::to_string(GetCurrentProcessId()), {WM_USER, 0x7FFF}, kSpyAnswer,
                          file, line)
    {
    }
};

// A print side's job window: it records every cancel request (LVWM_CANCELJOB).
class JobWindow : public RecordingWindow {
public:
    explicit JobWindow(const char* file = __builtin_FILE(), int line = __builtin_LINE())
        : RecordingWindow("LumeviewTestJob", {LVWM_CANCELJOB, LVWM_CANCELJOB}, 1, file, line)
    {
    }
};

#endif
