// The monitor's message loop run in a test's own process, for the tests
// that host the monitor's windows there (they link the monitor's code and
// its resources).
#ifndef LUMEVIEW_TEST_MONITOR_MESSAGES_H
#define LUMEVIEW_TEST_MONITOR_MESSAGES_H

#include <windows.h>

#include "resource.h"
#include "shell/message_step.h"

// Handles what is queued with the monitor's own loop step, accelerators
// included.
inline void PumpMonitorMessages()
{
    static const HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAIN));
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        HandleMonitorMessage(accelerators, &message);
}

// Keeps handling messages for a while.
inline void PumpMonitorMessagesFor(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        PumpMonitorMessages();
        Sleep(10);
    }
}

#endif
