#include "settings/setting_rules.h"

#include <stdio.h>
#include <string.h>

const char* AlertSettingText(LONG alertEnabled)
{
    return alertEnabled == 1 ? "1" : "0";
}

const char* NotificationSettingText(LONG notificationMode)
{
    switch (notificationMode) {
    case 1:
        return "1";
    case 2:
        return "2";
    default:
        return "0";
    }
}

// A user who closes a monitor that only shows itself while printing wants
// it back minimised; otherwise the window's own state is kept.
const char* IsIconOnExit(LONG closedByRequest, LONG notificationMode, bool minimised)
{
    if (!closedByRequest && notificationMode == 0)
        return "1";
    return minimised ? "1" : "0";
}

bool JoinDirectory(char* target, size_t size, const char* directory, const char* value)
{
    int joined = snprintf(target, size, "%s%s", directory, value);
    if (joined >= 0 && static_cast<size_t>(joined) < size)
        return true;
    target[0] = '\0';
    return false;
}

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Whether directory + the first `length` characters of `command` names a
// program; a candidate too long for a path names none.
static bool NamesProgram(const char* directory, const char* command, size_t length, ProgramCheck exists)
{
    char candidate[kPathSize];
    int joined = snprintf(candidate, sizeof candidate, "%s%.*s", directory, static_cast<int>(length), command);
    return joined > 0 && static_cast<size_t>(joined) < sizeof candidate && exists(candidate);
}

// Length of the program at the start of an unquoted command. The system
// would try each cut before a blank, shortest first, and run the first
// that exists: a file planted there would run instead. The longest one
// that exists is the program the command was written for.
static size_t UnquotedProgramLength(const char* directory, const char* command, ProgramCheck exists)
{
    size_t length = strlen(command);
    size_t cuts = 0;
    size_t lastCut = 0;
    size_t program = 0;
    for (size_t end = 1; end <= length; ++end) {
        bool wordEnds = end == length ? !IsBlank(command[end - 1])
                                      : IsBlank(command[end]) && !IsBlank(command[end - 1]);
        if (!wordEnds)
            continue;
        ++cuts;
        lastCut = end;
        if (NamesProgram(directory, command, end, exists))
            program = end;
    }
    // A single word can only be read one way.
    return cuts == 1 ? lastCut : program;
}

bool QuotedCommandLine(char* out, size_t size, const char* directory, const char* command, ProgramCheck exists)
{
    out[0] = '\0';
    const char* program = command;
    size_t programLength = 0;
    const char* arguments = nullptr;
    bool quoted = command[0] == '"';
    if (quoted) {
        program = command + 1;
        const char* closing = strchr(program, '"');
        programLength = closing ? static_cast<size_t>(closing - program) : strlen(program);
        arguments = closing ? closing + 1 : program + programLength;
    } else {
        programLength = UnquotedProgramLength(directory, command, exists);
        arguments = command + programLength;
    }
    if (programLength == 0)
        return false;

    char path[kPathSize];
    int joined = snprintf(path, sizeof path, "%s%.*s", directory, static_cast<int>(programLength), program);
    if (joined < 0 || static_cast<size_t>(joined) >= sizeof path)
        return false;
    // A program quoted as written stays quoted.
    bool needsQuotes = quoted || strpbrk(path, " \t") != nullptr;
    int written = snprintf(out, size, needsQuotes ? "\"%s\"%s" : "%s%s", path, arguments);
    if (written < 0 || static_cast<size_t>(written) >= size) {
        out[0] = '\0';
        return false;
    }
    return true;
}

static bool IsAbsolutePath(const char* path)
{
    if (path[0] == '"')
        ++path;
    bool drive = path[0] != '\0' && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    bool network = path[0] == '\\' && path[1] == '\\';
    return drive || network;
}

bool QueueCommandLine(char* out, size_t size, const char* queueCommand, const char* exeDirectory,
                      ProgramCheck exists)
{
    size_t directoryLength = strlen(exeDirectory);
    if (strncmp(queueCommand, exeDirectory, directoryLength) == 0)
        return QuotedCommandLine(out, size, exeDirectory, queueCommand + directoryLength, exists);
    return QuotedCommandLine(out, size, IsAbsolutePath(queueCommand) ? "" : exeDirectory, queueCommand, exists);
}
