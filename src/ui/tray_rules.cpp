#include "ui/tray_rules.h"

#include <shellapi.h>

#include <stdio.h>
#include <string.h>

static const char kTooltipSeparator[] = " - ";
static const size_t kFirstTooltipSize = 64;
static const size_t kTooltipSize = 128;

// Orders versions as the shell's numbers compare.
static bool AtLeast(const ShellVersion& shell, DWORD major, DWORD minor, DWORD build)
{
    if (shell.major != major)
        return shell.major > major;
    if (shell.minor != minor)
        return shell.minor > minor;
    return shell.build >= build;
}

DWORD NotifyIconDataSize(const ShellVersion& shell)
{
    if (AtLeast(shell, 6, 0, 6000))
        return sizeof(NOTIFYICONDATAA);
    if (AtLeast(shell, 6, 0, 0))
        return NOTIFYICONDATAA_V3_SIZE;
    if (AtLeast(shell, 5, 0, 0))
        return NOTIFYICONDATAA_V2_SIZE;
    return NOTIFYICONDATAA_V1_SIZE;
}

bool ShellShowsBalloons(const ShellVersion& shell)
{
    return AtLeast(shell, 5, 0, 0);
}

size_t TooltipSize(const ShellVersion& shell)
{
    return ShellShowsBalloons(shell) ? kTooltipSize : kFirstTooltipSize;
}

// The status texts break their lines with line feeds as well as blanks.
static bool IsBlank(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

size_t WordsThatFit(const char* text, size_t room)
{
    size_t length = strlen(text);
    if (length <= room)
        return length;
    // text[room] is the first character left out: a blank there ends a word.
    size_t cut = room;
    while (cut > 0 && !IsBlank(text[cut]))
        --cut;
    while (cut > 0 && IsBlank(text[cut - 1]))
        --cut;
    return cut > 0 ? cut : room;
}

void JoinTooltip(char* out, size_t size, const char* title, const char* status)
{
    if (size == 0)
        return;
    size_t room = size - 1;
    size_t prefix = strlen(title) + strlen(kTooltipSeparator);
    size_t kept = prefix < room ? WordsThatFit(status, room - prefix) : 0;
    if (kept == 0) {
        snprintf(out, size, "%.*s", static_cast<int>(WordsThatFit(title, room)), title);
        return;
    }
    snprintf(out, size, "%s%s%.*s", title, kTooltipSeparator, static_cast<int>(kept), status);
}

bool BalloonDue(DeviceState before, DeviceState after, bool textChanged, const char* text,
                bool outOfSight, const ShellVersion& shell)
{
    if (!ShellShowsBalloons(shell) || !outOfSight || text[0] == '\0')
        return false;
    if (after != Error && after != Warning)
        return false;
    return textChanged || before != after;
}

DWORD BalloonIconFlags(DeviceState state, const ShellVersion& shell)
{
    DWORD icon = state == Error ? NIIF_ERROR : NIIF_WARNING;
    return AtLeast(shell, 6, 0, 0) ? icon | NIIF_NOSOUND : icon;
}
