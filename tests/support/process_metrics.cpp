#include "process_metrics.h"

#include <gtest/gtest.h>

#include <algorithm>

ProcessMemory MemoryOf(HANDLE process, const char* file, int line)
{
    ProcessMemory memory;
    if (!ReadMemoryCounters(process, &memory)) {
        ADD_FAILURE_AT(file, line) << "no memory reading of the process, error " << GetLastError();
        return memory;
    }
    // A running process always has pages in memory; none is no reading.
    if (memory.workingSet == 0)
        ADD_FAILURE_AT(file, line) << "the memory reading gave a working set of 0";
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

double GrowthTrend::MedianStep() const
{
    if (readings_.size() < 2)
        return 0.0;
    std::vector<double> steps;
    for (size_t i = 1; i < readings_.size(); ++i)
        steps.push_back(readings_[i] - readings_[i - 1]);
    std::sort(steps.begin(), steps.end());
    size_t middle = steps.size() / 2;
    return steps.size() % 2 ? steps[middle] : (steps[middle - 1] + steps[middle]) / 2.0;
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
