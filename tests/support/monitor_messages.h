// The monitor's message loop run in a test's own process, for the tests
// that host the monitor's windows there (they link the monitor's code).
#ifndef LUMEVIEW_TEST_MONITOR_MESSAGES_H
#define LUMEVIEW_TEST_MONITOR_MESSAGES_H

#include <windows.h>

#include "state/current_dialog.h"

// Handles what is queued, as the monitor's loop does.
inline void PumpMonitorMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageA(currentDialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
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
