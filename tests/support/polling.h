// Waiting for what another process does, always within a bound.
#ifndef LUMEVIEW_TEST_POLLING_H
#define LUMEVIEW_TEST_POLLING_H

#include <windows.h>

#include <functional>

// Polls until the condition holds: the monitor paints and saves when its
// queue is idle, not before a message returns.
bool Eventually(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

#endif
