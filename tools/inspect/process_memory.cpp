#include "process_memory.h"

#include <psapi.h>

bool ReadMemoryCounters(HANDLE process, ProcessMemory* memory)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        return false;
    memory->workingSet = counters.WorkingSetSize;
    memory->privateBytes = counters.PagefileUsage;
    memory->peakWorkingSet = counters.PeakWorkingSetSize;
    return true;
}
