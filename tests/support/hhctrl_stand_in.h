// The HTML Help recorder (hhctrl_recorder.cpp) in place of the system's
// hhctrl.ocx, and what it logged there. Tests that use it, or need the
// system's own in its place, hold the "htmlhelp" lock.
#ifndef LUMEVIEW_TEST_HHCTRL_STAND_IN_H
#define LUMEVIEW_TEST_HHCTRL_STAND_IN_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system_stand_in.h"

class MonitorCopy;

// The commands of htmlhelp.h the monitor sends.
const UINT kHelpContextCommand = 0x000F;  // HH_HELP_CONTEXT
const UINT kCloseAllCommand = 0x0012;     // HH_CLOSE_ALL

struct HtmlHelpCall {
    HWND owner;
    UINT command;
    DWORD data;        // the context number for HH_HELP_CONTEXT
    std::string file;  // empty for none
};

struct HtmlHelpLog {
    size_t loads = 0;  // processes that loaded the recorder
    std::vector<HtmlHelpCall> calls;
};

class HhctrlStandIn : public SystemProgramStandIn {
public:
    explicit HhctrlStandIn(const char* file = __builtin_FILE(), int line = __builtin_LINE());

    // Wine loads its own hhctrl.ocx from the system folder whatever lies
    // there, unless told to prefer a native one for that program; for
    // ASSERT_TRUE before the monitor starts.
    [[nodiscard]] testing::AssertionResult LoadedBy(const MonitorCopy& monitor) const;
    // What was logged since the stand-in came or was cleared.
    HtmlHelpLog Log() const;
    // The log once it holds `calls` calls, or when the time is up.
    HtmlHelpLog WaitForCalls(size_t calls, DWORD timeoutMs = 5000) const;
    void Clear() const;
};

#endif
