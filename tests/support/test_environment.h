// Where a test runs: the environment CTest gives it and a folder of its own.
#ifndef LUMEVIEW_TEST_TEST_ENVIRONMENT_H
#define LUMEVIEW_TEST_TEST_ENVIRONMENT_H

#include <string>

// Environment given to the tests by CTest (Windows paths); one not set is a
// failure at the caller's line.
std::string TestEnvironment(const char* name, const char* file = __builtin_FILE(), int line = __builtin_LINE());

// The running test's name, lower case and short enough for a file name.
std::string CurrentTestName();

// A fresh, empty folder for the running test (Windows path, trailing '\').
std::string TestWorkDir();

#endif
