// The processes of one executable name, whoever started them.
#ifndef LUMEVIEW_TEST_PROCESS_LIST_H
#define LUMEVIEW_TEST_PROCESS_LIST_H

#include <cstddef>
#include <string>

// How many processes of the executable named `exeName` run; a failure at
// the caller's line when they cannot be listed.
size_t RunningProcesses(const std::string& exeName, const char* file = __builtin_FILE(), int line = __builtin_LINE());

// Ends every process of the executable, waiting a bounded time for each.
void EndProcessesOf(const std::string& exeName);

#endif
