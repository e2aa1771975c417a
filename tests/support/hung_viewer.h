// A recording window of the help viewer's class on a thread that reads no
// messages, as a hung viewer's would. Tests that use it hold the "winhelp" lock.
#ifndef LUMEVIEW_TEST_HUNG_VIEWER_H
#define LUMEVIEW_TEST_HUNG_VIEWER_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

class MonitorCopy;

class HungViewer {
public:
    HungViewer();
    // The thread reads what was sent to it meanwhile, then closes the window.
    ~HungViewer();
    HungViewer(const HungViewer&) = delete;
    HungViewer& operator=(const HungViewer&) = delete;

private:
    static DWORD WINAPI Run(void* self);
    HANDLE created_;
    HANDLE release_;
    HANDLE thread_;
};

// Asks for help through `press` (a posted key or command), then checks that
// the monitor still reads its queue and answers a report within seconds.
testing::AssertionResult AnswersAfterAskingForHelp(MonitorCopy& monitor, const std::function<void()>& press);

#endif
