// Pure parts of the settings: the texts the monitor writes, the IsIcon
// rule at exit, the joining of a folder and a file name, and the command
// lines built from settings.
#ifndef LUMEVIEW_SETTING_RULES_H
#define LUMEVIEW_SETTING_RULES_H

#include <windows.h>

#include "state/setting_names.h"

// Text of the setting "1"/"0"/"2" that the monitor writes for a value.
const char* AlertSettingText(LONG alertEnabled);
const char* NotificationSettingText(LONG notificationMode);

// "1" or "0": whether the window should come back minimised after exit.
const char* IsIconOnExit(LONG closedByRequest, LONG notificationMode, bool minimised);

// directory + value; false, with `target` empty, when that does not fit
// `size` bytes: a cut path names another file.
bool JoinDirectory(char* target, size_t size, const char* directory, const char* value);

// Whether `path` names a program that a command line could start.
typedef bool (*ProgramCheck)(const char* path);

// The command line that starts `command`, a program and its arguments,
// with the program taken from `directory` ("" for a command as written).
// A program that holds a blank is put in quotes, so that no shorter path
// is tried before it; the arguments follow as written. Unquoted, the
// program is the longest part before a blank that `exists` accepts, or the
// whole command when it holds no blank between words. False, with `out`
// empty, when there is no program or the line does not fit `size` bytes.
bool QuotedCommandLine(char* out, size_t size, const char* directory, const char* command, ProgramCheck exists);

// The command line that runs the print-queue command `queueCommand`, read
// when it runs, so that a viewer installed after the settings were loaded
// is found. A command built under `exeDirectory` is decided within it; one
// read as stored names its program by a full path, or by one relative to
// `exeDirectory`, never to the current folder.
bool QueueCommandLine(char* out, size_t size, const char* queueCommand, const char* exeDirectory,
                      ProgramCheck exists);

#endif
