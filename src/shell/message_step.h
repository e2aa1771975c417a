// One step of the monitor's message loop: the accelerators and the open
// dialog see a message before it is dispatched. WinMain's loop runs it; the
// tests that host the monitor in their own process run the same.
#ifndef LUMEVIEW_MESSAGE_STEP_H
#define LUMEVIEW_MESSAGE_STEP_H

#include <windows.h>

// Hands one message taken from the queue to the accelerator table, to the
// current dialog, or else to its window.
void HandleMonitorMessage(HACCEL accelerators, MSG* message);

#endif
