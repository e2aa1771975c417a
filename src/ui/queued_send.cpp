#include "ui/queued_send.h"

static ULONG_PTR answeredRequest = 0;  // number of the last request answered

static VOID CALLBACK RequestAnswered(HWND, UINT, ULONG_PTR request, LRESULT)
{
    answeredRequest = request;
}

// A SendMessageTimeoutA whose wait runs out is withdrawn under Wine, and
// SMTO_ABORTIFHUNG drops it at once; a send with a callback stays queued.
bool SendQueued(HWND target, UINT message, WPARAM wParam, LPARAM lParam, DWORD limitMs)
{
    static ULONG_PTR lastRequest = 0;
    ULONG_PTR request = ++lastRequest;
    if (!SendMessageCallbackA(target, message, wParam, lParam, RequestAnswered, request))
        return false;
    DWORD start = GetTickCount();
    for (;;) {
        MSG pending;
        PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        DWORD waited = GetTickCount() - start;
        if (answeredRequest == request)
            return true;
        if (waited >= limitMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, limitMs - waited, QS_SENDMESSAGE);
    }
}
