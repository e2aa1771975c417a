// What a process holds, read from outside it or from inside: memory, GDI
// objects, windows of a class.
#ifndef LUMEVIEW_TEST_PROCESS_METRICS_H
#define LUMEVIEW_TEST_PROCESS_METRICS_H

#include <windows.h>

#include <vector>

#include "process_memory.h"

// A reading that fails is a failure at the
// caller's line (its zeros would keep every bound).
ProcessMemory MemoryOf(HANDLE process, const char* file = __builtin_FILE(), int line = __builtin_LINE());

// GDI objects this process holds. Wine answers GetGuiResources with 0, so
// there the handle table is walked instead: a handle without its upper
// (reuse) bits still names its slot. The figure includes the stock objects;
// compare two readings, never a reading with a constant.
long LiveGdiObjects();

// Memory growth allowed between two readings of a long run taken a
// thousand or more messages apart, in the median: a leak of a few bytes a
// message exceeds it. And over the whole run, one-time steps included.
const double kMemoryStepBound = 16 * 1024;
const double kMemoryTotalBound = 4 * 1024 * 1024;

// Readings taken at regular points of a long run. A leak grows between
// nearly every two readings; a one-time step (a cache filled at its first
// use, or something another program set off) shows between two of them
// only. The median growth between successive readings tells them apart.
class GrowthTrend {
public:
    void Add(double reading) { readings_.push_back(reading); }
    double MedianStep() const;
    double Total() const { return readings_.size() < 2 ? 0.0 : readings_.back() - readings_.front(); }
    size_t Readings() const { return readings_.size(); }

private:
    std::vector<double> readings_;
};

// Top-level windows of a class, hidden ones included.
std::vector<HWND> WindowsOfClass(const char* className);

#endif
