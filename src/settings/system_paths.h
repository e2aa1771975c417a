// Full paths of the programs and libraries the system keeps: named bare,
// they would be searched in the current folder and the monitor's own too.
#ifndef LUMEVIEW_SYSTEM_PATHS_H
#define LUMEVIEW_SYSTEM_PATHS_H

#include <stddef.h>

// `name` in the system folder; false when the path does not fit `size`.
bool SystemLibraryPath(const char* name, char* path, size_t size);

// The line that runs the system program `name` with `arguments` after a
// blank, from the first of the Windows folder and the system folder that
// holds it: Windows 3.1 keeps its programs in the first, later systems
// some in the second. False when neither holds it or the line does not fit
// `size`: cut, it would run with other arguments.
bool SystemProgramCommand(const char* name, const char* arguments, char* command, size_t size);

#endif
