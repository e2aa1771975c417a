// The memory a running process holds, read from outside it or from inside.
// Shared by the benchmark and the tests.
#ifndef LUMEVIEW_INSPECT_PROCESS_MEMORY_H
#define LUMEVIEW_INSPECT_PROCESS_MEMORY_H

#include <windows.h>

struct ProcessMemory {
    SIZE_T workingSet = 0;      // bytes in memory
    SIZE_T privateBytes = 0;    // bytes committed to the process alone
    SIZE_T peakWorkingSet = 0;  // the most bytes it ever had in memory
};

// False when the process cannot be asked; *memory is then left alone.
bool ReadMemoryCounters(HANDLE process, ProcessMemory* memory);

#endif
