#include "process_metrics.h"

#include <psapi.h>

ProcessMemory MemoryOf(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    ProcessMemory memory;
    if (GetProcessMemoryInfo(process, &counters, sizeof counters)) {
        memory.workingSet = counters.WorkingSetSize;
        memory.privateBytes = counters.PagefileUsage;
    }
    return memory;
}

long LiveGdiObjects()
{
    DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0)
        return static_cast<long>(reported);
    const UINT_PTR kHandleSlots = 0x10000;
    long live = 0;
    for (UINT_PTR slot = 1; slot < kHandleSlots; ++slot) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0)
            ++live;
    }
    return live;
}

namespace {

struct ClassSearch {
    const char* className;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectWindowOfClass(HWND window, LPARAM context)
{
    ClassSearch* search = reinterpret_cast<ClassSearch*>(context);
    char name[256] = {};
    if (GetClassNameA(window, name, sizeof name) && lstrcmpA(name, search->className) == 0)
        search->found->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> WindowsOfClass(const char* className)
{
    std::vector<HWND> found;
    ClassSearch search = {className, &found};
    EnumWindows(CollectWindowOfClass, reinterpret_cast<LPARAM>(&search));
    return found;
}
