// A send to another program's window that is never withdrawn: it stays
// queued until that program reads again, however long it is busy, while
// the sender waits for the answer only so long.
#ifndef LUMEVIEW_QUEUED_SEND_H
#define LUMEVIEW_QUEUED_SEND_H

#include <windows.h>

// True when `target` answered within `limitMs`. Messages sent to this
// thread meanwhile are handled, as SendMessageA would.
bool SendQueued(HWND target, UINT message, WPARAM wParam, LPARAM lParam, DWORD limitMs);

#endif
