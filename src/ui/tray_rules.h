// Pure parts of the notification-area icon: what the shell in place
// accepts, the tooltip cut to fit, and when a balloon is due.
#ifndef LUMEVIEW_TRAY_RULES_H
#define LUMEVIEW_TRAY_RULES_H

#include <windows.h>

#include <stddef.h>

#include "lumeview/protocol.h"

// The version of shell32.dll as its DllGetVersion reports it; 4.0 for the
// first shells, which have no DllGetVersion.
struct ShellVersion {
    DWORD major;
    DWORD minor;
    DWORD build;
};

// The size of NOTIFYICONDATAA that this shell knows: the first layout
// before 5.0, with balloons from 5.0, with the item's GUID from 6.0, the
// whole record from 6.0.6 (Windows Vista).
DWORD NotifyIconDataSize(const ShellVersion& shell);

bool ShellShowsBalloons(const ShellVersion& shell);

// Bytes of the tooltip buffer the shell reads, its NUL included: 64 before
// 5.0, 128 from it.
size_t TooltipSize(const ShellVersion& shell);

// How many characters of `text` fit in `room` without splitting a word:
// all when they fit, else up to the last blank or line break within the
// room, trailing ones dropped; `room` itself when the first word is longer than it.
size_t WordsThatFit(const char* text, size_t room);

// `title`, " - " and `status` in `out` of `size` bytes, the status cut
// between words when the whole does not fit; the title alone when the
// status is empty or no word of it fits.
void JoinTooltip(char* out, size_t size, const char* title, const char* status);

// Whether a report that took the state from `before` to `after` raises a
// balloon: an error or a warning, new in its state or in its text, while
// the window is out of sight, on a shell that shows balloons. A report that
// changed nothing raises none, so an error gives one balloon while its text
// stays; an empty text raises none, the shell would take it as taking the
// balloon down.
bool BalloonDue(DeviceState before, DeviceState after, bool textChanged, const char* text,
                bool outOfSight, const ShellVersion& shell);

// The balloon's icon for the state, silent where the shell would sound it
// (from 6.0).
DWORD BalloonIconFlags(DeviceState state, const ShellVersion& shell);

#endif
