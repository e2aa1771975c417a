#include "polling.h"

bool Eventually(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        if (condition())
            return true;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return condition();
}
