// Pure start-up decisions: names from the executable's path, the command
// line rule, and where the window goes on the desktop.
#ifndef LUMEVIEW_LAUNCH_RULES_H
#define LUMEVIEW_LAUNCH_RULES_H

#include <windows.h>

#include "state/setting_names.h"

const int kClassNameSize = 256;

struct ExecutableNames {
    char className[kClassNameSize];   // file name up to its first '.', upper-cased
    char exeDirectory[kPathSize];     // with its trailing '\'
    char settingsPath[kPathSize];     // directory, name up to its first '.', ".INI"
};

// The module path buffer: one byte more than a path may take, so that a
// longer path gives a length of kPathSize or more, whether the system
// reports a cut with or without room for the NUL.
const size_t kModulePathSize = kPathSize + 1;

// Whether GetModuleFileNameA's result is a whole path that fits the
// program's 260-byte paths: 0 is a failure, kPathSize or more a cut.
bool ModulePathFits(DWORD length);

// Derives the names from the module path. An empty path leaves the
// directory and settings path empty and gives the fallback class name.
void DeriveExecutableNames(const char* modulePath, ExecutableNames* names);

struct CommandLine {
    bool printerNameMode;  // began with "/P"
    const char* rest;      // what follows "/P" and at most one blank
};

// What follows the program's name in the process's full command line: a
// quoted name ends after its closing quote, an unquoted one at the first
// byte at or below the blank (bytes compared unsigned, so accented letters
// belong to the name); the blanks and control characters after it are
// skipped.
const char* ArgumentsAfterProgramName(const char* fullCommandLine);

CommandLine ParseCommandLine(const char* commandLine);

// Whether the monitor runs at all for this rest of the command line.
bool LaunchAllowed(const char* rest, LONG notificationMode);

// Whether IsIcon is consulted: only for a non-empty rest.
bool RestAsksForIsIcon(const char* rest);

// Top-left corner that centres a window on the desktop, truncating
// toward zero like the integer division it is.
POINT CentredOrigin(const RECT& desktop, LONG width, LONG height);

// Outer size of the main window that wraps the panel: the left frame and
// the caption are added; right and bottom edges coincide with the panel's.
SIZE FittedSize(const RECT& mainWindow, const RECT& panel);

#endif
