// The thread library under mingw's C++ runtime reads the clock with
// GetTickCount64, which Windows XP lacks, so lvsend would not load there.
// This entry of the import address table takes the place of the system's:
// the real call where it exists, the 32-bit count on XP.
#include <windows.h>

#ifdef __MINGW32__
typedef ULONGLONG(WINAPI* TickCount64Function)();

static ULONGLONG WINAPI TickCount64()
{
    static TickCount64Function system = reinterpret_cast<TickCount64Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
    return system ? system() : GetTickCount();
}

extern "C" {
TickCount64Function tickCount64Entry __asm__("__imp__GetTickCount64@0") = TickCount64;
}
#endif
